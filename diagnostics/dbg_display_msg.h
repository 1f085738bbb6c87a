#pragma once
// The message tester: shows any catalogue message by the id typed into it.
#include "framework/dialog_win.h"
#include "messages/view_msg_win.h"

namespace somv {

class CDbgDisplayMsg : public CDialog {
 public:
  explicit CDbgDisplayMsg(CWnd* parent = nullptr);

  CViewMSg m_viewMsg;
  int m_nMsgId = 0;
  CEdit m_editMsgId;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  const MessageMap* GetMessageMap() const override;

  void OnShowMsgClicked();

 private:
  static const MessageMapEntry kMessageEntries[];
};

}  // namespace somv
