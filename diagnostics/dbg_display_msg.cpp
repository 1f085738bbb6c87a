// Placeholder so that the selection dialog can be built against this class;
// replaced by the dialog's real behaviour.
#include "diagnostics/dbg_display_msg.h"

#include "resources/resource_ids.h"

namespace somv {

const MessageMapEntry CDbgDisplayMsg::kMessageEntries[] = {
    MapEnd(),
};

CDbgDisplayMsg::CDbgDisplayMsg(CWnd* parent) : CDialog(IDD_DEBUG_MSG, parent) {}

void CDbgDisplayMsg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
BOOL CDbgDisplayMsg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CDbgDisplayMsg::OnShowMsgClicked() {}

const MessageMap* CDbgDisplayMsg::GetMessageMap() const {
  static const MessageMap map{CDialog::GetMessageMap(), kMessageEntries};
  return &map;
}

}  // namespace somv
