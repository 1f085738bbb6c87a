#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/resource_module_win.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/dialog_driver.h"
#include "tests/wine/support/resource_library_fixture.h"

namespace somv::test {
namespace {

enum class Kind { ListView, PushButton, AutoCheckBox, DropDownList, Edit, Static };

struct ExpectedControl {
  unsigned dialog;
  int id;
  Kind kind;
};

const ExpectedControl kBoundControls[] = {
    {IDD_SOMV_DIALOG, IDC_PRINTER_LIST, Kind::ListView},
    {IDD_SOMV_DIALOG, IDC_OPEN_PRINTER, Kind::PushButton},
    {IDD_SOMV_DIALOG, IDC_DEBUG_MSG, Kind::PushButton},
    {IDD_SOMV_DIALOG, IDC_DEBUG_DISPLAY, Kind::PushButton},
    {IDD_SOMV_DIALOG, IDCANCEL, Kind::PushButton},
    {IDD_TIMER_SETTINGS, IDC_POWER_OFF_CHECK, Kind::AutoCheckBox},
    {IDD_TIMER_SETTINGS, IDC_TIMER_COMBO, Kind::DropDownList},
    {IDD_TIMER_SETTINGS, IDC_TIMER_COMPANION1, Kind::Static},
    {IDD_TIMER_SETTINGS, IDC_TIMER_COMPANION2, Kind::Static},
    {IDD_TIMER_SETTINGS, IDOK, Kind::PushButton},
    {IDD_TIMER_SETTINGS, IDCANCEL, Kind::PushButton},
    {IDD_DEBUG_MSG, IDC_MSG_ID_EDIT, Kind::Edit},
    {IDD_DEBUG_MSG, IDC_SHOW_MSG, Kind::PushButton},
    {IDD_DEBUG_DISPLAY, IDC_TIMER_DLG, Kind::PushButton},
};

const unsigned kDialogs[] = {IDD_SOMV_DIALOG, IDD_TIMER_SETTINGS, IDD_DEBUG_MSG, IDD_DEBUG_DISPLAY};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

bool HasKind(HWND control, Kind kind) {
  const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
  const std::wstring name = ClassOf(control);
  switch (kind) {
    case Kind::ListView:
      return name == L"SysListView32" && (style & LVS_TYPEMASK) == LVS_REPORT &&
             (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) == 0;
    case Kind::PushButton:
      return _wcsicmp(name.c_str(), L"Button") == 0 &&
             ((style & BS_TYPEMASK) == BS_PUSHBUTTON || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    case Kind::AutoCheckBox:
      return _wcsicmp(name.c_str(), L"Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
    case Kind::DropDownList:
      return _wcsicmp(name.c_str(), L"ComboBox") == 0 && (style & 3) == CBS_DROPDOWNLIST && (style & CBS_SORT) == 0;
    case Kind::Edit:
      return _wcsicmp(name.c_str(), L"Edit") == 0;
    case Kind::Static:
      return _wcsicmp(name.c_str(), L"Static") == 0;
  }
  return false;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Created hidden from the library, so its controls can be inspected.
struct TemplateWindow {
  TemplateWindow(HMODULE library, unsigned id)
      : window(::CreateDialogParamW(library, MAKEINTRESOURCEW(id), nullptr, QuietDialogProc, 0)) {}
  ~TemplateWindow() {
    if (window != nullptr) ::DestroyWindow(window);
  }
  HWND window;
};

class ResourceLibrary : public ::testing::TestWithParam<bool> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  bool RightToLeft() const { return GetParam(); }
};

TEST_P(ResourceLibrary, HoldsEveryStringTheProgramReads) {
  ScopedResourceModule library(ResourceLibraryPath(RightToLeft()));
  ASSERT_TRUE(library.Loaded());
  std::vector<unsigned> ids = {1011, 1012, 1013, 1014, 1501, 1502, 1503, 1504, 1601, 1602,
                               1701, 1702, 1801, 1901, 1902, 61712};
  for (unsigned id = 1102; id <= 1109; ++id) ids.push_back(id);
  for (unsigned id : ids) {
    std::wstring text;
    EXPECT_TRUE(LoadResString(id, text)) << id;
    EXPECT_FALSE(text.empty()) << id;
    EXPECT_LT(text.size(), 260u) << id;
  }
  std::wstring width;
  ASSERT_TRUE(LoadResString(1013, width));
  EXPECT_EQ(width, L"200");
  ASSERT_TRUE(LoadResString(1014, width));
  EXPECT_EQ(width, L"250");
  std::wstring marker;
  ASSERT_TRUE(LoadResString(1801, marker));
  EXPECT_EQ(marker == L"ON", RightToLeft());
  std::wstring caption;
  ASSERT_TRUE(LoadResString(1701, caption));
  // A message box titled like the main window would be found in its place.
  EXPECT_NE(caption, L"Somnivar Tool");
}

TEST_P(ResourceLibrary, TemplatesHoldTheBoundControlsOfTheRightKind) {
  ScopedResourceModule library(ResourceLibraryPath(RightToLeft()));
  ASSERT_TRUE(library.Loaded());
  for (const auto& expected : kBoundControls) {
    TemplateWindow dialog(library.Get(), expected.dialog);
    ASSERT_NE(dialog.window, nullptr) << expected.dialog;
    const HWND control = ::GetDlgItem(dialog.window, expected.id);
    ASSERT_NE(control, nullptr) << expected.dialog << "/" << expected.id;
    EXPECT_TRUE(HasKind(control, expected.kind)) << expected.dialog << "/" << expected.id;
  }
}

TEST_P(ResourceLibrary, OnlyTheMainDialogIsCalledSomnivarTool) {
  ScopedResourceModule library(ResourceLibraryPath(RightToLeft()));
  ASSERT_TRUE(library.Loaded());
  for (unsigned id : kDialogs) {
    TemplateWindow dialog(library.Get(), id);
    ASSERT_NE(dialog.window, nullptr);
    EXPECT_EQ(WindowText(dialog.window) == L"Somnivar Tool", id == IDD_SOMV_DIALOG) << id;
    const bool mirrored = (::GetWindowLongPtrW(dialog.window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    EXPECT_EQ(mirrored, RightToLeft()) << id;
  }
}

// Each label, button and check box shows its whole text in the dialog font.
TEST_P(ResourceLibrary, TextsFitTheirControls) {
  ScopedResourceModule library(ResourceLibraryPath(RightToLeft()));
  ASSERT_TRUE(library.Loaded());
  for (unsigned id : kDialogs) {
    TemplateWindow dialog(library.Get(), id);
    ASSERT_NE(dialog.window, nullptr);
    for (HWND control = ::GetWindow(dialog.window, GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
      const std::wstring name = ClassOf(control);
      const std::wstring text = WindowText(control);
      if (text.empty() || (_wcsicmp(name.c_str(), L"Button") != 0 && _wcsicmp(name.c_str(), L"Static") != 0)) continue;
      const bool checkBox = (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX &&
                            _wcsicmp(name.c_str(), L"Button") == 0;
      const bool pushButton = _wcsicmp(name.c_str(), L"Button") == 0 && !checkBox;
      HDC dc = ::GetDC(control);
      const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
      RECT needed{0, 0, 0, 0};
      ::DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
      ::SelectObject(dc, old);
      ::ReleaseDC(control, dc);
      RECT client{};
      ::GetClientRect(control, &client);
      const int margin = checkBox ? ::GetSystemMetrics(SM_CXMENUCHECK) + 6 : (pushButton ? 8 : 0);
      EXPECT_LE(needed.right + margin, client.right) << id << "/" << ::GetDlgCtrlID(control) << " is too narrow";
      EXPECT_LE(needed.bottom, client.bottom + 1) << id << "/" << ::GetDlgCtrlID(control) << " is too low";
    }
  }
}

TEST_P(ResourceLibrary, HoldsTheDialogIcon) {
  ScopedResourceModule library(ResourceLibraryPath(RightToLeft()));
  ASSERT_TRUE(library.Loaded());
  EXPECT_NE(LoadResIconSized(IDI_SOMV_ICON, 32, 32).Get(), nullptr);
  EXPECT_EQ(LoadResIconSized(999, 32, 32).Get(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, ResourceLibrary, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "RightToLeft" : "LeftToRight"; });

TEST(ResourceModule, MissingStringLeavesTheTextAndSwitchesBack) {
  const HINSTANCE program = GetResourceModule();
  {
    ScopedResourceModule library(ResourceLibraryPath(false));
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(GetResourceModule(), library.Get());
    std::wstring text = L"previous";
    EXPECT_FALSE(LoadResString(1100, text));  // same block as the timer labels
    EXPECT_FALSE(LoadResString(4242, text));  // no such block
    EXPECT_EQ(text, L"previous");
    EXPECT_TRUE(HasDialogTemplate(IDD_SOMV_DIALOG));
  }
  EXPECT_EQ(GetResourceModule(), program);
  EXPECT_FALSE(HasDialogTemplate(IDD_SOMV_DIALOG));
}

}  // namespace
}  // namespace somv::test
