#pragma once
// The supported printers installed on this machine, from the print spooler
// and the settings file in the launch directory.
#include <string>

#include "printers/discovery.h"

namespace somv {

// Rows in display order and the found flag; no rows when the spooler lists no
// local printer, the enumeration fails or the settings file is missing.
DiscoveryResult FindSupportedPrinters();

// The same against the settings file at `settingsPath`.
DiscoveryResult FindSupportedPrinters(const std::wstring& settingsPath);

}  // namespace somv
