// The printer selection dialog in real windows: printers from the registry,
// the settings file in a temporary current directory, the real resource
// library and the simulated status library of the prefix.
#include "selection/somv_dlg.h"

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/names.h"
#include "common/win_text.h"
#include "framework/app_win.h"
#include "framework/resource_module_win.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/dialog_driver.h"
#include "tests/wine/support/message_box_probe.h"
#include "tests/wine/support/resource_library_fixture.h"
#include "tests/wine/support/scoped_environment.h"
#include "tests/wine/support/scoped_files.h"
#include "tests/wine/support/scoped_printer.h"
#include "tests/wine/support/screenshot_hold.h"
#include "tests/wine/support/simulated_printer.h"

namespace somv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Row = std::pair<std::wstring, std::wstring>;

constexpr wchar_t kMainCaption[] = L"Somnivar Tool";
constexpr wchar_t kTimerCaption[] = L"Power-Off Timer";
constexpr wchar_t kTesterCaption[] = L"Message Tester";
constexpr wchar_t kDisplayCaption[] = L"Diagnostic Display";

// The simulated library's calls of one kind ("open", "close").
std::vector<std::string> LoggedCalls(const std::wstring& log, const std::string& kind) {
  std::vector<std::string> calls;
  std::istringstream lines(ReadFileBytes(log));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kind + " ", 0) == 0) calls.push_back(line);
  }
  return calls;
}



// --- Reading and driving the list from the driver's thread ---

HWND PrinterList(HWND dialog) { return ::GetDlgItem(dialog, IDC_PRINTER_LIST); }

std::wstring CellText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<Row> ListRows(HWND dialog) {
  const HWND list = PrinterList(dialog);
  std::vector<Row> rows;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) rows.emplace_back(CellText(list, row, 0), CellText(list, row, 1));
  return rows;
}

std::vector<UINT> RowStates(HWND dialog) {
  const HWND list = PrinterList(dialog);
  std::vector<UINT> states;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    states.push_back(static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                                      LVIS_FOCUSED | LVIS_SELECTED)));
  }
  return states;
}

void SelectRow(HWND dialog, int row, bool selected) {
  LVITEMW item{};
  item.state = selected ? LVIS_SELECTED : 0;
  item.stateMask = LVIS_SELECTED;
  ::SendMessageW(PrinterList(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

struct Column {
  std::wstring header;
  int width;
};

Column ColumnOf(HWND dialog, int column) {
  wchar_t text[512] = {};
  LVCOLUMNW read{};
  read.mask = LVCF_TEXT | LVCF_WIDTH;
  read.pszText = text;
  read.cchTextMax = 512;
  ::SendMessageW(PrinterList(dialog), LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&read));
  return {text, read.cx};
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// Presses and releases the mouse on a column header, as a user does. Sent,
// so that the sort has finished when this returns.
void ClickColumnHeader(HWND dialog, int column) {
  const HWND header = reinterpret_cast<HWND>(::SendMessageW(PrinterList(dialog), LVM_GETHEADER, 0, 0));
  RECT rect{};
  ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(header, WM_LBUTTONUP, 0, at);
}

bool IsControlVisible(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != 0; }
bool IsControlEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != 0; }

// Returns once the dialog's thread has finished what it was doing when
// this was sent and is back in its message loop.
void Settle(HWND window) { ::SendMessageW(window, WM_NULL, 0, 0); }

// --- The fixture ---

struct Printer {
  std::wstring name;
  std::wstring driver;
};

class SelectionDialog : public ::testing::Test {
 protected:
  SelectionDialog()
      : m_library(ResourceLibraryPath(false)),
        m_cd(m_dir.Path()),
        m_state(L"SOMV_SIMPRINTER_STATE", m_dir.PathOf(L"SIMPRN.INI")),
        m_log(L"SOMV_SIMPRINTER_LOG", m_dir.PathOf(L"calls.log")),
        m_ui(::GetCurrentThreadId()) {}

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    ASSERT_TRUE(m_library.Loaded());
    ASSERT_TRUE(m_cd.Moved());
    ASSERT_FALSE(IsStatusLibraryLoaded());
  }
  void TearDown() override {
    // A test that failed half-way must not leave the library to the next one.
    for (int i = 0; i < 8; ++i) {
      const HMODULE left = ::GetModuleHandleW(StatusLibraryName().c_str());
      if (left == nullptr || !::FreeLibrary(left)) break;
    }
  }

  // Installs the printers; `supported` drivers go into the settings file,
  // printers in `openable` into the simulated library's state file.
  void Install(const std::vector<Printer>& printers, const std::vector<std::wstring>& supported,
               const std::vector<std::wstring>& openable, bool debugUI = false) {
    for (const Printer& printer : printers) {
      m_printers.push_back(std::make_unique<ScopedPrinter>(printer.name, printer.driver));
      ASSERT_TRUE(m_printers.back()->Added()) << ToU8(printer.name);
    }
    std::wstring settings = L"[SUPPORT_DEVICE]\r\n";
    for (const std::wstring& driver : supported) settings += driver + L"=01.00\r\n";
    if (debugUI) settings += L"[Debug]\r\nDebugUI=1\r\n";
    ASSERT_TRUE(WriteFileBytes(m_dir.PathOf(L"ZELV4PO.INI"), Utf16LeWithBom(ToU16(settings))));
    std::wstring state;
    for (const std::wstring& name : openable) state += L"[" + name + L"]\r\nMajor=1\r\n";
    ASSERT_TRUE(WriteFileBytes(m_dir.PathOf(L"SIMPRN.INI"), Utf16LeWithBom(ToU16(state))));
  }

  // Runs the dialog modally here while `drive` works it from another thread;
  // whatever `drive` leaves open is cancelled so that the test ends.
  INT_PTR Run(CSomvDlg& dialog, const std::function<void(HWND)>& drive) {
    std::thread driver([&] {
      const HWND window = WaitForThreadWindow(m_ui, 5000, [](HWND shown) {
        return WindowText(shown) == kMainCaption && PrinterList(shown) != nullptr;
      });
      if (window == nullptr) return;
      drive(window);
      while (!WaitUntilGone(window, 3000)) {
        ADD_FAILURE() << "the dialog was left open";
        if (const HWND open = WaitForThreadWindow(m_ui, 0, [](HWND) { return true; })) {
          ::PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
        }
      }
    });
    const INT_PTR result = dialog.DoModal();
    driver.join();
    return result;
  }

  std::vector<std::string> Calls(const std::string& kind) const {
    return LoggedCalls(m_dir.PathOf(L"calls.log"), kind);
  }

  static std::string ToU8(const std::wstring& text) {
    std::string narrow;
    for (wchar_t unit : text) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
    return narrow;
  }

  ScopedResourceModule m_library;
  ScopedTempDir m_dir;
  ScopedCurrentDirectory m_cd;
  ScopedEnvironment m_state;
  ScopedEnvironment m_log;
  DWORD m_ui;
  std::vector<std::unique_ptr<ScopedPrinter>> m_printers;
};

TEST_F(SelectionDialog, ListsSupportedPrintersWithOnlyTheFocusMarkOnTheTopRow) {
  Install({{L"somv select a", L"Kelva LP-100"},
           {L"somv select B", L"Other LP-100"},
           {L"somv select c", L"Kelva LP-200"},
           {L"somv select D", L"Kelva LP-100"}},
          {L"Kelva LP-100", L"Kelva LP-200"}, {});
  CSomvDlg dialog;
  std::vector<Row> rows;
  std::vector<UINT> states;
  int selected = 0;
  bool openEnabled = true;
  bool debugButtonsShown = true;
  bool bound = false;
  std::vector<Column> columns;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HICON dragIcon = nullptr;
  const INT_PTR result = Run(dialog, [&](HWND window) {
    rows = ListRows(window);
    states = RowStates(window);
    selected = static_cast<int>(::SendMessageW(PrinterList(window), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                               LVNI_SELECTED));
    openEnabled = IsControlEnabled(window, IDC_OPEN_PRINTER);
    debugButtonsShown = IsControlVisible(window, IDC_DEBUG_MSG) || IsControlVisible(window, IDC_DEBUG_DISPLAY);
    bound = IsStatusLibraryLoaded();
    columns = {ColumnOf(window, 0), ColumnOf(window, 1)};
    bigIcon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    smallIcon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    dragIcon = reinterpret_cast<HICON>(::SendMessageW(window, WM_QUERYDRAGICON, 0, 0));
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  // The spooler lists a, B, c, D; the list shows them the other way round.
  EXPECT_THAT(rows, ElementsAre(Row(L"somv select D", L"Kelva LP-100"), Row(L"somv select c", L"Kelva LP-200"),
                                Row(L"somv select a", L"Kelva LP-100")));
  EXPECT_EQ(dialog.m_wRowCount, 3);
  EXPECT_THAT(states, ElementsAre(LVIS_FOCUSED, 0u, 0u));
  EXPECT_EQ(selected, -1);
  EXPECT_FALSE(openEnabled);
  EXPECT_FALSE(debugButtonsShown);
  EXPECT_TRUE(bound);
  EXPECT_FALSE(IsStatusLibraryLoaded());
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[0].header, L"Printer");
  EXPECT_EQ(columns[0].width, 200);
  EXPECT_EQ(columns[1].header, L"Driver");
  EXPECT_EQ(columns[1].width, 250);
  ASSERT_NE(dialog.m_hIcon.Get(), nullptr);
  EXPECT_EQ(bigIcon, dialog.m_hIcon.Get());
  EXPECT_EQ(dragIcon, dialog.m_hIcon.Get());
  EXPECT_EQ(IconWidth(bigIcon), ::GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(IconWidth(smallIcon), ::GetSystemMetrics(SM_CXSMICON));
}

TEST_F(SelectionDialog, OpenButtonFollowsTheSelection) {
  Install({{L"somv select a", L"Kelva LP-100"}, {L"somv select b", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {});
  CSomvDlg dialog;
  std::vector<bool> enabled;
  Run(dialog, [&](HWND window) {
    SelectRow(window, 1, true);
    enabled.push_back(IsControlEnabled(window, IDC_OPEN_PRINTER));
    SelectRow(window, 1, false);
    enabled.push_back(IsControlEnabled(window, IDC_OPEN_PRINTER));
    SelectRow(window, 0, true);
    enabled.push_back(IsControlEnabled(window, IDC_OPEN_PRINTER));
    ClickButton(window, IDCANCEL);
  });
  EXPECT_THAT(enabled, ElementsAre(true, false, true));
}

TEST_F(SelectionDialog, HeaderClicksSortByCodeUnitDescendingFirstThenAscending) {
  // Registry keys ignore case, so the names that differ only in case are the
  // drivers'; the profile reader finds all three under one key.
  Install({{L"somv select 1", L"Kelva Lp"}, {L"somv select 2", L"Kelva LP"}, {L"somv select 3", L"Kelva lp"}},
          {L"Kelva LP"}, {});
  CSomvDlg dialog;
  std::vector<std::vector<Row>> orders;
  std::vector<BOOL> directions;
  Run(dialog, [&](HWND window) {
    orders.push_back(ListRows(window));
    for (int column : {1, 1, 0}) {
      ClickColumnHeader(window, column);
      orders.push_back(ListRows(window));
      directions.push_back(dialog.m_bSortAscending);
    }
    ClickButton(window, IDCANCEL);
  });
  ASSERT_EQ(orders.size(), 4u);
  EXPECT_THAT(orders[0], ElementsAre(Row(L"somv select 3", L"Kelva lp"), Row(L"somv select 2", L"Kelva LP"),
                                     Row(L"somv select 1", L"Kelva Lp")));
  EXPECT_THAT(orders[1], ElementsAre(Row(L"somv select 3", L"Kelva lp"), Row(L"somv select 1", L"Kelva Lp"),
                                     Row(L"somv select 2", L"Kelva LP")));
  EXPECT_THAT(orders[2], ElementsAre(Row(L"somv select 2", L"Kelva LP"), Row(L"somv select 1", L"Kelva Lp"),
                                     Row(L"somv select 3", L"Kelva lp")));
  // The third click, on the other column, goes on with the alternation.
  EXPECT_THAT(orders[3], ElementsAre(Row(L"somv select 3", L"Kelva lp"), Row(L"somv select 2", L"Kelva LP"),
                                     Row(L"somv select 1", L"Kelva Lp")));
  EXPECT_THAT(directions, ElementsAre(1, 0, 1));
  EXPECT_EQ(dialog.m_nSortColumn, 0);
}

TEST_F(SelectionDialog, OpenRunsTheTimerDialogBetweenOneOpenAndOneClose) {
  Install({{L"somv select a", L"Kelva LP-100"}, {L"somv select b", L"Kelva LP-200"}},
          {L"Kelva LP-100", L"Kelva LP-200"}, {L"somv select a", L"somv select b"});
  CSomvDlg dialog;
  CWinApp app;
  app.m_pMainWnd = &dialog;
  HWND mainWindow = nullptr;
  HWND timerOwner = nullptr;
  std::vector<std::string> opensWhileShown;
  std::vector<std::string> closesWhileShown;
  HWND focus = nullptr;
  HWND list = nullptr;
  Run(dialog, [&](HWND window) {
    mainWindow = window;
    list = PrinterList(window);
    SelectRow(window, 1, true);
    ClickButton(window, IDC_OPEN_PRINTER);
    const HWND timer = WaitForDialog(m_ui, kTimerCaption);
    timerOwner = ::GetWindow(timer, GW_OWNER);
    opensWhileShown = Calls("open");
    closesWhileShown = Calls("close");
    ClickButton(timer, IDCANCEL);
    WaitUntilGone(timer, 5000);
    Settle(window);
    focus = FocusOf(m_ui);
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(timerOwner, mainWindow);
  EXPECT_THAT(opensWhileShown, ElementsAre(::testing::StartsWith("open name=somv select a reserved=0,0 -> 1")));
  EXPECT_THAT(closesWhileShown, IsEmpty());
  EXPECT_THAT(Calls("open"), ::testing::SizeIs(1));
  EXPECT_THAT(Calls("close"), ElementsAre(::testing::EndsWith("-> 1")));
  EXPECT_EQ(dialog.m_timerDlg.m_strDriverName, L"Kelva LP-100");
  EXPECT_EQ(focus, list);
  EXPECT_FALSE(IsStatusLibraryLoaded());
}

TEST_F(SelectionDialog, FailedOpenShowsMessage1501OwnedByTheMainWindowAndFocusesTheList) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {});
  CSomvDlg dialog;
  MessageBoxRecorder recorder;
  std::optional<MessageBoxSnapshot> box;
  bool timerShown = true;
  HWND mainWindow = nullptr;
  HWND focus = nullptr;
  HWND list = nullptr;
  Run(dialog, [&](HWND window) {
    mainWindow = window;
    list = PrinterList(window);
    SelectRow(window, 0, true);
    ClickButton(window, IDC_OPEN_PRINTER);
    box = ReadMessageBox(WaitForMessageBox(m_ui, 5000));
    if (box) {
      ClickButton(box->window, IDOK);
      WaitUntilGone(box->window, 5000);
    }
    Settle(window);
    timerShown = WaitForDialog(m_ui, kTimerCaption, 0) != nullptr;
    focus = FocusOf(m_ui);
    ClickButton(window, IDCANCEL);
  });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, LibraryString(IDS_MSG_DEVICE_FAILED));
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].owner, mainWindow);
  EXPECT_FALSE(timerShown);
  EXPECT_EQ(focus, list);
  EXPECT_THAT(Calls("open"), ElementsAre(::testing::HasSubstr("-> 0")));
  EXPECT_THAT(Calls("close"), IsEmpty());
}

TEST_F(SelectionDialog, AFailedOpenThatWritesAHandleLeavesNothingToClose) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {});
  ASSERT_TRUE(WriteFileBytes(m_dir.PathOf(L"SIMPRN.INI"), "[somv select a]\r\nFail=open\r\nFailedOpenHandle=7\r\n"));
  MessageBoxRecorder recorder(false);
  {
    CSomvDlg dialog;
    // OK ends the dialog with the library still bound, so the teardown could
    // still reach it.
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                    SelectRow(window, 0, true);
                    ClickButton(window, IDC_OPEN_PRINTER);
                    Settle(window);
                    ClickButton(window, IDOK);
                  }),
              1);
    EXPECT_EQ(dialog.m_timerDlg.m_connection.m_hDevice, nullptr);
  }
  EXPECT_THAT(Calls("open"), ElementsAre(::testing::HasSubstr("-> 0 handle=7")));
  EXPECT_THAT(Calls("close"), IsEmpty());
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].text, LibraryString(IDS_MSG_DEVICE_FAILED));
}

TEST_F(SelectionDialog, OpenWithoutASelectionAsksForThePrinterWithNoName) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {L"somv select a"});
  CSomvDlg dialog;
  dialog.m_timerDlg.m_strDriverName = L"left over";
  MessageBoxRecorder recorder(false);
  Run(dialog, [&](HWND window) {
    ClickButton(window, IDC_OPEN_PRINTER);
    Settle(window);
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.m_timerDlg.m_strDriverName, L"");
  EXPECT_THAT(Calls("open"), ElementsAre(::testing::StartsWith("open name= reserved=0,0 -> 0")));
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].text, LibraryString(IDS_MSG_DEVICE_FAILED));
}

TEST_F(SelectionDialog, DiagnosticModeShowsItsButtonsAndOpensNoDevice) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {L"somv select a"}, true);
  CSomvDlg dialog;
  bool buttonsShown = false;
  bool timerShown = false;
  bool testerShown = false;
  bool displayShown = false;
  Run(dialog, [&](HWND window) {
    buttonsShown = IsControlVisible(window, IDC_DEBUG_MSG) && IsControlVisible(window, IDC_DEBUG_DISPLAY);
    SelectRow(window, 0, true);
    const std::pair<int, const wchar_t*> presses[] = {
        {IDC_OPEN_PRINTER, kTimerCaption}, {IDC_DEBUG_MSG, kTesterCaption}, {IDC_DEBUG_DISPLAY, kDisplayCaption}};
    for (const auto& [button, caption] : presses) {
      ClickButton(window, button);
      const HWND shown = WaitForDialog(m_ui, caption);
      (button == IDC_OPEN_PRINTER ? timerShown : button == IDC_DEBUG_MSG ? testerShown : displayShown) =
          shown != nullptr;
      if (shown == nullptr) continue;
      ClickButton(shown, IDCANCEL);
      WaitUntilGone(shown, 5000);
      Settle(window);
    }
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.m_bDebugUI, 1);
  EXPECT_TRUE(buttonsShown);
  EXPECT_TRUE(timerShown);
  EXPECT_TRUE(testerShown);
  EXPECT_TRUE(displayShown);
  EXPECT_EQ(dialog.m_timerDlg.m_strDriverName, L"Kelva LP-100");
  EXPECT_THAT(Calls("open"), IsEmpty());
  EXPECT_THAT(Calls("close"), IsEmpty());
}

TEST_F(SelectionDialog, WithoutSupportedPrintersTheListIsEmptyAndNothingIsBound) {
  Install({{L"somv select a", L"KELVA LP-100"}}, {L"KELVA LP-100"}, {});
  CSomvDlg dialog;
  std::vector<Row> rows = {{L"not", L"read"}};
  bool bound = true;
  bool openEnabled = true;
  Run(dialog, [&](HWND window) {
    ClickColumnHeader(window, 0);
    rows = ListRows(window);
    bound = IsStatusLibraryLoaded();
    openEnabled = IsControlEnabled(window, IDC_OPEN_PRINTER);
    ClickButton(window, IDCANCEL);
  });
  EXPECT_THAT(rows, IsEmpty());
  EXPECT_EQ(dialog.m_wRowCount, 0);
  EXPECT_FALSE(bound);
  EXPECT_FALSE(openEnabled);
}

TEST_F(SelectionDialog, FailedBindingShows1503WithoutOwnerAndNeverShowsTheDialog) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {});
  ScopedStatusLibraryReplacement missing(L"");
  ASSERT_TRUE(missing.Moved());
  MessageBoxRecorder recorder;
  // The box has the main window's caption too, but no printer list.
  const auto mainWindow = [this](DWORD timeoutMs) {
    return WaitForThreadWindow(m_ui, timeoutMs, [](HWND window) { return PrinterList(window) != nullptr; });
  };
  bool shownWithTheBox = true;
  MessageBoxProbe probe(m_ui, 5000, [&](const MessageBoxSnapshot&) { shownWithTheBox = mainWindow(0) != nullptr; });
  bool shownAfterTheBox = false;
  std::thread watcher([&] {
    if (const HWND window = mainWindow(1500)) {
      shownAfterTheBox = true;
      ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
  });
  CSomvDlg dialog;
  EXPECT_EQ(dialog.DoModal(), 0);
  const auto box = probe.Result();
  watcher.join();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, LibraryString(IDS_MSG_SETUP_MISSING));
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].owner, nullptr);
  EXPECT_FALSE(shownWithTheBox);
  EXPECT_FALSE(shownAfterTheBox);
}

TEST_F(SelectionDialog, CancelReleasesTheStatusLibraryOnce) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {L"somv select a"});
  // A reference of our own: one release too many would unload the library.
  const HMODULE ours = ::LoadLibraryW(InstalledStatusLibraryPath().c_str());
  ASSERT_NE(ours, nullptr);
  CSomvDlg dialog;
  const INT_PTR result = Run(dialog, [&](HWND window) {
    SelectRow(window, 0, true);
    ClickButton(window, IDC_OPEN_PRINTER);
    if (const HWND timer = WaitForDialog(m_ui, kTimerCaption)) {
      ClickButton(timer, IDCANCEL);
      WaitUntilGone(timer, 5000);
    }
    Settle(window);
    ClickButton(window, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(dialog.m_timerDlg.m_connection.m_hStatusLib.Get(), nullptr);
  EXPECT_TRUE(IsStatusLibraryLoaded());
  ::FreeLibrary(ours);
  EXPECT_FALSE(IsStatusLibraryLoaded());
}

TEST_F(SelectionDialog, OkEndsWithOneAndKeepsTheStatusLibrary) {
  Install({{L"somv select a", L"Kelva LP-100"}}, {L"Kelva LP-100"}, {});
  {
    CSomvDlg dialog;
    const INT_PTR result = Run(dialog, [&](HWND window) { ClickButton(window, IDOK); });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(IsStatusLibraryLoaded());
  }
  EXPECT_TRUE(IsStatusLibraryLoaded());
}

TEST_F(SelectionDialog, ColumnStringsFallBackAsTheLibraryGivesThem) {
  ScopedResourceModule gaps(FixtureLibraryPath(L"selection_columns"));
  ASSERT_TRUE(gaps.Loaded());
  Install({}, {}, {});
  CSomvDlg dialog;
  std::vector<Column> columns;
  Run(dialog, [&](HWND window) {
    columns = {ColumnOf(window, 0), ColumnOf(window, 1)};
    ClickButton(window, IDCANCEL);
  });
  ASSERT_EQ(columns.size(), 2u);
  // No header string of its own: the header keeps the width string's text.
  EXPECT_EQ(columns[0].header, L" 120px");
  EXPECT_EQ(columns[0].width, 120);
  EXPECT_EQ(columns[1].width, 250);
  EXPECT_EQ(columns[1].header.size(), 259u);
  EXPECT_EQ(columns[1].header.rfind(L"Driver xxx", 0), 0u);
}

// --- Screenshot, for tests/wine/take_screenshots.sh ---


class SelectionScreenshots : public SelectionDialog {};

TEST_F(SelectionScreenshots, SelectionDialogWithPrinters) {
  const std::wstring directory = ScreenshotDirectory();
  if (directory.empty()) GTEST_SKIP() << "SOMV_SCREENSHOT_DIR is not set";
  for (bool debugUI : {false, true}) {
    m_printers.clear();
    Install({{L"somv select Front Office", L"Kelva LP-7200 Series"},
             {L"somv select Label Desk", L"Kelva LX-410"},
             {L"somv select Warehouse (Bay 3)", L"Kelva LP-7200 Series"}},
            {L"Kelva LP-7200 Series", L"Kelva LX-410"}, {}, debugUI);
    CSomvDlg dialog;
    Run(dialog, [&](HWND window) {
      SelectRow(window, 1, true);
      HoldForScreenshot(directory, debugUI ? L"selection-diagnostic" : L"selection");
      ClickButton(window, IDCANCEL);
    });
  }
}

}  // namespace
}  // namespace somv::test
