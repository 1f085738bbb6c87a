// Texts the printer selection dialog reads: column widths and headers from
// the resource library, and the list's texts and item data when it sorts.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/decimal_scan.h"
#include "selection/selection_rules.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

namespace {

// The C library reads the same form ("%d" and _wtoi) from narrow text.
void CheckScanAgainstStrtol(const std::u16string& text) {
  std::string narrow;
  for (char16_t unit : text) {
    if (unit == 0 || unit > 0x7F) return;
    narrow += static_cast<char>(unit);
  }
  int scanned = 0;
  const bool read = ScanDecimalInt(text, scanned);
  char* end = nullptr;
  errno = 0;
  const long long expected = std::strtoll(narrow.c_str(), &end, 10);
  const bool digits = end != narrow.c_str();
  const bool fits = errno != ERANGE && expected >= INT_MIN && expected <= INT_MAX;
  FUZZ_CHECK(read == (digits && fits));
  if (read) FUZZ_CHECK(scanned == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::u16string width = input.Text();
  const std::u16string header = input.Text();
  const std::u16string other = input.Text();

  CheckScanAgainstStrtol(width);
  const int columnWidth = ColumnWidthFromText(width, kPrinterColumnDefaultWidth);
  FUZZ_CHECK(columnWidth > 0);
  FUZZ_CHECK(columnWidth == kPrinterColumnDefaultWidth || columnWidth == ReadLeadingInt(width));

  const std::u16string cut = CutColumnHeader(header);
  FUZZ_CHECK(cut.size() < kColumnHeaderCapacity && header.compare(0, cut.size(), cut) == 0);

  const int order = CompareListTexts(header, other, 1);
  FUZZ_CHECK(order == -CompareListTexts(other, header, 1));
  FUZZ_CHECK(order == CompareListTexts(other, header, 0));

  const std::vector<std::u16string> column = {header, other, cut};
  const auto first = static_cast<std::intptr_t>(static_cast<std::int32_t>(input.Uint32()));
  const auto second = static_cast<std::intptr_t>(static_cast<std::int32_t>(input.Uint32()));
  const int rows = CompareSnapshotRows(column, first, second, input.Byte());
  FUZZ_CHECK(rows >= -1 && rows <= 1);
  return 0;
}
