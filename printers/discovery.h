#pragma once
// Which installed printers the tool offers: those whose driver name carries
// the vendor word and that the settings file declares supported.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace somv {

inline constexpr char16_t kVendorWord[] = u"Kelva";

// The selection dialog counts its rows in an unsigned 16-bit field.
inline constexpr std::size_t kMaxPrinterRows = 65535;

// One row of the selection list: column 0 and column 1.
struct PrinterRow {
  std::u16string strPrinterName;
  std::u16string strDriverName;
};

// An installed printer as the spooler reports it; a missing driver name is
// empty.
struct InstalledPrinter {
  std::u16string printerName;
  std::u16string driverName;
};

struct DiscoveryResult {
  std::vector<PrinterRow> rows;  // display order, top row first
  int found = 0;                 // 1 when at least one row, else 0
  // The spooler refused the list (stopped, unreachable, its library missing):
  // no rows, but not because none is installed.
  bool listingFailed = false;
};

// The [SUPPORT_DEVICE] value of a driver: empty when it is not supported.
using SupportEntryReader = std::function<std::u16string(const std::u16string& driverName)>;

// A name the spooler placed in its reply buffer [begin, end): cut at the
// buffer's end when its terminator is missing, empty when it points outside.
std::u16string TextInReplyBuffer(const char16_t* text, const unsigned char* begin, const unsigned char* end);

// Why a printer is or is not offered. Discovery offers exactly the printers
// judged Listed, and whoever explains the list asks the same question.
enum class PrinterVerdict {
  Listed,
  OtherVendor,   // the driver name lacks the vendor word in its own case
  NotSupported,  // no non-empty [SUPPORT_DEVICE] value for the driver
};

PrinterVerdict JudgePrinter(const InstalledPrinter& printer, const SupportEntryReader& readSupportEntry);

// `printers` in the spooler's order. Only driver names that contain the vendor
// word (case-sensitive) are looked up. Rows come out in the reverse of the
// spooler's order; past kMaxPrinterRows, later printers are left out.
DiscoveryResult SelectSupportedPrinters(const std::vector<InstalledPrinter>& printers,
                                        const SupportEntryReader& readSupportEntry);

}  // namespace somv
