#pragma once
// The dialog in which the user sees and changes one printer's power-off
// setting. It owns the device connection that the printer selection dialog
// binds, opens and closes around it.
#include <cstdint>
#include <string>

#include "device/device_connection.h"
#include "framework/dialog_win.h"
#include "messages/view_msg_win.h"
#include "timer/timer_choices.h"

namespace somv {

class CTimerSettingsDlg : public CDialog {
 public:
  explicit CTimerSettingsDlg(CWnd* parent = nullptr);
  ~CTimerSettingsDlg() override;

  // The three printer requests over m_connection: 1 success, 0 failure.
  // None of them is sent in diagnostic mode.
  int CheckFirmware();
  int ReadTimerCode();
  // Writes m_wTimerCode as it stands.
  int WriteTimerCode();

  const TimerChoice* const m_pTimerChoices;
  std::wstring m_strChoiceText;
  std::wstring m_strDriverName;
  DeviceConnection m_connection;
  CViewMSg m_viewMsg;
  std::uint16_t m_wTimerCode = 0;
  CComboBox m_comboTimer;
  CButton m_checkPowerOff;
  int m_bDebugUI = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  const MessageMap* GetMessageMap() const override;

  void OnTimerCheckClicked();
  void UpdateTimerControls();

 private:
  bool ReadPrinterSetting();
  void ShowPowerOffState();
  void FillTimerChoices();
  int SelectedChoice() const;

  static const MessageMapEntry kMessageEntries[];
};

}  // namespace somv
