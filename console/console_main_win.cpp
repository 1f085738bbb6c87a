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
#include "console/console_run.h"
#include "console/console_run_win.h"
#include "console/run_guards_win.h"
#include "console/run_progress.h"

namespace somv {
namespace {

// With --timeout the printers are reached from a thread of their own, so
// that the answer is written on time even while a call into the status
// library never returns; the process then ends without waiting for it.
int AnswerWithinTheTimeLimit(ConsoleStart& start, const ConsoleEntryPoints& entry,
                             std::chrono::steady_clock::time_point started) {
  RunProgress progress;
  const ConsoleResult base = start.result;
  std::thread printers([&] {
    RunPrinterCommand(*start.invocation, entry, start.result, progress);
    progress.Finish();
  });
  const auto deadline = started + std::chrono::seconds(start.invocation->timeoutSeconds);
  if (!progress.WaitUntilFinished(deadline)) {
    if (const std::optional<ConsoleResult> cut = progress.CutOff(base)) {
      const int status = Answer(start.form, *cut, entry);
      ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(status));
    }
  }
  printers.join();
  return Answer(start.form, start.result, entry);
}

int Run(const std::vector<std::u16string>& arguments) {
  const auto started = std::chrono::steady_clock::now();
  const ConsoleEntryPoints entry = SystemEntryPoints(started);
  ConsoleStart start = StartConsoleRun(arguments, entry);
  if (start.ReachesPrinters() && start.invocation->timeoutSeconds != 0) {
    return AnswerWithinTheTimeLimit(start, entry, started);
  }
  return FinishConsoleRun(start, entry);
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
