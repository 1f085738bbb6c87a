#include "selection/somv_dlg.h"

#include "common/names.h"
#include "common/win_text.h"
#include "framework/resource_module_win.h"
#include "framework/wait_cursor_win.h"
#include "framework/window_search_win.h"
#include "printers/discovery_win.h"
#include "resources/resource_ids.h"
#include "selection/selection_rules.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

// The process is system DPI aware: one scale for every window it shows.
int DisplayDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

const MessageMapEntry CSomvDlg::kMessageEntries[] = {
    MapMessage(WM_PAINT, &CSomvDlg::OnPaint),
    MapMessage(WM_QUERYDRAGICON, &CSomvDlg::OnQueryDragIcon),
    MapClicked(IDC_OPEN_PRINTER, &CSomvDlg::OnOpenClicked),
    MapNotify(IDC_PRINTER_LIST, LVN_ITEMCHANGED, &CSomvDlg::OnPrinterListItemChanged),
    MapNotify(IDC_PRINTER_LIST, LVN_COLUMNCLICK, &CSomvDlg::OnPrinterListColumnClick),
    MapNotify(IDC_PRINTER_LIST, NM_DBLCLK, &CSomvDlg::OnPrinterListDoubleClick),
    MapClicked(IDCANCEL, &CSomvDlg::OnCancelClicked),
    MapClicked(IDC_DEBUG_MSG, &CSomvDlg::OnDebugMsgClicked),
    MapClicked(IDC_DEBUG_DISPLAY, &CSomvDlg::OnDebugDisplayClicked),
    MapEnd(),
};

CSomvDlg::CSomvDlg(CWnd* parent)
    : CDialog(IDD_SOMV_DIALOG, parent),
      m_hIcon(LoadResIconSized(IDI_SOMV_ICON, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON))),
      m_hSmallIcon(LoadResIconSized(IDI_SOMV_ICON, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON))) {}

CSomvDlg::~CSomvDlg() = default;

const MessageMap* CSomvDlg::GetMessageMap() const {
  static const MessageMap map{kMessageEntries};
  return &map;
}

void CSomvDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PRINTER_LIST, m_listPrinters);
  DDX_Control(pDX, IDC_OPEN_PRINTER, m_btnOpen);
  DDX_Control(pDX, IDC_DEBUG_MSG, m_btnDebugMsg);
  DDX_Control(pDX, IDC_DEBUG_DISPLAY, m_btnDebugDisplay);
}

BOOL CSomvDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.Get()));
  m_listPrinters.AddExtendedStyle(LVS_EX_FULLROWSELECT);

  // One text for all four loads: a string the library lacks leaves the text
  // of the load before it.
  std::wstring text;
  InsertListColumn(0, IDS_COLUMN_PRINTER_WIDTH, IDS_COLUMN_PRINTER, kPrinterColumnDefaultWidth, text);
  InsertListColumn(1, IDS_COLUMN_DRIVER_WIDTH, IDS_COLUMN_DRIVER, kDriverColumnDefaultWidth, text);

  m_bDebugUI = IsDebugUIEnabled() ? 1 : 0;
  if (m_bDebugUI == 0) {
    m_btnDebugDisplay.ShowWindow(SW_HIDE);
    m_btnDebugMsg.ShowWindow(SW_HIDE);
  }
  m_btnOpen.EnableWindow(false);

  if (FillPrinterList() != 0) {
    m_bSortAscending = 0;
    if (m_timerDlg.m_connection.LoadStatusLibrary() == 0) {
      m_viewMsg.ShowMessage(nullptr, IDS_MSG_SETUP_MISSING);
      EndDialog(0);
      return 0;
    }
  }
  return 1;
}

void CSomvDlg::InsertListColumn(int column, unsigned widthStringId, unsigned headerStringId, int defaultWidth,
                                std::wstring& text) {
  LoadResString(widthStringId, text);
  const int width = ScaleToDpi(ColumnWidthFromText(ToU16(text), defaultWidth), DisplayDpi());
  LoadResString(headerStringId, text);
  m_listPrinters.InsertColumn(column, ToWide(CutColumnHeader(ToU16(text))), width);
}

int CSomvDlg::FillPrinterList() {
  const DiscoveryResult discovered = FindSupportedPrinters();
  m_wRowCount = 0;
  // Each printer goes in at the top as the spooler lists it, which leaves
  // the rows in display order.
  for (auto row = discovered.rows.rbegin(); row != discovered.rows.rend(); ++row) {
    m_listPrinters.InsertItem(0, ToWide(row->strPrinterName));
    m_listPrinters.SetItemText(0, 1, ToWide(row->strDriverName));
    ++m_wRowCount;
  }
  if (m_wRowCount > 0) m_listPrinters.SetItemState(m_listPrinters.GetTopIndex(), LVIS_FOCUSED, LVIS_FOCUSED);
  return discovered.found;
}

void CSomvDlg::OnPaint() {
  if (!::IsIconic(m_hWnd)) {
    SetMsgHandled(false);
    return;
  }
  PAINTSTRUCT paint{};
  const HDC dc = ::BeginPaint(m_hWnd, &paint);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int x = CentredIconOrigin(client.right - client.left, ::GetSystemMetrics(SM_CXICON));
  const int y = CentredIconOrigin(client.bottom - client.top, ::GetSystemMetrics(SM_CYICON));
  ::DrawIcon(dc, x, y, m_hIcon.Get());
  ::EndPaint(m_hWnd, &paint);
}

LRESULT CSomvDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon.Get()); }

void CSomvDlg::OnOpenClicked() {
  std::wstring printerName;
  std::wstring driverName;
  const int row = m_listPrinters.GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) {
    printerName = m_listPrinters.GetItemText(row, 0);
    driverName = m_listPrinters.GetItemText(row, 1);
  }
  m_timerDlg.m_strDriverName = driverName;

  if (m_bDebugUI == 0) {
    const HWND owner = FindOwnMainWindow();
    if (WhileWaiting([&] { return m_timerDlg.m_session.Open(ToU16(printerName)); }) != SessionOutcome::Done) {
      m_viewMsg.ShowMessage(owner, IDS_MSG_DEVICE_FAILED);
      m_listPrinters.SetFocus();
      return;
    }
  }
  m_timerDlg.DoModal();
  m_timerDlg.m_session.Close();
  m_listPrinters.SetFocus();
}

LRESULT CSomvDlg::OnPrinterListItemChanged(NMHDR*) {
  m_btnOpen.EnableWindow(IsOpenButtonEnabled(m_listPrinters.GetNextItem(-1, LVNI_SELECTED)));
  return 0;
}

LRESULT CSomvDlg::OnPrinterListColumnClick(NMHDR* header) {
  m_nSortColumn = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  m_sortSnapshot.clear();
  for (int row = 0; row < m_wRowCount; ++row) {
    m_listPrinters.SetItemData(row, row);
    m_sortSnapshot.push_back(ToU16(m_listPrinters.GetItemText(row, m_nSortColumn)));
  }
  m_listPrinters.SortItems(&CSomvDlg::ComparePrinterRows, reinterpret_cast<LPARAM>(this));
  m_sortSnapshot.clear();
  ShowSortMarks(m_bSortAscending);
  m_bSortAscending = ToggleSortDirection(m_bSortAscending);
  return 0;
}

void CSomvDlg::ShowSortMarks(int ascendingApplied) {
  for (int column = 0; column < m_listPrinters.GetColumnCount(); ++column) {
    const SortMark mark = SortMarkOf(column, m_nSortColumn, ascendingApplied, m_wRowCount);
    m_listPrinters.SetSortMark(column, mark == SortMark::Ascending    ? HDF_SORTUP
                                       : mark == SortMark::Descending ? HDF_SORTDOWN
                                                                      : 0);
  }
}

// Posted, as the button itself would send it: the list finishes its click
// before the timer dialog runs.
LRESULT CSomvDlg::OnPrinterListDoubleClick(NMHDR* header) {
  const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
  if (DoubleClickOpens(row, ::IsWindowEnabled(m_btnOpen.m_hWnd) != FALSE)) {
    ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OPEN_PRINTER, BN_CLICKED), reinterpret_cast<LPARAM>(m_btnOpen.m_hWnd));
  }
  return 0;
}

int CALLBACK CSomvDlg::ComparePrinterRows(LPARAM firstRow, LPARAM secondRow, LPARAM dialog) {
  const auto* self = reinterpret_cast<const CSomvDlg*>(dialog);
  return CompareSnapshotRows(self->m_sortSnapshot, firstRow, secondRow, self->m_bSortAscending);
}

void CSomvDlg::OnCancelClicked() {
  m_timerDlg.m_connection.FreeStatusLibrary();
  EndDialog(0);
}

void CSomvDlg::OnDebugMsgClicked() { m_dlgDebugMsg.DoModal(); }

void CSomvDlg::OnDebugDisplayClicked() { m_dlgDebugDisplay.DoModal(); }

}  // namespace somv
