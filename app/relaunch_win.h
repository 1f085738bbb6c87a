#pragma once
// A normal start hands over to a copy of the program in the temporary
// directory, with the settings file and the resource library beside it.
#include <windows.h>

#include "framework/unique_handle.h"

namespace somv {

// Starts a process as CreateProcessW does; a test passes its own to see or
// refuse the start.
using StartProcessFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                           LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                           LPSTARTUPINFOW, LPPROCESS_INFORMATION);

// Copies the program, the settings file and the resource library into the
// temporary directory, registers the copies for deletion at restart and
// starts the copied program. Any user's process may write there, so each copy
// is written and then held open against writing, renaming and deleting, and
// compared with what was written, until the copy holds its own files or a
// few seconds have passed. True when the copy has taken over and this
// process must end; `mutex` (the single-instance mutex) is then released,
// closed and null. False when the dialog is to run in place; `mutex` is then
// held, taken afresh if the copy could not be started after it was released.
bool RelaunchFromTempCopy(HANDLE& mutex, StartProcessFunction startProcess = ::CreateProcessW);

// The temporary copy's settings file and resource library, open for reading
// and shared for reading only: while these are held no other process can
// rewrite, rename or delete them, and the copy's own readers still can read.
struct HeldCompanionFiles {
  UniqueKernelHandle settings;
  UniqueKernelHandle library;
};

// Empty handles for files that cannot be held; start-up then goes on and
// finds them as it would have.
HeldCompanionFiles HoldCompanionFiles();

}  // namespace somv
