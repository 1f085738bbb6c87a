#pragma once
// What the printer selection dialog decides, apart from its controls: the
// list's column widths and headers, the order of a header click's sort, the
// open button's state and where a minimised window draws its icon.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace somv {

inline constexpr int kPrinterColumnDefaultWidth = 200;
inline constexpr int kDriverColumnDefaultWidth = 250;

// Headers go through a buffer of this many units, terminator included.
inline constexpr std::size_t kColumnHeaderCapacity = 260;

// The number at the start of `text` as _wtoi reads it: leading white space,
// a sign, digits up to the first other unit; 0 when nothing is readable or
// the number does not fit in an int.
int ReadLeadingInt(std::u16string_view text);

// A width string of the resource library: its number when above 0, else
// `defaultWidth`.
int ColumnWidthFromText(std::u16string_view text, int defaultWidth);

// A width in pixels at 96 dpi, as the display at `dpi` shows the same extent;
// rounded to the nearest pixel.
int ScaleToDpi(int pixelsAt96Dpi, int dpi);

// The header as the column receives it: at most kColumnHeaderCapacity - 1
// units.
std::u16string CutColumnHeader(std::u16string_view text);

// -1, 0 or 1 for the sort of the list: ordinal over UTF-16 units, `first`
// before `second` when `ascending` is non-zero, else the reverse.
int CompareListTexts(std::u16string_view first, std::u16string_view second, int ascending);

// Compares two rows by their position before the sort, each an index into
// `columnTexts`, the sorted column as it stood then. A position outside it
// counts as an empty text.
int CompareSnapshotRows(const std::vector<std::u16string>& columnTexts, std::intptr_t firstRow,
                        std::intptr_t secondRow, int ascending) noexcept;

// The direction for the next header click: 0 after any non-zero, 1 after 0.
int ToggleSortDirection(int ascending);

enum class SortMark { None, Ascending, Descending };

// What the header of `column` shows after a header click sorted `sortedColumn`
// `ascending` (non-zero) or descending: the sorted column that direction,
// any other none. An empty list shows none: nothing was put in order.
SortMark SortMarkOf(int column, int sortedColumn, int ascending, int rowCount);

// A double click on the list does what the open button does, so only on a
// row and only while the button is enabled.
bool DoubleClickOpens(int clickedRow, bool openButtonEnabled);

// The open button is enabled exactly while the list has a selected row;
// `firstSelectedRow` is -1 when it has none.
bool IsOpenButtonEnabled(int firstSelectedRow);

// Left or top edge of the icon drawn centred in a minimised window's client
// area, the halving truncated toward zero.
int CentredIconOrigin(int clientExtent, int iconExtent);

}  // namespace somv
