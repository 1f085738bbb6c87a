#pragma once
// The two spooler calls the tool makes, bound at run time from the system
// folder: WINSPOOL.DRV is not one of the system's known libraries, so a load-
// time import of it would take a file of that name from the program's folder.
#include <windows.h>

namespace somv {

// As EnumPrintersW and GetPrinterDriverDirectoryW; when the spooler library
// cannot be bound they fail with ERROR_PROC_NOT_FOUND and report 0 bytes.
BOOL WINAPI SpoolerEnumPrintersW(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size,
                                 LPDWORD needed, LPDWORD returned);
BOOL SpoolerGetPrinterDriverDirectoryW(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE buffer,
                                       DWORD size, LPDWORD needed);

}  // namespace somv
