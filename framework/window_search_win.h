#pragma once
// The tool's main window, found by what makes it the tool's: a top-level
// dialog (class #32770) with the tool's title in a process of the tool. A
// title alone would also find another program's window, such as a folder
// window on a folder of that name.
#include <windows.h>

namespace somv {

using ProcessTest = bool (*)(DWORD processId);

// The first such window in z-order whose process `isOurs` accepts, as a
// search by title finds it; null when there is none.
HWND FindMainWindow(ProcessTest isOurs);

// The main window in this process; null when there is none.
HWND FindOwnMainWindow();

// `mainWindow` restored and its last active pop-up (the timer settings
// dialog, say) brought to the front. The main window is restored first:
// restoring only the pop-up leaves a minimised owner minimised.
void BringForwardRestored(HWND mainWindow);

}  // namespace somv
