#include "framework/dialog_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "framework/app_win.h"
#include "framework/wait_cursor_win.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/dialog_driver.h"
#include "tests/wine/support/message_box_probe.h"
#include "tests/wine/support/resource_library_fixture.h"

namespace somv::test {
namespace {

constexpr wchar_t kTesterCaption[] = L"Message Tester";
constexpr wchar_t kDisplayCaption[] = L"Diagnostic Display";

// The message tester's template with an int field and a counted button.
class IntegerFieldDlg : public CDialog {
 public:
  IntegerFieldDlg() : CDialog(IDD_DEBUG_MSG) {}
  int m_value = 0;
  int m_showClicks = 0;
  LRESULT m_lastNotifyCode = 0;
  CEdit m_edit;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_MSG_ID_EDIT, m_value);
    DDX_Control(pDX, IDC_MSG_ID_EDIT, m_edit);
  }
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{kMessageEntries};
    return &map;
  }

  void OnShowClicked() { ++m_showClicks; }
  LRESULT OnFieldNotify(NMHDR* header) {
    m_lastNotifyCode = static_cast<LRESULT>(header->code);
    return 5;
  }
  LRESULT OnQueryDragIcon(WPARAM, LPARAM) { return 0x1234; }

 private:
  static const MessageMapEntry kMessageEntries[];
};

const MessageMapEntry IntegerFieldDlg::kMessageEntries[] = {
    MapClicked(IDC_SHOW_MSG, &IntegerFieldDlg::OnShowClicked),
    MapNotify(IDC_MSG_ID_EDIT, LVN_ITEMCHANGED, &IntegerFieldDlg::OnFieldNotify),
    MapMessage(WM_QUERYDRAGICON, &IntegerFieldDlg::OnQueryDragIcon),
    MapEnd(),
};

// Its own table, with its base's handlers, routes Cancel elsewhere.
class RoutedCancelDlg : public IntegerFieldDlg {
 public:
  int m_cancelClicks = 0;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{kMessageEntries};
    return &map;
  }

 private:
  void OnCancelClicked() {
    ++m_cancelClicks;
    EndDialog(7);
  }
  static const MessageMapEntry kMessageEntries[];
};

const MessageMapEntry RoutedCancelDlg::kMessageEntries[] = {
    MapClicked(IDC_SHOW_MSG, &RoutedCancelDlg::OnShowClicked),
    MapNotify(IDC_MSG_ID_EDIT, LVN_ITEMCHANGED, &RoutedCancelDlg::OnFieldNotify),
    MapMessage(WM_QUERYDRAGICON, &RoutedCancelDlg::OnQueryDragIcon),
    MapClicked(IDCANCEL, &RoutedCancelDlg::OnCancelClicked),
    MapEnd(),
};

class DialogFramework : public ::testing::Test {
 protected:
  DialogFramework() : m_library(ResourceLibraryPath(false)), m_ui(::GetCurrentThreadId()) {}
  void SetUp() override { ASSERT_TRUE(m_library.Loaded()); }

  // Runs `drive` on its own thread against the dialog with `caption`.
  INT_PTR RunDriven(CDialog& dialog, const wchar_t* caption, std::function<void(HWND)> drive) {
    return test::RunDriven(dialog, m_ui, caption, drive);
  }

  ScopedResourceModule m_library;
  DWORD m_ui;
};

TEST_F(DialogFramework, OkExchangesTheFieldIntoTheMember) {
  IntegerFieldDlg dialog;
  dialog.m_value = 77;
  std::wstring shown;
  const INT_PTR result = RunDriven(dialog, kTesterCaption, [&](HWND window) {
    shown = WindowText(::GetDlgItem(window, IDC_MSG_ID_EDIT));
    SetControlText(window, IDC_MSG_ID_EDIT, L"  1503abc");
    ClickButton(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(shown, L"77");
  EXPECT_EQ(dialog.m_value, 1503);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogFramework, CancelEndsWithTwoAndExchangesNothing) {
  IntegerFieldDlg dialog;
  dialog.m_value = 5;
  const INT_PTR result = RunDriven(dialog, kTesterCaption, [&](HWND window) {
    SetControlText(window, IDC_MSG_ID_EDIT, L"42");
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dialog.m_value, 5);
}

TEST_F(DialogFramework, TextWithoutANumberPromptsSelectsTheFieldAndStaysOpen) {
  IntegerFieldDlg dialog;
  dialog.m_value = 1502;
  std::optional<MessageBoxSnapshot> prompt;
  HWND dialogWindow = nullptr;
  HWND focus = nullptr;
  HWND field = nullptr;
  DWORD selection = 0;
  bool stillOpen = false;
  const INT_PTR result = RunDriven(dialog, kTesterCaption, [&](HWND window) {
    dialogWindow = window;
    SetControlText(window, IDC_MSG_ID_EDIT, L"abc");
    ClickButton(window, IDOK);
    prompt = ReadMessageBox(WaitForMessageBox(m_ui, 5000));
    if (prompt) {
      ClickButton(prompt->window, IDOK);
      WaitUntilGone(prompt->window, 5000);
    }
    stillOpen = ::IsWindow(window) && ::IsWindowEnabled(window);
    field = ::GetDlgItem(window, IDC_MSG_ID_EDIT);
    focus = FocusOf(m_ui);
    selection = static_cast<DWORD>(::SendMessageW(::GetDlgItem(window, IDC_MSG_ID_EDIT), EM_GETSEL, 0, 0));
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dialog.m_value, 1502);
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->text, L"Please enter an integer.");
  EXPECT_EQ(prompt->owner, dialogWindow);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(focus, field);
  EXPECT_EQ(LOWORD(selection), 0);
  EXPECT_EQ(HIWORD(selection), 3);
}

TEST_F(DialogFramework, MessageMapReachesCommandsNotificationsAndMessages) {
  RoutedCancelDlg dialog;
  LRESULT notifyResult = 0;
  LRESULT dragIcon = 0;
  const INT_PTR result = RunDriven(dialog, kTesterCaption, [&](HWND window) {
    ClickButton(window, IDC_SHOW_MSG);
    ClickButton(window, IDC_SHOW_MSG);
    NMHDR header{::GetDlgItem(window, IDC_MSG_ID_EDIT), IDC_MSG_ID_EDIT, static_cast<UINT>(LVN_ITEMCHANGED)};
    notifyResult = ::SendMessageW(window, WM_NOTIFY, IDC_MSG_ID_EDIT, reinterpret_cast<LPARAM>(&header));
    dragIcon = ::SendMessageW(window, WM_QUERYDRAGICON, 0, 0);
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(result, 7);
  EXPECT_EQ(dialog.m_cancelClicks, 1);
  EXPECT_EQ(dialog.m_showClicks, 2);
  EXPECT_EQ(dialog.m_lastNotifyCode, static_cast<LRESULT>(static_cast<UINT>(LVN_ITEMCHANGED)));
  EXPECT_EQ(notifyResult, 5);
  EXPECT_EQ(dragIcon, 0x1234);
}

TEST_F(DialogFramework, MissingTemplateShowsNothingAndGivesMinusOne) {
  class Missing : public CDialog {
   public:
    Missing() : CDialog(99) {}
  } dialog;
  EXPECT_EQ(dialog.DoModal(), -1);
}

class MissingControlDlg : public CDialog {
 public:
  MissingControlDlg() : CDialog(IDD_DEBUG_DISPLAY) {}
  bool m_exchanged = true;
  CButton m_missing;
  CButton m_present;

 protected:
  BOOL OnInitDialog() override {
    m_exchanged = UpdateData(false);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_TIMER_DLG, m_present);
    DDX_Control(pDX, 999, m_missing);
  }
};

TEST_F(DialogFramework, BindingAMissingControlFailsTheExchange) {
  MissingControlDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(dialog.m_exchanged);
  EXPECT_EQ(dialog.m_missing.GetSafeHwnd(), nullptr);
  EXPECT_NE(dialog.m_present.GetSafeHwnd(), nullptr);
}

// The diagnostic display's button opens a dialog without a parent, which the
// main window then owns.
class OwnerDlg : public CDialog {
 public:
  OwnerDlg() : CDialog(IDD_DEBUG_DISPLAY) {}
  IntegerFieldDlg m_inner;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{kMessageEntries};
    return &map;
  }

 private:
  void OnOpenClicked() { m_inner.DoModal(); }
  static const MessageMapEntry kMessageEntries[];
};

const MessageMapEntry OwnerDlg::kMessageEntries[] = {
    MapClicked(IDC_TIMER_DLG, &OwnerDlg::OnOpenClicked),
    MapEnd(),
};

TEST_F(DialogFramework, DialogWithoutParentIsOwnedByTheMainWindow) {
  CWinApp app;
  OwnerDlg main;
  app.m_pMainWnd = &main;
  HWND mainWindow = nullptr;
  HWND innerOwner = nullptr;
  bool mainDisabled = false;
  const INT_PTR result = RunDriven(main, kDisplayCaption, [&](HWND window) {
    mainWindow = window;
    ClickButton(window, IDC_TIMER_DLG);
    const HWND inner = WaitForDialog(m_ui, kTesterCaption);
    innerOwner = ::GetWindow(inner, GW_OWNER);
    mainDisabled = !::IsWindowEnabled(window);
    ClickButton(inner, IDCANCEL);
    WaitForDialog(m_ui, kDisplayCaption);
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_NE(mainWindow, nullptr);
  EXPECT_EQ(innerOwner, mainWindow);
  EXPECT_TRUE(mainDisabled);
}

class RecordingApp : public CWinApp {
 public:
  explicit RecordingApp(BOOL initResult) : m_initResult(initResult) {}
  BOOL InitInstance() override {
    m_steps += L"init ";
    ::PostQuitMessage(0);
    return m_initResult;
  }
  int Run() override {
    m_steps += L"run ";
    return CWinApp::Run();
  }
  int ExitInstance() override {
    m_steps += L"exit";
    return 1;
  }
  BOOL m_initResult;
  std::wstring m_steps;
};

TEST(Application, RunsTheLoopOnlyAfterASuccessfulStartAndExitsWithExitInstance) {
  {
    RecordingApp app(FALSE);
    EXPECT_EQ(GetApp(), &app);
    EXPECT_EQ(RunApplication(::GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(app.m_steps, L"init exit");
    MSG pending;
    ::PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  {
    RecordingApp app(TRUE);
    EXPECT_EQ(RunApplication(::GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(app.m_steps, L"init run exit");
    EXPECT_EQ(app.m_hInstance, ::GetModuleHandleW(nullptr));
  }
  EXPECT_EQ(GetApp(), nullptr);
}

TEST(WaitCursor, ShowsTheHourglassWhileTheRequestRunsThenPutsTheCursorBack) {
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  HCURSOR during = nullptr;
  EXPECT_EQ(WhileWaiting([&] {
              during = ::GetCursor();
              return 0;
            }),
            0);
  EXPECT_EQ(during, ::LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(::GetCursor(), arrow);
}

}  // namespace
}  // namespace somv::test
