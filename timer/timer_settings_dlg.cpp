#include "timer/timer_settings_dlg.h"

#include "common/names.h"
#include "common/win_text.h"
#include "device/device_requests.h"
#include "device/firmware_gate_win.h"
#include "framework/resource_module_win.h"
#include "framework/wait_cursor_win.h"
#include "framework/window_search_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_win.h"
#include "timer/timer_rules.h"

namespace somv {

const MessageMapEntry CTimerSettingsDlg::kMessageEntries[] = {
    MapClicked(IDC_POWER_OFF_CHECK, &CTimerSettingsDlg::OnTimerCheckClicked),
    MapEnd(),
};

CTimerSettingsDlg::CTimerSettingsDlg(CWnd* parent)
    : CDialog(IDD_TIMER_SETTINGS, parent), m_pTimerChoices(kTimerChoices) {}

// The connection's own teardown closes a device still recorded.
CTimerSettingsDlg::~CTimerSettingsDlg() = default;

int CTimerSettingsDlg::CheckFirmware() {
  return WhileWaiting([&] { return somv::CheckFirmware(m_connection, m_strDriverName); });
}

int CTimerSettingsDlg::ReadTimerCode() {
  return WhileWaiting([&] { return somv::ReadTimerCode(m_connection, m_wTimerCode); });
}

int CTimerSettingsDlg::WriteTimerCode() {
  return WhileWaiting([&] { return somv::WriteTimerCode(m_connection, m_wTimerCode); });
}

void CTimerSettingsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TIMER_COMBO, m_comboTimer);
  DDX_Control(pDX, IDC_POWER_OFF_CHECK, m_checkPowerOff);
}

BOOL CTimerSettingsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  const HWND mainWindow = FindOwnMainWindow();
  m_bDebugUI = IsDebugUIEnabled() ? 1 : 0;
  if (!m_bDebugUI && !ReadPrinterSetting()) {
    m_viewMsg.ShowMessage(mainWindow, IDS_MSG_DEVICE_FAILED);
    OnCancel();
    return FALSE;
  }
  ShowPowerOffState();
  FillTimerChoices();
  if (m_bDebugUI) m_comboTimer.SetCurSel(0);
  UpdateTimerControls();
  return TRUE;
}

bool CTimerSettingsDlg::ReadPrinterSetting() { return CheckFirmware() != 0 && ReadTimerCode() != 0; }

void CTimerSettingsDlg::ShowPowerOffState() {
  if (m_bDebugUI) {
    m_checkPowerOff.SetCheck(BST_UNCHECKED);
    return;
  }
  const TimerView view = ViewOfTimerCode(m_wTimerCode, m_pTimerChoices);
  m_wTimerCode = view.timerCode;
  m_checkPowerOff.SetCheck(view.powerOffEnabled ? BST_CHECKED : BST_UNCHECKED);
}

// A label the resource library lacks repeats the text before it, so the list
// keeps one row per choice and its indices stay the choices' indices.
void CTimerSettingsDlg::FillTimerChoices() {
  for (const TimerChoice* choice = m_pTimerChoices; choice->timerValue != 0; ++choice) {
    LoadResString(choice->labelStringId, m_strChoiceText);
    m_comboTimer.AddString(m_strChoiceText);
  }
  const int shown = ChoiceIndexOf(m_wTimerCode, m_pTimerChoices);
  if (shown != kNoChoice) m_comboTimer.SetCurSel(shown);
}

void CTimerSettingsDlg::UpdateTimerControls() {
  const bool enable = TimerControlsEnabled(m_checkPowerOff.GetCheck());
  for (int id : {IDC_TIMER_COMPANION1, IDC_TIMER_COMPANION2, IDC_TIMER_COMBO}) {
    if (const HWND control = GetDlgItem(id)) ::EnableWindow(control, enable ? TRUE : FALSE);
  }
}

void CTimerSettingsDlg::OnTimerCheckClicked() { UpdateTimerControls(); }

int CTimerSettingsDlg::SelectedChoice() const {
  // A library whose template lacks the list or the box showed the user
  // nothing to choose, so nothing may be written on their behalf.
  if (m_comboTimer.GetSafeHwnd() == nullptr || m_checkPowerOff.GetSafeHwnd() == nullptr) return kNoChoice;
  return m_comboTimer.GetCurSel();
}

void CTimerSettingsDlg::OnOK() {
  const TimerOkDecision decision = DecideTimerOk(m_bDebugUI != 0, SelectedChoice(), m_checkPowerOff.GetCheck());
  if (decision.action == TimerOkAction::ReportNoChoice) {
    m_viewMsg.ShowMessage(m_hWnd, IDS_MSG_WRITE_FAILED);
    return;
  }
  if (decision.action == TimerOkAction::Write) {
    m_wTimerCode = decision.timerCode;
    if (WriteTimerCode() == 0) {
      m_viewMsg.ShowMessage(m_hWnd, IDS_MSG_WRITE_FAILED);
      return;
    }
  }
  CDialog::OnOK();
}

const MessageMap* CTimerSettingsDlg::GetMessageMap() const {
  static const MessageMap map{kMessageEntries};
  return &map;
}

}  // namespace somv
