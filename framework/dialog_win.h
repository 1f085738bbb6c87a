#pragma once
// Modal dialogs from templates of the current resource module, with data
// exchange between members and controls and a const table of handlers.
//
// A dialog class lists its handlers in a static table ended by MapEnd():
//
//   const MessageMapEntry CMyDlg::kMessageEntries[] = {
//       MapClicked(IDC_OPEN_PRINTER, &CMyDlg::OnOpenClicked),
//       MapNotify(IDC_PRINTER_LIST, LVN_ITEMCHANGED, &CMyDlg::OnListItemChanged),
//       MapMessage(WM_PAINT, &CMyDlg::OnPaint),
//       MapEnd(),
//   };
//   const MessageMap* CMyDlg::GetMessageMap() const {
//     static const MessageMap map{kMessageEntries};
//     return &map;
//   }
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd_win.h"

namespace somv {

class CDialog;

using CommandHandler = void (CDialog::*)();
using NotifyHandler = LRESULT (CDialog::*)(NMHDR* header);
using MessageHandler = LRESULT (CDialog::*)(WPARAM wParam, LPARAM lParam);

// One of the three handlers is set. For WM_COMMAND and WM_NOTIFY, `id` and
// `code` name the control and its notification.
struct MessageMapEntry {
  UINT message;
  UINT id;
  int code;
  CommandHandler onCommand;
  NotifyHandler onNotify;
  MessageHandler onMessage;
};

struct MessageMap {
  const MessageMapEntry* entries;  // ended by MapEnd()
};

template <typename Dlg>
MessageMapEntry MapClicked(UINT id, void (Dlg::*handler)()) {
  return {WM_COMMAND, id, BN_CLICKED, static_cast<CommandHandler>(handler), nullptr, nullptr};
}
// The handler's result becomes the notification's result.
template <typename Dlg>
MessageMapEntry MapNotify(UINT id, int code, LRESULT (Dlg::*handler)(NMHDR*)) {
  return {WM_NOTIFY, id, code, nullptr, static_cast<NotifyHandler>(handler), nullptr};
}
// Any other message; the dialog counts it as handled.
template <typename Dlg>
MessageMapEntry MapMessage(UINT message, void (Dlg::*handler)()) {
  return {message, 0, 0, static_cast<CommandHandler>(handler), nullptr, nullptr};
}
template <typename Dlg>
MessageMapEntry MapMessage(UINT message, LRESULT (Dlg::*handler)(WPARAM, LPARAM)) {
  return {message, 0, 0, nullptr, nullptr, static_cast<MessageHandler>(handler)};
}
inline MessageMapEntry MapEnd() { return {0, 0, 0, nullptr, nullptr, nullptr}; }

// Direction and outcome of one UpdateData. An exchange that failed skips the
// ones after it.
class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

  void Fail(const std::wstring& reason) {
    m_bFailed = true;
    m_failure = reason;
  }
  bool Failed() const { return m_bFailed; }
  const std::wstring& FailureReason() const { return m_failure; }

  CDialog* m_pDlgWnd;
  const bool m_bSaveAndValidate;

 private:
  bool m_bFailed = false;
  std::wstring m_failure;
};

class CDialog : public CWnd {
 public:
  // `parent` null: the application's main window owns the dialog, if it has one.
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
  ~CDialog() override = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // The value given to EndDialog; -1 without showing anything when the
  // current resource module lacks the template or the dialog cannot be made.
  virtual INT_PTR DoModal();

  void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  bool UpdateData(bool saveAndValidate);
  UINT GetTemplateId() const { return m_nIDTemplate; }

 protected:
  // Runs the member-to-control exchange; 1 lets the dialog place the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual void OnOK();
  virtual void OnCancel();
  virtual const MessageMap* GetMessageMap() const;
  // A handler of a command or a plain message may hand the message back to
  // the dialog's default processing (WM_PAINT while not minimised, say).
  void SetMsgHandled(bool handled);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  const MessageMapEntry* FindEntry(UINT message, UINT id, int code) const;
  template <typename Call>
  bool RunHandler(Call call);
  HWND ChooseOwner() const;

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
  bool m_bMsgHandled = true;
};

// Binds `control` to the dialog's control `id`; fails the exchange when the
// template has no such control.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// An int shown as decimal text. Reading takes the first 63 characters as
// "%d" does; text without a number brings up the integer prompt (string
// 61712 of the current resource module), selects the field's text and fails.
void DDX_Text(CDataExchange* pDX, int id, int& value);

inline constexpr unsigned kIntegerPromptStringId = 61712;

}  // namespace somv
