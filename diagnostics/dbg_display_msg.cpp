#include "diagnostics/dbg_display_msg.h"

#include "resources/resource_ids.h"

namespace somv {

static_assert(kIntegerPromptStringId == IDS_FRAMEWORK_INTEGER_PROMPT);

const MessageMapEntry CDbgDisplayMsg::kMessageEntries[] = {
    MapClicked(IDC_SHOW_MSG, &CDbgDisplayMsg::OnShowMsgClicked),
    MapEnd(),
};

CDbgDisplayMsg::CDbgDisplayMsg(CWnd* parent) : CDialog(IDD_DEBUG_MSG, parent) {}

void CDbgDisplayMsg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_MSG_ID_EDIT, m_nMsgId);
  DDX_Control(pDX, IDC_MSG_ID_EDIT, m_editMsgId);
}

BOOL CDbgDisplayMsg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_editMsgId.SetFocus();
  return FALSE;  // the focus is placed already
}

// The line length leaves out selected characters, so a field whose whole text
// is selected counts as empty.
void CDbgDisplayMsg::OnShowMsgClicked() {
  if (m_editMsgId.LineLength(-1) <= 0) {
    m_nMsgId = 0;
  } else {
    // On failure the framework has prompted and m_nMsgId keeps its value.
    UpdateData(true);
  }
  m_viewMsg.ShowMessage(nullptr, m_nMsgId);
}

const MessageMap* CDbgDisplayMsg::GetMessageMap() const {
  static const MessageMap map{kMessageEntries};
  return &map;
}

}  // namespace somv
