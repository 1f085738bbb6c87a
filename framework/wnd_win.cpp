#include "framework/wnd_win.h"

#include <vector>

namespace somv {

std::wstring CWnd::GetWindowText() const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
  return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

int CListCtrl::InsertColumn(int index, const std::wstring& heading, int width) const {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.cx = width;
  column.pszText = const_cast<wchar_t*>(heading.c_str());
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const std::wstring& text) const {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int index, int subItem, const std::wstring& text) const {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.iSubItem = subItem;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::wstring CListCtrl::GetItemText(int index, int subItem) const {
  // The control copies at most the buffer less one unit and reports how much
  // it copied, so a full buffer means the text may be longer.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (copied < 0) return {};
    if (static_cast<size_t>(copied) + 1 < buffer.size() || buffer.size() >= (1u << 20)) {
      return std::wstring(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool CListCtrl::SetItemData(int index, LPARAM data) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = data;
  return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

int CListCtrl::GetColumnCount() const {
  const HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  return header != nullptr ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CListCtrl::SetSortMark(int column, int sortFormat) const {
  const HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header == nullptr) return false;
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  if (!::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return false;
  item.fmt = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | sortFormat;
  return ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CListCtrl::SetItemState(int index, UINT state, UINT mask) const {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

}  // namespace somv
