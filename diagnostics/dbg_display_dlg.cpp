#include "diagnostics/dbg_display_dlg.h"

#include "resources/resource_ids.h"

namespace somv {

const MessageMapEntry CDbgDisplayDlg::kMessageEntries[] = {
    MapClicked(IDC_TIMER_DLG, &CDbgDisplayDlg::OnTimerDlgClicked),
    MapEnd(),
};

CDbgDisplayDlg::CDbgDisplayDlg(CWnd* parent) : CDialog(IDD_DEBUG_DISPLAY, parent) {}

void CDbgDisplayDlg::OnTimerDlgClicked() { m_timerDlg.DoModal(); }

const MessageMap* CDbgDisplayDlg::GetMessageMap() const {
  static const MessageMap map{kMessageEntries};
  return &map;
}

}  // namespace somv
