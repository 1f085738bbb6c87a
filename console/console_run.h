#pragma once
// The console programs' run: the arguments, the event source, the tool's
// mutexes, the settings file, the listing, the selection, the status
// library, one road per printer, the stop, the audit trail and the answer,
// in that order. Everything it asks of the system goes through one table of
// entry points, which the programs bind to Win32 and tests to their fakes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_args.h"
#include "console/console_result.h"
#include "console/run_progress.h"
#include "device/device_connection.h"
#include "device/printer_session.h"
#include "printers/discovery.h"

namespace somv {

// One line of the audit trail: a printer set changed, or failed to change.
struct TimerWriteEvent {
  std::u16string printer;
  std::uint16_t before = 0;
  std::uint16_t after = 0;  // the code written, or the one that failed
  std::u16string reason;    // --reason, may be empty
  bool written = false;
  std::u16string failure;  // what the printer answered, when the write failed
};

struct ConsoleEntryPoints {
  // The settings file's full path: the one named (relative to the current
  // directory), or beside the program; empty when it does not fit.
  std::function<std::u16string(const std::optional<std::u16string>& named)> settingsPath;
  std::function<bool(const std::u16string& path)> fileExists;
  // Up to `count` bytes from the file's start; fewer when it is shorter or
  // cannot be read.
  std::function<std::string(const std::u16string& path, std::size_t count)> firstBytes;
  std::function<DiscoveryResult(const std::u16string& settingsPath)> findPrinters;
  std::function<MinimumFirmwareReader(const std::u16string& settingsPath)> minimumsOf;
  // Binds all three entry points of the status library, or none.
  std::function<bool(DeviceConnection& connection)> bindStatusLibrary;
  std::function<void(DeviceConnection& connection)> releaseStatusLibrary;
  // diagnose: the installed printers judged against the settings file at
  // `settingsPath` (empty when there is none), its entries and diagnostic
  // mode, and the status library; the run adds what the entries above tell.
  std::function<Diagnosis(const std::u16string& settingsPath)> diagnose;
  std::function<bool()> runsElevated;
  std::function<bool()> underWow64;
  // Calls `whileHeld` holding the tool's mutexes, trying again for
  // `waitSeconds` from the start while the tool or another run holds them;
  // false when they were not taken.
  std::function<bool(int waitSeconds, const std::function<void()>& whileHeld)> withToolMutexes;
  // Empty when the source is registered, else what failed.
  std::function<std::u16string()> registerEventSource;
  std::function<void(const TimerWriteEvent& event)> recordEvent;
  std::function<bool()> stopRequested;
  // False when the stream refused the text.
  std::function<bool(std::u16string_view text)> writeOutput;
  std::function<bool(std::u16string_view text)> writeError;
};

// The run once its arguments are read: what it answers so far and in which
// form; `invocation` is empty after a wrong use.
struct ConsoleStart {
  std::optional<ConsoleInvocation> invocation;
  ConsoleResult result;
  AnswerForm form = AnswerForm::Text;

  bool ReachesPrinters() const { return invocation && result.ReachesPrinters(); }
};

ConsoleStart StartConsoleRun(const std::vector<std::u16string>& arguments, const ConsoleEntryPoints& entry);

// list, get, test and set under the tool's mutexes: fills `result` and tells
// `progress` what the run has learnt and done, for a time limit to cut off.
void RunPrinterCommand(const ConsoleInvocation& invocation, const ConsoleEntryPoints& entry, ConsoleResult& result,
                       RunProgress& progress);

// The set that is recorded: each printer written, or whose write failed.
std::optional<TimerWriteEvent> EventOf(const ConsoleInvocation& invocation, const ConsoleResult& result,
                                       const PrinterRecord& record);

// Writes the answer in `form` and the error lines; the exit status, 9 when
// standard output refused the answer.
int Answer(AnswerForm form, const ConsoleResult& result, const ConsoleEntryPoints& entry);

// The run to its end without a time limit, the printers then the answer;
// the exit status.
int FinishConsoleRun(ConsoleStart& start, const ConsoleEntryPoints& entry);

}  // namespace somv
