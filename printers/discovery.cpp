#include "printers/discovery.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/ordinal.h"

namespace somv {

PrinterVerdict JudgePrinter(const InstalledPrinter& printer, const SupportEntryReader& readSupportEntry) {
  if (!ContainsOrdinal(printer.driverName, kVendorWord)) return PrinterVerdict::OtherVendor;
  if (readSupportEntry(printer.driverName).empty()) return PrinterVerdict::NotSupported;
  return PrinterVerdict::Listed;
}

DiscoveryResult SelectSupportedPrinters(const std::vector<InstalledPrinter>& printers,
                                        const SupportEntryReader& readSupportEntry) {
  DiscoveryResult result;
  for (const InstalledPrinter& printer : printers) {
    if (result.rows.size() == kMaxPrinterRows) break;
    if (JudgePrinter(printer, readSupportEntry) != PrinterVerdict::Listed) continue;
    result.rows.push_back({printer.printerName, printer.driverName});
  }
  // Each supported printer goes to the top of the list as it is found.
  std::reverse(result.rows.begin(), result.rows.end());
  result.found = result.rows.empty() ? 0 : 1;
  return result;
}

std::u16string TextInReplyBuffer(const char16_t* text, const unsigned char* begin, const unsigned char* end) {
  // Compared as addresses: the pointer came from outside and may point anywhere.
  const auto at = reinterpret_cast<std::uintptr_t>(text);
  const auto first = reinterpret_cast<std::uintptr_t>(begin);
  const auto last = reinterpret_cast<std::uintptr_t>(end);
  if (text == nullptr || at < first || at >= last) return {};
  // Unit by unit through memcpy: nothing promises that the text is aligned.
  const unsigned char* bytes = begin + (at - first);
  std::u16string result;
  for (std::size_t room = (last - at) / sizeof(char16_t); room > 0; --room, bytes += sizeof(char16_t)) {
    char16_t unit;
    std::memcpy(&unit, bytes, sizeof unit);
    if (unit == u'\0') break;
    result += unit;
  }
  return result;
}

}  // namespace somv
