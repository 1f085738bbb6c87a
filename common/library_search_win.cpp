#include "common/library_search_win.h"

#include <string>

namespace somv {
namespace {

// Looked up, not linked: a load-time import of it would keep the program
// from starting on a system without the library loading update.
SetDefaultDllDirectoriesFunction SystemSetDefaultDllDirectories() {
  return BoundExport<SetDefaultDllDirectoriesFunction>(::GetModuleHandleW(L"kernel32"), "SetDefaultDllDirectories");
}

}  // namespace

bool RestrictLibrarySearch(SetDefaultDllDirectoriesFunction setDefaultDllDirectories,
                           SetDllDirectoryFunction setDllDirectory) {
  if (setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  setDllDirectory(L"");
  return false;
}

void HardenLibraryLoading() {
  RestrictLibrarySearch(SystemSetDefaultDllDirectories(), ::SetDllDirectoryW);
  ::SetErrorMode(SEM_FAILCRITICALERRORS);
}

HMODULE LoadLibraryByFullPath(const std::wstring& path, DWORD searchFlags, bool searchFlagsKnown) {
  return ::LoadLibraryExW(path.c_str(), nullptr, searchFlagsKnown ? searchFlags : LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryByFullPath(const std::wstring& path, DWORD searchFlags) {
  // The update that brings the flags brings this function with them.
  static const bool known = SystemSetDefaultDllDirectories() != nullptr;
  return LoadLibraryByFullPath(path, searchFlags, known);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(directory, length);
  if (path.back() != L'\\') path += L'\\';
  path += name;
  return LoadLibraryByFullPath(path, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace somv
