// Shows every catalogue message and every dialog of both libraries one at a
// time, for take_screenshots.sh to photograph. Skipped unless
// SOMV_SCREENSHOT_DIR names the folder where it hands over.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "framework/dialog_win.h"
#include "framework/resource_module_win.h"
#include "messages/view_msg_win.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/dialog_driver.h"
#include "tests/wine/support/message_box_probe.h"
#include "tests/wine/support/resource_library_fixture.h"
#include "tests/wine/support/screenshot_hold.h"

namespace somv::test {
namespace {


class PlainDlg : public CDialog {
 public:
  explicit PlainDlg(UINT id) : CDialog(id) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    FillForThePicture();
    return TRUE;
  }

 private:
  void FillForThePicture() {
    CListCtrl list;
    list.Attach(GetDlgItem(IDC_PRINTER_LIST));
    std::wstring text;
    for (int column = 0; column < 2; ++column) {
      LoadResString(IDS_COLUMN_PRINTER + column, text);
      list.InsertColumn(column, text, column == 0 ? 200 : 250);
    }
    list.InsertItem(0, L"Kelva LP-7200 (Office)");
    list.SetItemText(0, 1, L"Kelva LP-7200 Series");
    CComboBox combo;
    combo.Attach(GetDlgItem(IDC_TIMER_COMBO));
    for (unsigned id = IDS_TIMER_CHOICE1; id <= IDS_TIMER_CHOICE8; ++id) {
      LoadResString(id, text);
      combo.AddString(text);
    }
    combo.SetCurSel(3);
    CButton check;
    check.Attach(GetDlgItem(IDC_POWER_OFF_CHECK));
    check.SetCheck(BST_CHECKED);
  }
};

TEST(Screenshots, EveryMessageAndDialogInBothDirections) {
  const std::wstring directory = ScreenshotDirectory();
  if (directory.empty()) GTEST_SKIP() << "SOMV_SCREENSHOT_DIR is not set";
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  const DWORD ui = ::GetCurrentThreadId();
  for (bool rightToLeft : {false, true}) {
    ScopedResourceModule library(ResourceLibraryPath(rightToLeft));
    ASSERT_TRUE(library.Loaded());
    const std::wstring direction = rightToLeft ? L"rtl" : L"ltr";
    for (int id : {1501, 1502, 1503, 1504, 1601, 1901}) {
      MessageBoxProbe probe(ui, 5000, [&](const MessageBoxSnapshot&) {
        HoldForScreenshot(directory, direction + L"-message-" + std::to_wstring(id));
      });
      CViewMSg().ShowMessage(nullptr, id);
      EXPECT_TRUE(probe.Result()) << id;
    }
    for (UINT id : {IDD_SOMV_DIALOG, IDD_TIMER_SETTINGS, IDD_DEBUG_MSG, IDD_DEBUG_DISPLAY}) {
      PlainDlg dialog(id);
      std::thread driver([&] {
        const HWND window = WaitForThreadWindow(ui, 5000, [](HWND) { return true; });
        if (window == nullptr) return;
        HoldForScreenshot(directory, direction + L"-dialog-" + std::to_wstring(id));
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
      });
      EXPECT_EQ(dialog.DoModal(), IDCANCEL) << id;
      driver.join();
    }
  }
}

}  // namespace
}  // namespace somv::test
