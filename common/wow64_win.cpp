#include "common/wow64_win.h"

#include "common/library_search_win.h"

namespace somv {

BOOL IsWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  // Looked up, not linked: older systems lack the entry point.
  const auto isWow64Process =
      BoundExport<IsWow64ProcessFunction>(::GetModuleHandleW(L"kernel32"), "IsWow64Process");
  if (isWow64Process == nullptr) return FALSE;
  BOOL wow64 = FALSE;
  isWow64Process(::GetCurrentProcess(), &wow64);
  return wow64;
}

}  // namespace somv
