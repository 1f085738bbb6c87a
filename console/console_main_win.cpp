// The console companion: the tool's discovery, settings, status library,
// firmware gate and timer codes, driven from a command line instead of the
// dialogs, for scripts and management agents.
#include <windows.h>

#include <string>
#include <vector>

#include "common/library_search_win.h"
#include "common/win_text.h"
#include "console/console_args.h"
#include "console/console_identity.h"
#include "console/console_json.h"
#include "console/console_output_win.h"
#include "console/console_result.h"
#include "console/console_run_win.h"
#include "console/console_text.h"
#include "console/event_log_win.h"
#include "console/run_guards_win.h"

namespace somv {
namespace {

// The audit trail: each printer set changed, or failed to change.
void RecordEvent(const ConsoleInvocation& invocation, const ConsoleResult& result, const PrinterRecord& record) {
  if (invocation.command != ConsoleCommand::Set || invocation.check || !record.codeRead || !record.codeMeant) {
    return;
  }
  const TimerWriteEvent event{record.printerName, *record.codeRead, *record.codeMeant, invocation.reason};
  if (record.written) {
    RecordTimerChanged(event);
  } else if (record.error == PrinterError::WriteFailed) {
    RecordTimerWriteFailed(event, PrinterMessage(record, result));
  }
}

// Writes the answer: the JSON line when asked for, else the text; then the
// exit status, 9 when standard output refused the answer.
int Answer(bool json, bool jsonArray, const ConsoleResult& result) {
  std::u16string out;
  if (json) {
    out = FormatAnswerJson(result, std::u16string(kConsoleName) + u".EXE", kConsoleVersion) + u"\r\n";
  } else if (jsonArray && result.ReachedPrinters()) {
    out = FormatPrinterArrayJson(result);
  } else {
    out = FormatText(result);
  }
  WriteStandardError(FormatErrorLines(result));
  if (out.empty() || WriteStandardOutput(out)) return result.ExitStatus();
  ConsoleResult refused;
  refused.error = RunError::OutputFailed;
  WriteStandardError(FormatErrorLines(refused));
  return refused.ExitStatus();
}

void RunCommand(const ConsoleInvocation& invocation, ConsoleResult& result) {
  switch (invocation.command) {
    case ConsoleCommand::Help:
    case ConsoleCommand::Version: return;
    case ConsoleCommand::RegisterEventSource: {
      result.errorSubject = RegisterTheEventSource();
      if (!result.errorSubject.empty()) result.error = RunError::RegistrationFailed;
      return;
    }
    default: break;
  }
  const ToolMutexes mutexes;
  if (!mutexes.Held()) {
    result.error = RunError::ToolRunning;
    return;
  }
  PrinterRunHooks hooks;
  hooks.stopRequested = [] { return StopRequested(); };
  hooks.printerDone = [&](const PrinterRecord& record) { RecordEvent(invocation, result, record); };
  RunPrinters(invocation, result, hooks);
}

int Run(const std::vector<std::u16string>& arguments) {
  const ArgumentReading reading = ReadConsoleArguments(arguments);
  ConsoleResult result;
  if (!reading.invocation) {
    result.error = RunError::WrongUse;
    result.errorSubject = reading.error;
    return Answer(reading.json, false, result);
  }
  const ConsoleInvocation& invocation = *reading.invocation;
  result.command = invocation.command;
  result.check = invocation.check;
  RunCommand(invocation, result);
  return Answer(invocation.json, invocation.jsonArray, result);
}

}  // namespace
}  // namespace somv

int wmain(int argc, wchar_t** argv) {
  // Management agents run it elevated from folders others may write to.
  somv::HardenLibraryLoading();
  // Unattended: a library that cannot load, or a crash inside one, must end
  // the run with a status, not wait for someone to close a system dialog.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
  somv::DeferConsoleInterrupts();
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(somv::ToU16(argv[i]));
  return somv::Run(arguments);
}
