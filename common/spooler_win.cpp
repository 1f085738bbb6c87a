#include "common/spooler_win.h"

#include "common/library_search_win.h"

namespace somv {
namespace {

using EnumPrintersFunction = BOOL(WINAPI*)(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
using GetPrinterDriverDirectoryFunction = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD);

struct Spooler {
  EnumPrintersFunction enumPrinters = nullptr;
  GetPrinterDriverDirectoryFunction getPrinterDriverDirectory = nullptr;
};

// Bound on first use and kept for the life of the process, as a load-time
// import would be.
const Spooler& TheSpooler() {
  static const Spooler spooler = [] {
    const HMODULE module = LoadSystemLibrary(L"winspool.drv");
    return Spooler{BoundExport<EnumPrintersFunction>(module, "EnumPrintersW"),
                   BoundExport<GetPrinterDriverDirectoryFunction>(module, "GetPrinterDriverDirectoryW")};
  }();
  return spooler;
}

BOOL Unbound(LPDWORD needed) {
  if (needed != nullptr) *needed = 0;
  ::SetLastError(ERROR_PROC_NOT_FOUND);
  return FALSE;
}

}  // namespace

BOOL WINAPI SpoolerEnumPrintersW(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size,
                                 LPDWORD needed, LPDWORD returned) {
  const auto enumPrinters = TheSpooler().enumPrinters;
  if (enumPrinters == nullptr) return Unbound(needed);
  return enumPrinters(flags, name, level, buffer, size, needed, returned);
}

BOOL SpoolerGetPrinterDriverDirectoryW(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE buffer,
                                       DWORD size, LPDWORD needed) {
  const auto getDirectory = TheSpooler().getPrinterDriverDirectory;
  if (getDirectory == nullptr) return Unbound(needed);
  return getDirectory(server, environment, level, buffer, size, needed);
}

}  // namespace somv
