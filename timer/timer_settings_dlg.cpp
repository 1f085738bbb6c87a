// Placeholder so that the selection dialog can be built against this class;
// replaced by the dialog's real behaviour.
#include "timer/timer_settings_dlg.h"

#include "resources/resource_ids.h"

namespace somv {

const MessageMapEntry CTimerSettingsDlg::kMessageEntries[] = {
    MapEnd(),
};

CTimerSettingsDlg::CTimerSettingsDlg(CWnd* parent)
    : CDialog(IDD_TIMER_SETTINGS, parent), m_pTimerChoices(kTimerChoices) {}

CTimerSettingsDlg::~CTimerSettingsDlg() = default;

int CTimerSettingsDlg::CheckFirmware() { return 0; }
int CTimerSettingsDlg::ReadTimerCode() { return 0; }
int CTimerSettingsDlg::WriteTimerCode() { return 0; }

void CTimerSettingsDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
BOOL CTimerSettingsDlg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CTimerSettingsDlg::OnOK() { CDialog::OnOK(); }
void CTimerSettingsDlg::OnTimerCheckClicked() {}
void CTimerSettingsDlg::UpdateTimerControls() {}

const MessageMap* CTimerSettingsDlg::GetMessageMap() const {
  static const MessageMap map{CDialog::GetMessageMap(), kMessageEntries};
  return &map;
}

}  // namespace somv
