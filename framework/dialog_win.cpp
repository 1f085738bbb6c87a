#include "framework/dialog_win.h"

#include <string>
#include <utility>

#include "common/win_text.h"
#include "framework/app_win.h"
#include "framework/decimal_scan.h"
#include "framework/message_box_win.h"
#include "framework/resource_module_win.h"

namespace somv {
namespace {

// The one message handled here whose result a dialog procedure returns
// itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) { return message == WM_QUERYDRAGICON; }

void PromptForInteger(HWND dialog, HWND field) {
  std::wstring prompt;
  if (LoadResString(kIntegerPromptStringId, prompt) && !prompt.empty()) {
    UINT style = MB_OK | MB_ICONEXCLAMATION;
    if (::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) style |= MB_RIGHT | MB_RTLREADING;
    ShowMessageBox(dialog, prompt, CWnd(dialog).GetWindowText(), style);
  }
  ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  ::SendMessageW(field, EM_SETSEL, 0, -1);
}

std::wstring MissingControlReason(CDialog* dialog, int id) {
  return L"dialog template " + std::to_wstring(dialog->GetTemplateId()) + L" has no control " + std::to_wstring(id);
}

}  // namespace

INT_PTR CDialog::DoModal() {
  if (!HasDialogTemplate(m_nIDTemplate)) return -1;
  const INT_PTR result = ::DialogBoxParamW(GetResourceModule(), MAKEINTRESOURCEW(m_nIDTemplate), ChooseOwner(),
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return result;
}

HWND CDialog::ChooseOwner() const {
  if (m_pParentWnd != nullptr && m_pParentWnd->m_hWnd != nullptr) return m_pParentWnd->m_hWnd;
  const CWinApp* app = GetApp();
  if (app == nullptr || app->m_pMainWnd == nullptr) return nullptr;
  const HWND main = app->m_pMainWnd->m_hWnd;
  if (main == nullptr || !::IsWindow(main)) return nullptr;
  return ::GetLastActivePopup(main);
}

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  DoDataExchange(&exchange);
  if (exchange.Failed() && !exchange.FailureReason().empty()) {
    ::OutputDebugStringW((L"data exchange failed: " + exchange.FailureReason() + L"\n").c_str());
  }
  return !exchange.Failed();
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

const MessageMap* CDialog::GetMessageMap() const {
  static const MessageMapEntry entries[] = {MapEnd()};
  static const MessageMap map{entries};
  return &map;
}

const MessageMapEntry* CDialog::FindEntry(UINT message, UINT id, int code) const {
  for (const MessageMapEntry* entry = GetMessageMap()->entries; entry->message != 0; ++entry) {
    if (entry->message == message && entry->id == id && entry->code == code) return entry;
  }
  return nullptr;
}

void CDialog::SetMsgHandled(bool handled) { m_bMsgHandled = handled; }

// Handlers may run nested modal loops that dispatch to this dialog again, so
// each call keeps its own handled flag.
template <typename Call>
bool CDialog::RunHandler(Call call) {
  const bool outer = std::exchange(m_bMsgHandled, true);
  call();
  return std::exchange(m_bMsgHandled, outer);
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  if (message == WM_COMMAND) {
    const UINT id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (const MessageMapEntry* entry = FindEntry(WM_COMMAND, id, code)) {
      return RunHandler([&] { (this->*entry->onCommand)(); });
    }
    if (code != BN_CLICKED) return FALSE;
    if (id == IDOK) OnOK();
    else if (id == IDCANCEL) OnCancel();
    else return FALSE;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr) return FALSE;
    const MessageMapEntry* entry = FindEntry(WM_NOTIFY, static_cast<UINT>(header->idFrom), static_cast<int>(header->code));
    if (entry == nullptr) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, (this->*entry->onNotify)(header));
    return TRUE;
  }
  const MessageMapEntry* entry = FindEntry(message, 0, 0);
  if (entry == nullptr) return FALSE;
  if (entry->onCommand != nullptr) return RunHandler([&] { (this->*entry->onCommand)(); });
  LRESULT result = 0;
  if (!RunHandler([&] { result = (this->*entry->onMessage)(wParam, lParam); })) return FALSE;
  if (ReturnsResultDirectly(message)) return result;
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    dialog->m_hWnd = hwnd;
  } else {
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (dialog == nullptr) return FALSE;
  INT_PTR result = FALSE;
  try {
    result = dialog->Dispatch(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the window system; a handler that could not
    // finish leaves the dialog in no state worth keeping open.
    ::EndDialog(hwnd, -1);
    result = TRUE;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  return result;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (pDX->Failed()) return;
  const HWND item = pDX->m_pDlgWnd->GetDlgItem(id);
  control.Attach(item);
  if (item == nullptr) pDX->Fail(MissingControlReason(pDX->m_pDlgWnd, id));
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
  if (pDX->Failed()) return;
  const HWND field = pDX->m_pDlgWnd->GetDlgItem(id);
  if (field == nullptr) {
    pDX->Fail(MissingControlReason(pDX->m_pDlgWnd, id));
    return;
  }
  if (!pDX->m_bSaveAndValidate) {
    ::SetWindowTextW(field, std::to_wstring(value).c_str());
    return;
  }
  wchar_t text[64] = {};
  ::GetWindowTextW(field, text, 64);
  if (ScanDecimalInt(ToU16(text), value)) return;
  PromptForInteger(pDX->m_pDlgWnd->m_hWnd, field);
  pDX->Fail(L"control " + std::to_wstring(id) + L" holds no integer");
}

}  // namespace somv
