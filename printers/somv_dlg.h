#pragma once
// The main window: the supported printers in a two-column list, and the way
// to the timer settings of the one selected.
#include <cstdint>

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
  HICON m_hIcon = nullptr;
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
  BOOL OnInitDialog() override;
  const MessageMap* GetMessageMap() const override;

  virtual void OnCancelClicked();

 private:
  static const MessageMapEntry kMessageEntries[];
};

}  // namespace somv
