#pragma once
// The window a second start brings forward instead of starting again.
#include <windows.h>

namespace somv {

// The main window of an instance that already runs: a process other than
// this one whose program file has this program's name or the build's own
// program name (which the temporary copy always has). Null when there is none.
HWND FindRunningInstanceWindow();

}  // namespace somv
