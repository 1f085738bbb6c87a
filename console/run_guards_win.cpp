#include "console/run_guards_win.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "common/names.h"
#include "common/win_text.h"

namespace somv {
namespace {

std::atomic<bool> g_stopRequested{false};

BOOL WINAPI OnConsoleInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  g_stopRequested = true;
  return TRUE;
}

enum class MutexState { Ours, TakenByOthers, Unavailable };

// A mutex created by an elevated tool may exist but be closed to us: denied.
MutexState CreateOwnMutex(const std::u16string& name, UniqueKernelHandle& handle) {
  const HANDLE created = ::CreateMutexW(nullptr, FALSE, WidePtr(name));
  const DWORD error = ::GetLastError();
  handle.Reset(created);
  if (handle && error != ERROR_ALREADY_EXISTS) return MutexState::Ours;
  handle.Reset();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) return MutexState::TakenByOthers;
  return MutexState::Unavailable;
}

}  // namespace

ToolMutexes::ToolMutexes() {
  if (CreateOwnMutex(kMutexName, m_local) != MutexState::Ours) return;
  // Where the global namespace refuses us, the run goes on as it did without.
  m_held = CreateOwnMutex(u"Global\\" + std::u16string(kMutexName), m_global) != MutexState::TakenByOthers;
}

void DeferConsoleInterrupts() { ::SetConsoleCtrlHandler(OnConsoleInterrupt, TRUE); }

bool StopRequested() { return g_stopRequested; }

}  // namespace somv
