#pragma once
// The current resource module: where every dialog template, string and icon
// is looked up. It starts as the program itself; start-up points it at the
// resource library and points it back before the library is released.
#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"

namespace somv {

// Maps `path` for its resources only: none of its code runs, not even an
// entry point. Null when the system could map it only as plain data, when it
// is no image or not one for this build's machine (the other build's
// library, say). Released with FreeLibrary.
HMODULE LoadResourceOnlyLibrary(const std::wstring& path);

HINSTANCE GetResourceModule();
// Null means the program itself again.
void SetResourceModule(HINSTANCE module);

// String `id` of the current module. False, with `text` unchanged, when the
// module does not hold it.
bool LoadResString(unsigned id, std::wstring& text);

// Icon `id` of the current module from its image nearest the size asked for
// (system metrics such as SM_CXSMICON); null when absent. Owned: a shared
// icon would keep whichever size was asked for first.
UniqueIcon LoadResIconSized(unsigned id, int width, int height);

bool HasDialogTemplate(unsigned id);

}  // namespace somv
