// Placeholder so that start-up can be built against this class; replaced by
// the dialog's real behaviour.
#include "printers/somv_dlg.h"

#include "resources/resource_ids.h"

namespace somv {

const MessageMapEntry CSomvDlg::kMessageEntries[] = {
    MapEnd(),
};

CSomvDlg::CSomvDlg(CWnd* parent) : CDialog(IDD_SOMV_DIALOG, parent) {}
CSomvDlg::~CSomvDlg() = default;

void CSomvDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
BOOL CSomvDlg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CSomvDlg::OnCancelClicked() { EndDialog(0); }

const MessageMap* CSomvDlg::GetMessageMap() const {
  static const MessageMap map{CDialog::GetMessageMap(), kMessageEntries};
  return &map;
}

}  // namespace somv
