#include "app/wow64_win.h"

namespace somv {

BOOL IsWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32");
  // Looked up, not linked: older systems lack the entry point.
  const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")));
  if (isWow64Process == nullptr) return FALSE;
  BOOL wow64 = FALSE;
  isWow64Process(::GetCurrentProcess(), &wow64);
  return wow64;
}

}  // namespace somv
