#include "printers/discovery.h"

#include <algorithm>

#include "common/ordinal.h"

namespace somv {

DiscoveryResult SelectSupportedPrinters(const std::vector<InstalledPrinter>& printers,
                                        const SupportEntryReader& readSupportEntry) {
  DiscoveryResult result;
  for (const InstalledPrinter& printer : printers) {
    if (result.rows.size() == kMaxPrinterRows) break;
    if (!ContainsOrdinal(printer.driverName, kVendorWord)) continue;
    if (readSupportEntry(printer.driverName).empty()) continue;
    result.rows.push_back({printer.printerName, printer.driverName});
  }
  // Each supported printer goes to the top of the list as it is found.
  std::reverse(result.rows.begin(), result.rows.end());
  result.found = result.rows.empty() ? 0 : 1;
  return result;
}

}  // namespace somv
