// Placeholder so that the selection dialog can be built against this class;
// replaced by the dialog's real behaviour.
#include "diagnostics/dbg_display_dlg.h"

#include "resources/resource_ids.h"

namespace somv {

const MessageMapEntry CDbgDisplayDlg::kMessageEntries[] = {
    MapEnd(),
};

CDbgDisplayDlg::CDbgDisplayDlg(CWnd* parent) : CDialog(IDD_DEBUG_DISPLAY, parent) {}

void CDbgDisplayDlg::OnTimerDlgClicked() {}

const MessageMap* CDbgDisplayDlg::GetMessageMap() const {
  static const MessageMap map{CDialog::GetMessageMap(), kMessageEntries};
  return &map;
}

}  // namespace somv
