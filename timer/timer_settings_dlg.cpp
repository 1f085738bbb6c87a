#include "timer/timer_settings_dlg.h"

#include "common/names.h"
#include "common/win_text.h"
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

namespace {

// The settings file of the launch directory, looked up at every check.
std::optional<std::u16string> MinimumFromLaunchSettings(const std::u16string& driverName) {
  return MinimumsFromSettingsFile(SettingsFilePath())(driverName);
}

int Succeeded(SessionOutcome outcome) { return outcome == SessionOutcome::Done ? 1 : 0; }

}  // namespace

CTimerSettingsDlg::CTimerSettingsDlg(CWnd* parent)
    : CDialog(IDD_TIMER_SETTINGS, parent),
      m_pTimerChoices(kTimerChoices),
      m_session(m_connection, MinimumFromLaunchSettings) {}

// The session closes a device it still holds; the connection's own teardown
// then closes one a failed close left recorded.
CTimerSettingsDlg::~CTimerSettingsDlg() = default;

int CTimerSettingsDlg::CheckFirmware() {
  return WhileWaiting([&] { return Succeeded(m_session.CheckFirmware(ToU16(m_strDriverName)).outcome); });
}

int CTimerSettingsDlg::ReadTimerCode() {
  return WhileWaiting([&] { return Succeeded(m_session.ReadTimerCode(m_wTimerCode)); });
}

int CTimerSettingsDlg::WriteTimerCode(std::uint16_t timerCode) {
  m_wTimerCode = timerCode;
  return WhileWaiting([&] { return Succeeded(m_session.WriteTimerCode(timerCode)); });
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
  ShowTimer(m_bDebugUI ? PowerOffTimer{false, 0} : PowerOffTimer::Decode(m_wTimerCode));
  UpdateTimerControls();
  return TRUE;
}

bool CTimerSettingsDlg::ReadPrinterSetting() { return CheckFirmware() != 0 && ReadTimerCode() != 0; }

// Diagnostic mode shows the box unchecked and the first choice, whatever the
// dialog held before.
void CTimerSettingsDlg::ShowTimer(const PowerOffTimer& timer) {
  if (!m_bDebugUI) m_wTimerCode = timer.timerValue;
  m_checkPowerOff.SetCheck(timer.powerOffEnabled ? BST_CHECKED : BST_UNCHECKED);
  FillTimerChoices();
  const int shown = m_bDebugUI ? 0 : ChoiceIndexOf(timer.timerValue, m_pTimerChoices);
  if (shown != kNoChoice) m_comboTimer.SetCurSel(shown);
}

// A label the resource library lacks repeats the text before it, so the list
// keeps one row per choice and its indices stay the choices' indices.
void CTimerSettingsDlg::FillTimerChoices() {
  for (const TimerChoice* choice = m_pTimerChoices; choice->timerValue != 0; ++choice) {
    LoadResString(choice->labelStringId, m_strChoiceText);
    m_comboTimer.AddString(m_strChoiceText);
  }
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
    if (WriteTimerCode(decision.timerCode) == 0) {
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
