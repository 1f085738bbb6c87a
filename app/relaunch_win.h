#pragma once
// A normal start hands over to a copy of the program in the temporary
// directory, with the settings file and the resource library beside it.
#include <windows.h>

namespace somv {

// Starts a process as CreateProcessW does; a test passes its own to see or
// refuse the start.
using StartProcessFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                           LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                           LPSTARTUPINFOW, LPPROCESS_INFORMATION);

// Copies the program, the settings file and the resource library into the
// temporary directory, registers the copies for deletion at restart and
// starts the copied program. True when the copy has taken over and this
// process must end; `mutex` (the single-instance mutex) is then released,
// closed and null. False when the dialog is to run in place; `mutex` is then
// held, taken afresh if the copy could not be started after it was released.
bool RelaunchFromTempCopy(HANDLE& mutex, StartProcessFunction startProcess = ::CreateProcessW);

}  // namespace somv
