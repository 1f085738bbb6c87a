// A small dialog for the driver to practise on: a sortable two-column list,
// message boxes, a check box that enables a drop-down list, an edit and a
// nested modal dialog. Its exit status is the dialog's result.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/e2e/uidriver/demo_dialog_ids.h"

namespace {

struct Row {
  const wchar_t* printer;
  const wchar_t* driver;
};
const Row kRows[] = {{L"Kelva b", L"Kelva Driver 2"}, {L"kelva a", L"Kelva Driver 1"}, {L"Kelva C", L"Other Driver"}};
const wchar_t* const kChoices[] = {L"5 minutes", L"15 minutes", L"30 minutes", L"1 hour"};

int g_sortColumn = 0;
bool g_sortAscending = false;

std::wstring ItemText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  ListView_GetItemText(list, row, column, text, 256);
  return text;
}

void InsertRow(HWND list, int row, const Row& data) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<wchar_t*>(data.printer);
  ListView_InsertItem(list, &item);
  ListView_SetItemText(list, row, 1, const_cast<wchar_t*>(data.driver));
}

void FillList(HWND list) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 150;
  column.pszText = const_cast<wchar_t*>(L"Printer");
  ListView_InsertColumn(list, 0, &column);
  column.pszText = const_cast<wchar_t*>(L"Driver");
  ListView_InsertColumn(list, 1, &column);
  for (int i = 0; i < 3; ++i) InsertRow(list, i, kRows[i]);
  ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM list) {
  std::wstring a = ItemText(reinterpret_cast<HWND>(list), static_cast<int>(first), g_sortColumn);
  std::wstring b = ItemText(reinterpret_cast<HWND>(list), static_cast<int>(second), g_sortColumn);
  int order = a.compare(b);
  return g_sortAscending ? order : -order;
}

void SortBy(HWND dialog, int column) {
  HWND list = GetDlgItem(dialog, IDC_LIST);
  g_sortColumn = column;
  g_sortAscending = !g_sortAscending;
  ListView_SortItemsEx(list, CompareRows, reinterpret_cast<LPARAM>(list));
  std::wstring label = L"sorted " + std::to_wstring(column) + (g_sortAscending ? L" ascending" : L" descending");
  SetDlgItemTextW(dialog, IDC_SORTED, label.c_str());
}

INT_PTR CALLBACK NestedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_WARN:
      MessageBoxW(dialog, L"Something to note.\nSecond line.", L"Demo Warning", MB_OK | MB_ICONEXCLAMATION);
      break;
    case IDC_SHOW: {
      wchar_t text[256] = {};
      GetDlgItemTextW(dialog, IDC_EDIT, text, 256);
      MessageBoxW(nullptr, text, L"Demo Error", MB_OK | MB_ICONHAND | MB_RIGHT | MB_RTLREADING);
      break;
    }
    case IDC_CHECK:
      EnableWindow(GetDlgItem(dialog, IDC_COMBO), IsDlgButtonChecked(dialog, IDC_CHECK) == BST_CHECKED);
      break;
    case IDC_NESTED:
      DialogBoxW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NESTED), dialog, NestedProc);
      break;
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, id);
      break;
  }
}

INT_PTR CALLBACK DemoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      FillList(GetDlgItem(dialog, IDC_LIST));
      for (const wchar_t* choice : kChoices) SendDlgItemMessageW(dialog, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
      SendDlgItemMessageW(dialog, IDC_COMBO, CB_SETCURSEL, 1, 0);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_LIST) return FALSE;
      if (header->code == LVN_COLUMNCLICK) SortBy(dialog, reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
      if (header->code == LVN_ITEMCHANGED) {
        std::wstring label = L"selected=" + std::to_wstring(ListView_GetSelectedCount(header->hwndFrom));
        SetDlgItemTextW(dialog, IDC_SELECTED, label.c_str());
      }
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return static_cast<int>(DialogBoxW(instance, MAKEINTRESOURCEW(IDD_DEMO), nullptr, DemoProc));
}
