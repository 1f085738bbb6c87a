#pragma once
// The supported printers installed on this machine, from the print spooler
// and the settings file in the launch directory.
#include "printers/discovery.h"

namespace somv {

// Rows in display order and the found flag; no rows when the spooler lists no
// local printer, the enumeration fails or the settings file is missing.
DiscoveryResult FindSupportedPrinters();

}  // namespace somv
