#pragma once
// A borrowed window handle and the few calls the dialogs make on it. The
// window system owns the window; this object only names it.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace somv {

class CWnd {
 public:
  CWnd() = default;
  explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
  virtual ~CWnd() = default;

  HWND GetSafeHwnd() const { return m_hWnd; }
  void Attach(HWND hwnd) { m_hWnd = hwnd; }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  bool EnableWindow(bool enable) const { return ::EnableWindow(m_hWnd, enable ? TRUE : FALSE) != 0; }
  bool ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command) != 0; }
  HWND SetFocus() const { return ::SetFocus(m_hWnd); }
  std::wstring GetWindowText() const;

  HWND m_hWnd = nullptr;
};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CEdit : public CWnd {
 public:
  int LineLength(int line = -1) const { return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(line))); }
};

class CComboBox : public CWnd {
 public:
  int AddString(const std::wstring& text) const {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
};

// List view in report mode.
class CListCtrl : public CWnd {
 public:
  int InsertColumn(int index, const std::wstring& heading, int width) const;
  int InsertItem(int index, const std::wstring& text) const;
  bool SetItemText(int index, int subItem, const std::wstring& text) const;
  // Whole text of one cell, whatever its length.
  std::wstring GetItemText(int index, int subItem) const;
  bool SetItemData(int index, LPARAM data) const;
  bool SetItemState(int index, UINT state, UINT mask) const;
  int GetNextItem(int start, UINT flags) const {
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
  }
  int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
  bool SortItems(PFNLVCOMPARE compare, LPARAM context) const {
    return SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(context), reinterpret_cast<LPARAM>(compare)) != 0;
  }
  void AddExtendedStyle(DWORD style) const { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, style, static_cast<LPARAM>(style)); }
  int GetColumnCount() const;
  // `sortFormat` is 0, HDF_SORTUP or HDF_SORTDOWN: the mark in the column's header.
  bool SetSortMark(int column, int sortFormat) const;
};

}  // namespace somv
