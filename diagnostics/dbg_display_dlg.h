#pragma once
// The diagnostic display: runs a timer settings dialog that belongs to no
// printer and never has a bound status library.
#include "framework/dialog_win.h"
#include "timer/timer_settings_dlg.h"

namespace somv {

class CDbgDisplayDlg : public CDialog {
 public:
  explicit CDbgDisplayDlg(CWnd* parent = nullptr);

  CTimerSettingsDlg m_timerDlg;

 protected:
  const MessageMap* GetMessageMap() const override;

  void OnTimerDlgClicked();

 private:
  static const MessageMapEntry kMessageEntries[];
};

}  // namespace somv
