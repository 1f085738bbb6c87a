#pragma once
// The supported printers installed on this machine, from the print spooler
// and the settings file in the launch directory.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "printers/discovery.h"

namespace somv {

// The spooler's EnumPrintersW as discovery calls it. Null means the spooler's
// own; tests put a wrapper here that installs a printer between the calls.
using EnumPrintersFn = BOOL(WINAPI*)(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
extern EnumPrintersFn g_enumPrintersForDiscovery;

// The locally installed printers in the spooler's order; nothing when the
// spooler fails, empty when there are none.
std::optional<std::vector<InstalledPrinter>> EnumerateLocalPrinters();

// Rows in display order and the found flag; no rows when the spooler lists no
// local printer, the enumeration fails (a list that keeps growing between the
// sizing and the filling call included; listingFailed then) or the settings
// file is missing.
DiscoveryResult FindSupportedPrinters();

// The same against the settings file at `settingsPath`.
DiscoveryResult FindSupportedPrinters(const std::wstring& settingsPath);

}  // namespace somv
