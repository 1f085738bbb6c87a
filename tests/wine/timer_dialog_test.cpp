// The timer settings dialog in real windows, built from the resource library
// and talking to the simulated status library installed in the prefix.
#include "timer/timer_settings_dlg.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/resource_module_win.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/dialog_driver.h"
#include "tests/wine/support/message_box_probe.h"
#include "tests/wine/support/resource_library_fixture.h"
#include "tests/wine/support/simulated_printer.h"

namespace somv::test {
namespace {

constexpr wchar_t kTimerCaption[] = L"Power-Off Timer";
constexpr char16_t kPrinter[] = u"Kelva LP-100";
constexpr char kSupportedSettings[] = "[SUPPORT_DEVICE]\r\nKelva LP-100 Driver=01.05\r\n";
constexpr char kDiagnosticSettings[] = "[Debug]\r\nDebugUI=1\r\n";

std::string PrinterState(const std::string& keys) { return "[Kelva LP-100]\r\nMajor=1\r\nMinor=5\r\n" + keys; }

std::string TimerCodeKey(unsigned code) {
  char text[32];
  std::snprintf(text, sizeof text, "TimerCode=0x%04X\r\n", code);
  return text;
}

// What the user sees of the dialog.
struct TimerDialogView {
  int check = -1;
  int selected = -2;
  std::vector<std::wstring> labels;
  bool listEnabled = false;
  bool companion1Enabled = false;
  bool companion2Enabled = false;
};

TimerDialogView ReadTimerDialog(HWND dialog) {
  TimerDialogView view;
  view.check = static_cast<int>(::SendDlgItemMessageW(dialog, IDC_POWER_OFF_CHECK, BM_GETCHECK, 0, 0));
  const HWND list = ::GetDlgItem(dialog, IDC_TIMER_COMBO);
  view.selected = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
  const int count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t label[256] = {};
    if (::SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 256) ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(label));
    view.labels.push_back(label);
  }
  view.listEnabled = ::IsWindowEnabled(list) != FALSE;
  view.companion1Enabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_TIMER_COMPANION1)) != FALSE;
  view.companion2Enabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_TIMER_COMPANION2)) != FALSE;
  return view;
}

bool AllEnabled(const TimerDialogView& view) {
  return view.listEnabled && view.companion1Enabled && view.companion2Enabled;
}
bool NoneEnabled(const TimerDialogView& view) {
  return !view.listEnabled && !view.companion1Enabled && !view.companion2Enabled;
}

// As a mouse click does it: the box toggles itself and tells the dialog.
void ClickCheckBox(HWND dialog) { ::SendDlgItemMessageW(dialog, IDC_POWER_OFF_CHECK, BM_CLICK, 0, 0); }
void SelectChoice(HWND dialog, int index) { ::SendDlgItemMessageW(dialog, IDC_TIMER_COMBO, CB_SETCURSEL, index, 0); }

// Presses a button of `dialog` that brings up a message box, reads the box
// and dismisses it.
std::optional<MessageBoxSnapshot> PressAndReadBox(DWORD ui, HWND dialog, int id) {
  ClickButton(dialog, id);
  auto box = ReadMessageBox(WaitForMessageBox(ui, 5000));
  if (box) {
    ClickButton(box->window, IDOK);
    WaitUntilGone(box->window, 5000);
  }
  return box;
}

bool HasRequest(const std::vector<std::string>& calls, int code) {
  const std::string marker = " code=" + std::to_string(code) + " ";
  return std::any_of(calls.begin(), calls.end(),
                     [&](const std::string& call) { return call.find(marker) != std::string::npos; });
}

class TimerDialog : public ::testing::Test {
 protected:
  TimerDialog() : m_library(ResourceLibraryPath(false)), m_ui(::GetCurrentThreadId()) {}

  void SetUp() override {
    ASSERT_TRUE(m_library.Loaded());
    ASSERT_TRUE(m_printer.Ready());
    ASSERT_TRUE(m_printer.WriteSettings(kSupportedSettings));
    m_dialog.m_strDriverName = L"Kelva LP-100 Driver";
  }
  void TearDown() override {
    if (m_dialog.m_connection.m_hDevice != nullptr) m_dialog.m_connection.CloseDevice();
    m_dialog.m_connection.FreeStatusLibrary();
  }

  // What the printer selection dialog does before it runs the dialog.
  void OpenPrinter(const std::string& keys) {
    ASSERT_TRUE(m_printer.WriteState(PrinterState(keys)));
    if (!m_dialog.m_connection.IsBound()) {
      ASSERT_EQ(m_dialog.m_connection.LoadStatusLibrary(), 1);
    }
    ASSERT_EQ(m_dialog.m_connection.OpenDevice(kPrinter), 1);
    m_printer.ClearLog();
  }

  // Runs the dialog with `drive` on its own thread once the dialog shows.
  INT_PTR RunDriven(std::function<void(HWND)> drive) {
    std::thread driver([&] {
      const HWND window = WaitForDialog(m_ui, kTimerCaption);
      if (window != nullptr) drive(window);
    });
    const INT_PTR result = m_dialog.DoModal();
    driver.join();
    return result;
  }

  TimerDialogView ShowAndCancel() {
    TimerDialogView view;
    EXPECT_EQ(RunDriven([&](HWND window) {
                view = ReadTimerDialog(window);
                ClickButton(window, IDCANCEL);
              }),
              IDCANCEL);
    return view;
  }

  ScopedResourceModule m_library;
  SimulatedPrinterScope m_printer;
  DWORD m_ui;
  CTimerSettingsDlg m_dialog;
};

struct ShownCase {
  unsigned code;
  int check;
  int selected;
  bool enabled;
};

TEST_F(TimerDialog, ShowsThePrintersCodeAfterTheGateAndTheReadAndCancelWritesNothing) {
  const ShownCase cases[] = {
      {0x0005, BST_CHECKED, 4, true},
      {0x8002, BST_UNCHECKED, 1, false},
      {0x0009, BST_CHECKED, -1, true},
      {0x8000, BST_UNCHECKED, -1, false},
  };
  std::vector<std::wstring> labels;
  for (unsigned id = IDS_TIMER_CHOICE1; id <= IDS_TIMER_CHOICE8; ++id) labels.push_back(LibraryString(id));
  for (const ShownCase& c : cases) {
    SCOPED_TRACE(c.code);
    OpenPrinter(TimerCodeKey(c.code));
    const TimerDialogView view = ShowAndCancel();
    EXPECT_EQ(view.check, c.check);
    EXPECT_EQ(view.selected, c.selected);
    EXPECT_EQ(view.labels, labels);
    EXPECT_TRUE(c.enabled ? AllEnabled(view) : NoneEnabled(view));
    const auto calls = m_printer.LoggedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[0].find(" code=22 "), std::string::npos);
    EXPECT_NE(calls[1].find(" code=11 "), std::string::npos);
    EXPECT_NE(m_printer.ReadState().find(TimerCodeKey(c.code)), std::string::npos);
    m_dialog.m_connection.CloseDevice();
  }
}

TEST_F(TimerDialog, OkWithoutChangesWritesTheSameCodeAgain) {
  OpenPrinter(TimerCodeKey(0x8002));
  EXPECT_EQ(RunDriven([&](HWND window) { ClickButton(window, IDOK); }), IDOK);
  const auto calls = m_printer.LoggedCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_NE(calls[2].find(" code=12 inlen=16 out=no cap=0 count=null in=1C000000000000000000000002800000 -> 1"),
            std::string::npos)
      << calls[2];
}

TEST_F(TimerDialog, OkAsksForAChoiceUntilOneIsPickedEvenToSwitchPowerOffOff) {
  OpenPrinter(TimerCodeKey(0x0009));
  std::optional<MessageBoxSnapshot> first;
  std::optional<MessageBoxSnapshot> second;
  HWND dialogWindow = nullptr;
  bool openAfterBoxes = false;
  const INT_PTR result = RunDriven([&](HWND window) {
    dialogWindow = window;
    first = PressAndReadBox(m_ui, window, IDOK);
    ClickCheckBox(window);
    second = PressAndReadBox(m_ui, window, IDOK);
    openAfterBoxes = ::IsWindow(window) != FALSE;
    SelectChoice(window, 2);
    ClickButton(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(openAfterBoxes);
  for (const auto& box : {first, second}) {
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, LibraryString(1502));
    EXPECT_EQ(box->caption, LibraryString(1701));
    EXPECT_EQ(box->owner, dialogWindow);
  }
  const auto calls = m_printer.LoggedCalls();
  ASSERT_EQ(calls.size(), 3u);  // version, read, the one write
  EXPECT_NE(m_printer.ReadState().find(TimerCodeKey(0x8003)), std::string::npos);
}

TEST_F(TimerDialog, FailedWriteKeepsTheUsersSettingsAndALaterOkTriesAgain) {
  OpenPrinter(TimerCodeKey(0x0005) + "Fail=write\r\n");
  std::optional<MessageBoxSnapshot> box;
  TimerDialogView afterFailure;
  const INT_PTR result = RunDriven([&](HWND window) {
    SelectChoice(window, 6);
    ClickCheckBox(window);
    box = PressAndReadBox(m_ui, window, IDOK);
    afterFailure = ReadTimerDialog(window);
    m_printer.WriteState(PrinterState(TimerCodeKey(0x0005)));
    ClickButton(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, LibraryString(1502));
  EXPECT_EQ(afterFailure.check, BST_UNCHECKED);
  EXPECT_EQ(afterFailure.selected, 6);
  EXPECT_TRUE(NoneEnabled(afterFailure));
  const auto calls = m_printer.LoggedCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_NE(calls[2].find("in=1C000000000000000000000007800000 -> 0"), std::string::npos) << calls[2];
  EXPECT_NE(calls[3].find("in=1C000000000000000000000007800000 -> 1"), std::string::npos) << calls[3];
  EXPECT_NE(m_printer.ReadState().find(TimerCodeKey(0x8007)), std::string::npos);
}

struct FailureCase {
  const char* keys;
  const char* minimum;
  const wchar_t* windowClass;  // of a window titled as the main window; null: none
  bool readSent;
};

TEST_F(TimerDialog, GateOrReadFailureShows1501ToTheMainWindowAndEndsCancelled) {
  const FailureCase cases[] = {
      {"Fail=version\r\n", "01.05", L"#32770", false},
      {"Fail=version\r\n", "01.05", nullptr, false},
      {"", "01.06", L"#32770", false},  // firmware 01.05 below the driver's minimum
      {"Fail=read\r\n", "01.05", L"#32770", true},
      {"Fail=read\r\n", "01.05", nullptr, true},
      // Only a dialog is the main window: a title alone owns nothing.
      {"Fail=read\r\n", "01.05", L"STATIC", true},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(std::string(c.keys) + (c.windowClass != nullptr ? " with a titled window" : " alone"));
    HWND titled = nullptr;
    if (c.windowClass != nullptr) {
      titled = ::CreateWindowExW(0, c.windowClass, L"Somnivar Tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(titled, nullptr);
    }
    const HWND mainWindow = c.windowClass != nullptr && std::wstring(c.windowClass) == L"#32770" ? titled : nullptr;
    ASSERT_TRUE(m_printer.WriteSettings(std::string("[SUPPORT_DEVICE]\r\nKelva LP-100 Driver=") + c.minimum));
    OpenPrinter(c.keys);
    MessageBoxProbe probe(m_ui);
    const INT_PTR result = m_dialog.DoModal();
    const auto box = probe.Result();
    if (titled != nullptr) ::DestroyWindow(titled);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, LibraryString(1501));
    EXPECT_EQ(box->owner, mainWindow);
    const auto calls = m_printer.LoggedCalls();
    EXPECT_EQ(HasRequest(calls, 11), c.readSent);
    EXPECT_FALSE(HasRequest(calls, 12));
    m_dialog.m_connection.CloseDevice();
  }
}

// The reply count of the read is not examined: a library that leaves it unset
// works, and one that delivers nothing shows no choice, never the code the
// dialog held from the printer before.
TEST_F(TimerDialog, TheReadsReplyCountIsNotExaminedAndAnEmptyReplyShowsNoChoice) {
  OpenPrinter(TimerCodeKey(0x0005));
  ShowAndCancel();
  m_dialog.m_connection.CloseDevice();

  OpenPrinter(TimerCodeKey(0x8002) + "ReadCount=none\r\n");
  const TimerDialogView uncounted = ShowAndCancel();
  EXPECT_EQ(uncounted.check, BST_UNCHECKED);
  EXPECT_EQ(uncounted.selected, 1);
  m_dialog.m_connection.CloseDevice();

  OpenPrinter(TimerCodeKey(0x8002) + "ReadLength=0\r\n");
  TimerDialogView empty;
  std::optional<MessageBoxSnapshot> box;
  EXPECT_EQ(RunDriven([&](HWND window) {
              empty = ReadTimerDialog(window);
              box = PressAndReadBox(m_ui, window, IDOK);
              SelectChoice(window, 2);
              ClickButton(window, IDOK);
            }),
            IDOK);
  EXPECT_EQ(empty.check, BST_CHECKED);
  EXPECT_EQ(empty.selected, CB_ERR);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, LibraryString(1502));
  EXPECT_NE(m_printer.ReadState().find(TimerCodeKey(0x0003)), std::string::npos);
  const std::vector<std::string> calls = m_printer.LoggedCalls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& call) { return call.find(" code=12 ") != std::string::npos; }),
            1);
}

TEST_F(TimerDialog, DiagnosticModeSendsNothingAndTheBoxTogglesTheControls) {
  ASSERT_TRUE(m_printer.WriteSettings(kDiagnosticSettings));
  OpenPrinter(TimerCodeKey(0x0005));
  TimerDialogView shown;
  TimerDialogView checked;
  TimerDialogView unchecked;
  const INT_PTR result = RunDriven([&](HWND window) {
    shown = ReadTimerDialog(window);
    ClickCheckBox(window);
    checked = ReadTimerDialog(window);
    ClickCheckBox(window);
    unchecked = ReadTimerDialog(window);
    SelectChoice(window, -1);
    ClickButton(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(shown.check, BST_UNCHECKED);
  EXPECT_EQ(shown.selected, 0);
  EXPECT_EQ(shown.labels.size(), 8u);
  EXPECT_TRUE(NoneEnabled(shown));
  EXPECT_EQ(checked.check, BST_CHECKED);
  EXPECT_TRUE(AllEnabled(checked));
  EXPECT_EQ(unchecked.check, BST_UNCHECKED);
  EXPECT_TRUE(NoneEnabled(unchecked));
  EXPECT_TRUE(m_printer.LoggedCalls().empty());
}

// A library whose template 12 lacks both companions and whose labels have
// gaps; run in diagnostic mode, where no printer is needed.
TEST_F(TimerDialog, MissingLabelRepeatsThePreviousTextAcrossRuns) {
  ASSERT_TRUE(m_printer.WriteSettings(kDiagnosticSettings));
  ScopedResourceModule gaps(FixtureLibraryPath(L"timer_label_gaps"));
  ASSERT_TRUE(gaps.Loaded());
  std::vector<std::vector<std::wstring>> runs;
  bool enabledWhenChecked = false;
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(RunDriven([&](HWND window) {
                runs.push_back(ReadTimerDialog(window).labels);
                ClickCheckBox(window);
                enabledWhenChecked = ::IsWindowEnabled(::GetDlgItem(window, IDC_TIMER_COMBO)) != FALSE;
                ClickButton(window, IDCANCEL);
              }),
              IDCANCEL);
  }
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (std::vector<std::wstring>{L"", L"Two", L"Two", L"Four", L"Five", L"Five", L"Five", L"Five"}));
  EXPECT_EQ(runs[1],
            (std::vector<std::wstring>{L"Five", L"Two", L"Two", L"Four", L"Five", L"Five", L"Five", L"Five"}));
  EXPECT_TRUE(enabledWhenChecked);
}

TEST_F(TimerDialog, TemplateWithoutTheListWritesNothingOnOk) {
  ScopedResourceModule noList(FixtureLibraryPath(L"timer_no_list"));
  ASSERT_TRUE(noList.Loaded());
  OpenPrinter(TimerCodeKey(0x0005));
  std::optional<MessageBoxSnapshot> box;
  EXPECT_EQ(RunDriven([&](HWND window) {
              box = PressAndReadBox(m_ui, window, IDOK);
              ClickButton(window, IDCANCEL);
            }),
            IDCANCEL);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Write failed");
  EXPECT_FALSE(HasRequest(m_printer.LoggedCalls(), 12));
}

}  // namespace
}  // namespace somv::test
