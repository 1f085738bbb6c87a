#pragma once
// The supported printers installed on this machine, from the print spooler
// and the settings file in the launch directory.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/spooler_win.h"
#include "printers/discovery.h"

namespace somv {

// The spooler's EnumPrintersW as discovery calls it: tests pass one that
// installs a printer between the calls, or refuses.
using EnumPrintersFn = BOOL(WINAPI*)(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

// The locally installed printers in the spooler's order; nothing when the
// spooler fails, empty when there are none.
std::optional<std::vector<InstalledPrinter>> EnumerateLocalPrinters(EnumPrintersFn enumerate = SpoolerEnumPrintersW);

// Rows in display order and the found flag; no rows when the spooler lists no
// local printer, the enumeration fails (a list that keeps growing between the
// sizing and the filling call included; listingFailed then) or the settings
// file is missing.
DiscoveryResult FindSupportedPrinters();

// The same against the settings file at `settingsPath`.
DiscoveryResult FindSupportedPrinters(const std::wstring& settingsPath, EnumPrintersFn enumerate = SpoolerEnumPrintersW);

}  // namespace somv
