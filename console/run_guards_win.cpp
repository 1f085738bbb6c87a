#include "console/run_guards_win.h"

#include <windows.h>

#include <atomic>

namespace somv {
namespace {

std::atomic<bool> g_stopRequested{false};

BOOL WINAPI OnConsoleInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  g_stopRequested = true;
  // Returning from a close ends the process at once: this thread waits
  // instead, until the run has answered and ended the process itself.
  if (event == CTRL_CLOSE_EVENT) ::Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void DeferConsoleInterrupts() { ::SetConsoleCtrlHandler(OnConsoleInterrupt, TRUE); }

bool StopRequested() { return g_stopRequested; }

}  // namespace somv
