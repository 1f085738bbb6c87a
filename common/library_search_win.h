#pragma once
// Where libraries loaded on demand may come from. The program runs with
// administrator rights from folders a normal user can write to (the current
// directory, the temporary directory), so no library is ever taken from there.
#include <windows.h>

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

// `wanted` (LOAD_LIBRARY_SEARCH_* flags) where the system knows those flags,
// else 0: an old system refuses a load that names them.
DWORD LibrarySearchFlags(DWORD wanted);

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
