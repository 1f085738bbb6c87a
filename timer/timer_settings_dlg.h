#pragma once
// The dialog in which the user sees and changes one printer's power-off
// setting. It owns the device connection that the printer selection dialog
// binds, opens and closes around it.
#include <cstdint>
#include <string>

#include "device/device_connection.h"
#include "device/printer_session.h"
#include "framework/dialog_win.h"
#include "messages/view_msg_win.h"
#include "timer/power_off_timer.h"
#include "timer/timer_choices.h"

namespace somv {

class CTimerSettingsDlg : public CDialog {
 public:
  explicit CTimerSettingsDlg(CWnd* parent = nullptr);
  ~CTimerSettingsDlg() override;

  // The three printer requests over the device the selection dialog opened
  // through m_session: 1 success, 0 failure. None of them is sent in
  // diagnostic mode.
  int CheckFirmware();
  // On 1, m_wTimerCode holds the code as the printer sent it.
  int ReadTimerCode();
  // On 1, m_wTimerCode holds the code written.
  int WriteTimerCode(std::uint16_t timerCode);

  const TimerChoice* const m_pTimerChoices;
  std::wstring m_strChoiceText;
  std::wstring m_strDriverName;
  DeviceConnection m_connection;
  // Opened and closed by the selection dialog around each run.
  PrinterSession m_session;
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
  void ShowTimer(const PowerOffTimer& timer);
  void FillTimerChoices();
  int SelectedChoice() const;

  static const MessageMapEntry kMessageEntries[];
};

}  // namespace somv
