#pragma once
// The main window: the supported printers in a two-column list, and the way
// to the timer settings of the one selected.
#include <cstdint>
#include <string>
#include <vector>

#include "common/unique_handle_win.h"
#include "diagnostics/dbg_display_dlg.h"
#include "diagnostics/dbg_display_msg.h"
#include "framework/dialog_win.h"
#include "messages/view_msg_win.h"
#include "timer/timer_settings_dlg.h"

namespace somv {

class CSomvDlg : public CDialog {
 public:
  explicit CSomvDlg(CWnd* parent = nullptr);
  ~CSomvDlg() override;

  std::uint16_t m_wRowCount = 0;
  std::int32_t m_nSortColumn = 0;
  BOOL m_bSortAscending = 0;
  UniqueIcon m_hIcon;  // at the large icon size; the small one is m_hSmallIcon
  CTimerSettingsDlg m_timerDlg;
  CListCtrl m_listPrinters;
  CButton m_btnOpen;
  BOOL m_bDebugUI = 0;
  CDbgDisplayMsg m_dlgDebugMsg;
  CDbgDisplayDlg m_dlgDebugDisplay;
  CViewMSg m_viewMsg;
  CButton m_btnDebugMsg;
  CButton m_btnDebugDisplay;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // 0 when the status library could not be bound: the dialog has ended then.
  BOOL OnInitDialog() override;
  const MessageMap* GetMessageMap() const override;

  // Escape, the close box and the Cancel button: releases the status library
  // and ends with 0.
  virtual void OnCancelClicked();

  void OnPaint();
  LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
  void OnOpenClicked();
  LRESULT OnPrinterListItemChanged(NMHDR* header);
  LRESULT OnPrinterListColumnClick(NMHDR* header);
  LRESULT OnPrinterListDoubleClick(NMHDR* header);
  void OnDebugMsgClicked();
  void OnDebugDisplayClicked();

 private:
  void InsertListColumn(int column, unsigned widthStringId, unsigned headerStringId, int defaultWidth,
                        std::wstring& text);
  // The found flag of discovery.
  int FillPrinterList();
  void ShowSortMarks(int ascendingApplied);
  static int CALLBACK ComparePrinterRows(LPARAM firstRow, LPARAM secondRow, LPARAM dialog);

  static const MessageMapEntry kMessageEntries[];

  // The sorted column as it stood before the sort under way, by row position.
  std::vector<std::u16string> m_sortSnapshot;
  UniqueIcon m_hSmallIcon;
};

}  // namespace somv
