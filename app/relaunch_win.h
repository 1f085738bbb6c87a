#pragma once
// A normal start hands over to a copy of the program in the temporary
// directory, with the settings file and the resource library beside it.
#include <windows.h>

#include "common/unique_handle_win.h"

namespace somv {

// Starts a process as CreateProcessW does; a test passes its own to see or
// refuse the start.
using StartProcessFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                           LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                           LPSTARTUPINFOW, LPPROCESS_INFORMATION);

// Registers a deletion at restart as MoveFileExW does; a test passes its own
// to refuse it.
using RegisterDeletionFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);

// Called with each copy's path between the closing of its writer and the
// taking of its hold, the moment another process could rewrite it unseen; a
// test passes its own to do just that.
using CopyWrittenFunction = void (*)(LPCWSTR);

// The running program's file, open for reading and shared for reading only,
// so that from now on nobody can write, rename or replace it; empty when it
// cannot be opened. Taken first thing in start-up: the copy is made from it.
UniqueKernelHandle HoldProgramFile();

// Copies the program (from `programFile`, HoldProgramFile's handle, and only
// when it holds the very program that runs), the settings file and the
// resource library into the temporary directory, registers the copies for
// deletion at restart (unless the system already has them) and starts the
// copied program. The temporary directory is taken only when it is the
// user's own: on a local fixed drive, below the profile folder the system
// names for this user, and reached through no link or junction; TMP and TEMP
// are the user's to set. Any user's process may write there and plant links,
// so whatever is found under a copy's name is removed as a name, each copy is
// created anew, checked to be the one file of that path, held open against
// writing, renaming and deleting, and compared with what was written, until
// the copy says it holds its own files or has ended. The copy inherits only
// the hand-over event where the system can name it. True when this process
// must end: the copy has taken over, or it could not be started and another
// start took the single-instance mutex meanwhile; `mutex` is then released,
// closed and null. False when the dialog is to run in place; `mutex` is then
// held, taken afresh if the copy could not be started after it was released.
bool RelaunchFromTempCopy(HANDLE& mutex, HANDLE programFile, StartProcessFunction startProcess = ::CreateProcessW,
                          RegisterDeletionFunction registerDeletion = ::MoveFileExW,
                          CopyWrittenFunction copyWritten = nullptr);

// The temporary copy's settings file and resource library, open for reading
// and shared for reading only: while these are held no other process can
// rewrite, rename or delete them, and the copy's own readers still can read.
struct HeldCompanionFiles {
  UniqueKernelHandle settings;
  UniqueKernelHandle library;
};

// Empty handles for files that cannot be held; start-up then goes on and
// finds them as it would have. Either way the program as started, which held
// them until now, is told that it may end.
HeldCompanionFiles HoldCompanionFiles();

}  // namespace somv
