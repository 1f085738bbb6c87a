#pragma once
// What the console program was asked to do, read from its arguments.
#include <optional>
#include <string>
#include <vector>

#include "timer/timer_rules.h"

namespace somv {

enum class ConsoleCommand { Help, Version, List, Get, Test, Set, RegisterEventSource, Diagnose };

// --json: one line answering the run; list --json=array: the older array form.
enum class AnswerForm { Text, Json, PrinterArray };

struct ConsoleInvocation {
  ConsoleCommand command = ConsoleCommand::Help;
  std::u16string printerName;          // get, test and set without --all
  bool allPrinters = false;            // --all: every supported printer
  TimerSetting setting;                // test and set
  AnswerForm form = AnswerForm::Text;
  bool check = false;                  // set --check: decide, never write
  std::u16string reason;               // set --reason, for the event log
  std::optional<std::u16string> settingsPath;
  int waitSeconds = 0;     // --wait: how long to try again while the tool or another run holds the printers
  int timeoutSeconds = 0;  // --timeout: when the run ends whatever it is waiting on; 0 for never
};

struct ArgumentReading {
  std::optional<ConsoleInvocation> invocation;
  std::u16string error;  // one line, set exactly when there is no invocation
  bool json = false;     // --json was given, also when the reading failed
};

// `arguments` without the program name. Command words and off/on ignore
// ASCII case; printer names are taken exactly. "--" ends the options, for a
// printer whose name starts with a dash.
ArgumentReading ReadConsoleArguments(const std::vector<std::u16string>& arguments);

// "list", "set", "diagnose", ..., "help", "version": the command as the answer names it.
const char16_t* CommandWord(ConsoleCommand command);

// How many timer choices a setting may name, from 1.
int TimerChoiceCount();

// list, get, test and set: the commands that talk to printers.
bool ReachesPrinters(ConsoleCommand command);

}  // namespace somv
