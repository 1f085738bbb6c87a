#include "selection/selection_rules.h"

#include "common/ordinal.h"
#include "framework/decimal_scan.h"

namespace somv {

int ReadLeadingInt(std::u16string_view text) {
  // A number beyond int gives no width anyone meant; it reads as nothing.
  int value = 0;
  return ScanDecimalInt(text, value) ? value : 0;
}

int ColumnWidthFromText(std::u16string_view text, int defaultWidth) {
  const int width = ReadLeadingInt(text);
  return width > 0 ? width : defaultWidth;
}

int ScaleToDpi(int pixelsAt96Dpi, int dpi) {
  if (dpi <= 0) return pixelsAt96Dpi;
  const long long scaled = (static_cast<long long>(pixelsAt96Dpi) * dpi + 48) / 96;
  return scaled > 0x7fffffff ? 0x7fffffff : static_cast<int>(scaled);
}

std::u16string CutColumnHeader(std::u16string_view text) {
  return std::u16string(text.substr(0, kColumnHeaderCapacity - 1));
}

int CompareListTexts(std::u16string_view first, std::u16string_view second, int ascending) {
  return ascending != 0 ? OrdinalCompare(first, second) : OrdinalCompare(second, first);
}

int CompareSnapshotRows(const std::vector<std::u16string>& columnTexts, std::intptr_t firstRow,
                        std::intptr_t secondRow, int ascending) noexcept {
  const auto textAt = [&](std::intptr_t row) -> std::u16string_view {
    if (row < 0 || static_cast<std::size_t>(row) >= columnTexts.size()) return {};
    return columnTexts[static_cast<std::size_t>(row)];
  };
  return CompareListTexts(textAt(firstRow), textAt(secondRow), ascending);
}

int ToggleSortDirection(int ascending) { return ascending != 0 ? 0 : 1; }

SortMark SortMarkOf(int column, int sortedColumn, int ascending, int rowCount) {
  if (column != sortedColumn || rowCount <= 0) return SortMark::None;
  return ascending != 0 ? SortMark::Ascending : SortMark::Descending;
}

bool DoubleClickOpens(int clickedRow, bool openButtonEnabled) { return clickedRow >= 0 && openButtonEnabled; }

bool IsOpenButtonEnabled(int firstSelectedRow) { return firstSelectedRow >= 0; }

int CentredIconOrigin(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }

}  // namespace somv
