#include "console/run_guards_win.h"

#include <windows.h>

#include <atomic>

namespace somv {
namespace {

std::atomic<bool> g_stopRequested{false};

BOOL WINAPI OnConsoleInterrupt(DWORD event) {
  // Any user's logoff reaches an agent's run in session 0: not its business.
  // Handled here, so that the default handler does not end the process.
  if (event == CTRL_LOGOFF_EVENT) return TRUE;
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT &&
      event != CTRL_SHUTDOWN_EVENT) {
    return FALSE;
  }
  g_stopRequested = true;
  // Returning from a close or a shutdown ends the process at once: this
  // thread waits instead, until the run has answered and ended the process
  // itself.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_SHUTDOWN_EVENT) ::Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void DeferConsoleInterrupts() { ::SetConsoleCtrlHandler(OnConsoleInterrupt, TRUE); }

bool StopRequested() { return g_stopRequested; }

}  // namespace somv
