// List views in another process. Item texts and states travel through a
// buffer allocated in the target, laid out for the target's bitness.
#include "tests/e2e/uidriver/driver.h"

#include <commctrl.h>

#include <cstddef>
#include <cstdint>

#include "tests/e2e/uidriver/remote_memory.h"

namespace uidriver {
namespace {

// LVITEMW as a process of the given pointer width lays it out.
template <typename Ptr>
struct RemoteLvItem {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  Ptr pszText;
  int cchTextMax;
  int iImage;
  Ptr lParam;
  int iIndent;
  int iGroupId;
  UINT cColumns;
  Ptr puColumns;
  Ptr piColFmt;
  int iGroup;
};
static_assert(sizeof(RemoteLvItem<uint64_t>) == 88, "64-bit LVITEMW layout");
static_assert(sizeof(RemoteLvItem<uint32_t>) == 60, "32-bit LVITEMW layout");
static_assert(sizeof(RemoteLvItem<UINT_PTR>) == sizeof(LVITEMW), "own layout matches the headers");

// HDITEMW likewise.
template <typename Ptr>
struct RemoteHdItem {
  UINT mask;
  int cxy;
  Ptr pszText;
  Ptr hbm;
  int cchTextMax;
  int fmt;
  Ptr lParam;
  int iImage;
  int iOrder;
  UINT type;
  Ptr pvFilter;
  UINT state;
};
static_assert(sizeof(RemoteHdItem<UINT_PTR>) == sizeof(HDITEMW), "own layout matches the headers");

constexpr size_t kTextChars = 4096;  // longer texts are cut; the list view stops at the buffer's end
constexpr size_t kItemSlot = 128;    // room for either layout, text follows

class RemoteListView {
 public:
  RemoteListView(HWND listView) : m_listView(listView), m_process(listView), m_buffer(m_process, kItemSlot + kTextChars * sizeof(wchar_t)) {
    if (m_process.TargetBitness() == Bitness::k32 && m_buffer.Address() > 0xFFFFFFFFull) Fail(L"remote buffer above 4 GiB in a 32-bit target");
  }

  std::wstring ItemText(int row, int column) {
    const wchar_t empty = L'\0';
    m_buffer.Write(kItemSlot, &empty, sizeof(empty));
    WriteItem(0, row, column, 0, 0);
    LRESULT length = SendOrFail(m_listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), m_buffer.AsLParam());
    if (length < 0) length = 0;
    if (static_cast<size_t>(length) >= kTextChars) length = kTextChars - 1;
    std::wstring text(static_cast<size_t>(length), L'\0');
    if (length > 0) m_buffer.Read(kItemSlot, text.data(), text.size() * sizeof(wchar_t));
    return text;
  }

  void SetState(int row, UINT state, UINT mask) {
    WriteItem(LVIF_STATE, row, 0, state, mask);
    if (!SendOrFail(m_listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), m_buffer.AsLParam()))
      Fail(L"the list view refused the state of row " + std::to_wstring(row));
  }

  // LVIR_BOUNDS of one cell; for column 0 the list view gives the whole row,
  // so that one is cut at the next column's left edge.
  RECT CellRect(int row, int column) {
    RECT rect{LVIR_BOUNDS, column, 0, 0};
    m_buffer.Write(0, &rect, sizeof(rect));
    if (!SendOrFail(m_listView, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), m_buffer.AsLParam()))
      Fail(L"no cell at row " + std::to_wstring(row) + L", column " + std::to_wstring(column));
    m_buffer.Read(0, &rect, sizeof(rect));
    if (column == 0) rect.right = rect.left + static_cast<LONG>(SendOrFail(m_listView, LVM_GETCOLUMNWIDTH, 0, 0));
    return rect;
  }

  int HeaderFormat(HWND header, int column) {
    return m_process.TargetBitness() == Bitness::k32 ? HeaderFormatAs<uint32_t>(header, column)
                                                     : HeaderFormatAs<uint64_t>(header, column);
  }

  RECT HeaderItemRect(HWND header, int column) {
    RECT rect{};
    m_buffer.Write(0, &rect, sizeof(rect));
    if (!SendOrFail(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), m_buffer.AsLParam()))
      Fail(L"no header item " + std::to_wstring(column));
    m_buffer.Read(0, &rect, sizeof(rect));
    return rect;
  }

 private:
  template <typename Ptr>
  int HeaderFormatAs(HWND header, int column) {
    RemoteHdItem<Ptr> item{};
    item.mask = HDI_FORMAT;
    m_buffer.Write(0, &item, sizeof(item));
    if (!SendOrFail(header, HDM_GETITEMW, static_cast<WPARAM>(column), m_buffer.AsLParam()))
      Fail(L"no header item " + std::to_wstring(column));
    m_buffer.Read(0, &item, sizeof(item));
    return item.fmt;
  }

  template <typename Ptr>
  void WriteItemAs(UINT mask, int row, int column, UINT state, UINT stateMask) {
    RemoteLvItem<Ptr> item{};
    item.mask = mask;
    item.iItem = row;
    item.iSubItem = column;
    item.state = state;
    item.stateMask = stateMask;
    item.pszText = static_cast<Ptr>(m_buffer.Address() + kItemSlot);
    item.cchTextMax = static_cast<int>(kTextChars);
    m_buffer.Write(0, &item, sizeof(item));
  }

  void WriteItem(UINT mask, int row, int column, UINT state, UINT stateMask) {
    if (m_process.TargetBitness() == Bitness::k32)
      WriteItemAs<uint32_t>(mask, row, column, state, stateMask);
    else
      WriteItemAs<uint64_t>(mask, row, column, state, stateMask);
  }

  HWND m_listView;
  RemoteProcess m_process;
  RemoteBuffer m_buffer;
};

HWND ListViewFrom(const Args& args) {
  HWND control = ControlOf(ParseWindow(args.Positional(0, L"HWND")), args.Positional(1, L"ID"));
  if (ClassName(control) != WC_LISTVIEWW) Fail(L"control " + args.Positional(1, L"ID") + L" is a " + ClassName(control) + L", not a list view");
  return control;
}

int RowCount(HWND listView) { return static_cast<int>(SendOrFail(listView, LVM_GETITEMCOUNT, 0, 0)); }

HWND HeaderOf(HWND listView) {
  HWND header = reinterpret_cast<HWND>(SendOrFail(listView, LVM_GETHEADER, 0, 0));
  if (header == nullptr) Fail(L"the list view has no header");
  return header;
}

int ColumnCount(HWND listView) {
  HWND header = reinterpret_cast<HWND>(SendOrFail(listView, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendOrFail(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
}

std::vector<int> RowsWith(HWND listView, UINT flag) {
  std::vector<int> rows;
  LRESULT row = -1;
  while ((row = SendOrFail(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(row), flag)) != -1) {
    if (!rows.empty() && row <= rows.back()) break;
    rows.push_back(static_cast<int>(row));
  }
  return rows;
}

std::wstring Joined(const std::vector<int>& rows) {
  std::wstring out;
  for (int row : rows) out += (out.empty() ? L"" : L" ") + std::to_wstring(row);
  return out;
}

void Count(const Args& args) {
  HWND listView = ListViewFrom(args);
  PrintValue(L"count", RowCount(listView));
  PrintValue(L"columns", ColumnCount(listView));
}

void Rows(const Args& args) {
  HWND listView = ListViewFrom(args);
  RemoteListView remote(listView);
  const int rows = RowCount(listView);
  const int columns = ColumnCount(listView);
  for (int row = 0; row < rows; ++row) {
    std::wstring line = std::to_wstring(row);
    for (int column = 0; column < columns; ++column) line += L"\t" + Escape(remote.ItemText(row, column));
    PrintLine(line);
  }
}

void Headers(const Args& args) {
  HWND listView = ListViewFrom(args);
  HWND header = HeaderOf(listView);
  RemoteListView remote(listView);
  for (int column = 0; column < ColumnCount(listView); ++column) {
    RECT rect = remote.HeaderItemRect(header, column);
    PrintLine(std::to_wstring(column) + L"\t" + std::to_wstring(rect.right - rect.left));
  }
}

void Selection(const Args& args) {
  HWND listView = ListViewFrom(args);
  PrintValue(L"selected", Joined(RowsWith(listView, LVNI_SELECTED)));
  PrintValue(L"focused", static_cast<long long>(SendOrFail(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

// As a click on a row does: the old selection goes, the row is selected and
// focused, and the parent hears of each change (LVN_ITEMCHANGED). Row -1 only
// clears the selection, like a click below the last row.
void Select(const Args& args) {
  HWND listView = ListViewFrom(args);
  const long long row = ParseNumber(args.Positional(2, L"ROW"), L"row");
  if (row < -1 || row >= RowCount(listView)) Fail(L"no row " + std::to_wstring(row));
  RemoteListView remote(listView);
  remote.SetState(-1, 0, LVIS_SELECTED);
  if (row >= 0) remote.SetState(static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  PrintValue(L"selected", Joined(RowsWith(listView, LVNI_SELECTED)));
}

// A press and release in the middle of the header item, so the list view
// raises LVN_COLUMNCLICK itself. Sent, not posted: the sort has happened when
// this returns.
void HeaderClick(const Args& args) {
  HWND listView = ListViewFrom(args);
  const long long column = ParseNumber(args.Positional(2, L"COLUMN"), L"column");
  if (column < 0 || column >= ColumnCount(listView)) Fail(L"no column " + std::to_wstring(column));
  HWND header = HeaderOf(listView);
  RECT rect = RemoteListView(listView).HeaderItemRect(header, static_cast<int>(column));
  LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendOrFail(header, WM_MOUSEMOVE, 0, point);
  SendOrFail(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendOrFail(header, WM_LBUTTONUP, 0, point);
  PrintValue(L"clicked", column);
}

// A left click (--double 1: a double click) near the right end of a cell,
// right of any text. Posted, as the mouse would deliver it: a double click
// that opens a modal dialog must not hold the driver.
void CellClick(const Args& args) {
  HWND listView = ListViewFrom(args);
  const long long row = ParseNumber(args.Positional(2, L"ROW"), L"row");
  const long long column = ParseNumber(args.Positional(3, L"COLUMN"), L"column");
  if (row < 0 || row >= RowCount(listView)) Fail(L"no row " + std::to_wstring(row));
  if (column < 0 || column >= ColumnCount(listView)) Fail(L"no column " + std::to_wstring(column));
  const RECT cell = RemoteListView(listView).CellRect(static_cast<int>(row), static_cast<int>(column));
  const LPARAM point = MAKELPARAM(cell.right - 4, (cell.top + cell.bottom) / 2);
  const bool twice = args.Option(L"double") == L"1";
  std::vector<UINT> messages{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};
  if (twice) messages.insert(messages.end(), {WM_LBUTTONDBLCLK, WM_LBUTTONUP});
  for (UINT message : messages) {
    const WPARAM keys = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0;
    if (!PostMessageW(listView, message, keys, point)) FailWithLastError(L"posting a mouse message");
  }
  PrintValue(L"x", static_cast<long long>(cell.right - 4));
  PrintValue(L"y", static_cast<long long>((cell.top + cell.bottom) / 2));
}

// The sort mark each header item shows.
void SortMarks(const Args& args) {
  HWND listView = ListViewFrom(args);
  HWND header = HeaderOf(listView);
  RemoteListView remote(listView);
  for (int column = 0; column < ColumnCount(listView); ++column) {
    const int format = remote.HeaderFormat(header, column);
    const wchar_t* mark = (format & HDF_SORTUP) ? L"up" : (format & HDF_SORTDOWN) ? L"down" : L"none";
    PrintLine(std::to_wstring(column) + L"\t" + mark);
  }
}

}  // namespace

void AddListViewCommands(std::vector<CommandEntry>& table) {
  table.push_back({L"lv-count", L"HWND ID   prints count, columns", Count});
  table.push_back({L"lv-rows", L"HWND ID   prints row<TAB>text<TAB>text... per row", Rows});
  table.push_back({L"lv-columns", L"HWND ID   prints column<TAB>width per header item", Headers});
  table.push_back({L"lv-selection", L"HWND ID   prints selected (space-separated rows), focused (-1: none)", Selection});
  table.push_back({L"lv-select", L"HWND ID ROW   selects and focuses ROW only (-1: clears), prints selected", Select});
  table.push_back({L"lv-header-click", L"HWND ID COLUMN   clicks the header item", HeaderClick});
  table.push_back({L"lv-click", L"HWND ID ROW COLUMN [--double 1]   clicks right of the text in a cell", CellClick});
  table.push_back({L"lv-sort-marks", L"HWND ID   prints column<TAB>up|down|none per header item", SortMarks});
}

}  // namespace uidriver
