// The console companion: the tool's discovery, settings, status library,
// firmware gate and timer codes, driven from a command line instead of the
// dialogs, for scripts and management agents.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
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
#include "console/diagnosis_win.h"
#include "console/event_log_win.h"
#include "console/run_guards_win.h"
#include "console/run_progress.h"

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

// The tool's mutexes, trying again until `waitUntil` while the tool or
// another run holds them.
ToolMutexes WaitForToolMutexes(std::chrono::steady_clock::time_point waitUntil) {
  for (;;) {
    ToolMutexes mutexes = TakeToolMutexes();
    if (mutexes.Held() || std::chrono::steady_clock::now() >= waitUntil || StopRequested()) return mutexes;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
}

// The printers, as long as the tool's mutexes are held.
void RunPrinterCommand(const ConsoleInvocation& invocation, ConsoleResult& result, RunProgress& progress,
                       std::chrono::steady_clock::time_point started) {
  const ToolMutexes mutexes = WaitForToolMutexes(started + std::chrono::seconds(invocation.waitSeconds));
  if (!mutexes.Held()) {
    result.error = StopRequested() ? RunError::Stopped : RunError::ToolRunning;
    return;
  }
  PrinterRunHooks hooks;
  hooks.stopRequested = [] { return StopRequested(); };
  hooks.stepTaken = [&](const PrinterRecord& record) { progress.StepTaken(record); };
  hooks.printerDone = [&](const PrinterRecord& record) {
    RecordEvent(invocation, result, record);
    progress.PrinterDone(record);
  };
  RunPrinters(invocation, result, hooks);
}

// With --timeout the printers are reached from a thread of their own, so
// that the answer is written on time even while a call into the status
// library never returns; the process then ends without waiting for it.
int AnswerWithinTheTimeLimit(const ConsoleInvocation& invocation, ConsoleResult& result,
                             std::chrono::steady_clock::time_point started) {
  RunProgress progress;
  if (invocation.timeoutSeconds == 0) {
    RunPrinterCommand(invocation, result, progress, started);
    return Answer(invocation.json, invocation.jsonArray, result);
  }
  const ConsoleResult base = result;
  std::thread printers([&] {
    RunPrinterCommand(invocation, result, progress, started);
    progress.Finish();
  });
  const auto deadline = started + std::chrono::seconds(invocation.timeoutSeconds);
  if (!progress.WaitUntilFinished(deadline)) {
    if (const std::optional<ConsoleResult> cut = progress.CutOff(base)) {
      const int status = Answer(invocation.json, invocation.jsonArray, *cut);
      ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(status));
    }
  }
  printers.join();
  return Answer(invocation.json, invocation.jsonArray, result);
}

int Run(const std::vector<std::u16string>& arguments) {
  const auto started = std::chrono::steady_clock::now();
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
  result.timeoutSeconds = invocation.timeoutSeconds;
  if (invocation.command == ConsoleCommand::RegisterEventSource) {
    result.errorSubject = RegisterTheEventSource();
    if (!result.errorSubject.empty()) result.error = RunError::RegistrationFailed;
  }
  if (invocation.command == ConsoleCommand::Diagnose) {
    result.diagnosis = DiagnoseThisMachine(SettingsPathOf(invocation));
    if (result.diagnosis->settings.path.empty()) result.diagnosis->settings.path = invocation.settingsPath.value_or(u"");
    result.error = ErrorOfDiagnosis(*result.diagnosis);
  }
  if (result.ReachesPrinters()) return AnswerWithinTheTimeLimit(invocation, result, started);
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
