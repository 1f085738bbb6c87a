#pragma once
// Where libraries loaded on demand may come from. The program runs with
// administrator rights from folders a normal user can write to (the current
// directory, the temporary directory), so no library is ever taken from there.
#include <windows.h>

#include <string>

namespace somv {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);

// From now on libraries loaded by name come from the system folder only.
// Systems without SetDefaultDllDirectories (Vista to 8 without the library
// loading update) at least drop the current directory from the search.
// `setDefaultDllDirectories` may be null. True when only the system folder
// is searched.
bool RestrictLibrarySearch(SetDefaultDllDirectoriesFunction setDefaultDllDirectories,
                           SetDllDirectoryFunction setDllDirectory);

// The program's first act: the above with the system's own functions, and no
// critical-error box for a file check on an empty removable drive.
void HardenLibraryLoading();

// The library at the full path `path`, its own dependencies searched as
// `searchFlags` (LOAD_LIBRARY_SEARCH_* flags) say. An old system refuses a
// load that names those flags (`searchFlagsKnown` false); there the library's
// folder takes the place of the program's at the head of the search
// (LOAD_WITH_ALTERED_SEARCH_PATH), since the program's folder may be the
// temporary directory. Null when it cannot be loaded.
HMODULE LoadLibraryByFullPath(const std::wstring& path, DWORD searchFlags, bool searchFlagsKnown);
// The same, with what this system knows.
HMODULE LoadLibraryByFullPath(const std::wstring& path, DWORD searchFlags);

// A system library by name, taken from the system folder by its full path;
// null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The entry point `name` of `module` as a function of type Fn; null when the
// module is null or lacks it.
template <typename Fn>
Fn BoundExport(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Through a generic function type, which is how GCC accepts the cast.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace somv
