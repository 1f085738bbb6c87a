#pragma once
// list, get, test and set once the run holds the tool's mutexes: the
// settings file, the supported printers, the status library, one road per
// printer.
#include <functional>
#include <string>

#include "console/console_args.h"
#include "console/console_result.h"

namespace somv {

struct PrinterRunHooks {
  std::function<bool()> stopRequested;                   // before each printer and each write
  std::function<void(const PrinterRecord&)> stepTaken;   // the printer in progress
  std::function<void(const PrinterRecord&)> printerDone;  // after each printer, before the next
};

// The settings file the run reads: --settings taken from the current
// directory, else the one beside the program; empty when the path is too
// long.
std::wstring SettingsPathOf(const ConsoleInvocation& invocation);

// A library that refuses may want administrator rights, which this program
// never asks for: the answer then says where they come from.
bool RunsElevated();

// Fills `result`: its printers in list order and the run's error.
void RunPrinters(const ConsoleInvocation& invocation, ConsoleResult& result, const PrinterRunHooks& hooks);

}  // namespace somv
