// Printer and driver names as the spooler reports them, with the settings
// file's entries for the drivers: which printers are listed, in which order.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "printers/discovery.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  std::vector<InstalledPrinter> printers;
  std::map<std::u16string, std::u16string> entries;
  while (input.Left() > 0) {
    InstalledPrinter printer;
    printer.printerName = input.Text(u'\t');
    printer.driverName = input.Text(u'\n');
    // The settings file has one value per driver, whichever printer asks.
    entries.emplace(printer.driverName, (input.Byte() & 1) != 0 ? u"01.00" : u"");
    printers.push_back(printer);
  }
  int lookups = 0;
  const DiscoveryResult result = SelectSupportedPrinters(printers, [&](const std::u16string& driver) {
    ++lookups;
    FUZZ_CHECK(driver.find(kVendorWord) != std::u16string::npos);
    return entries.at(driver);
  });

  std::vector<PrinterRow> expected;
  for (auto printer = printers.rbegin(); printer != printers.rend(); ++printer) {
    if (printer->driverName.find(kVendorWord) != std::u16string::npos && !entries[printer->driverName].empty()) {
      expected.push_back({printer->printerName, printer->driverName});
    }
  }
  FUZZ_CHECK(result.rows.size() == expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    FUZZ_CHECK(result.rows[i].strPrinterName == expected[i].strPrinterName);
    FUZZ_CHECK(result.rows[i].strDriverName == expected[i].strDriverName);
  }
  FUZZ_CHECK(result.found == (expected.empty() ? 0 : 1));
  FUZZ_CHECK(lookups <= static_cast<int>(printers.size()));
  return 0;
}
