#include "tests/wine/support/message_box_probe.h"

#include "framework/message_box_win.h"
#include "tests/wine/support/dialog_driver.h"

namespace somv::test {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

MessageBoxRecorder* g_recorder = nullptr;

BOOL CALLBACK TakeIconOfIconStatic(HWND child, LPARAM context) {
  if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HICON*>(context) = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
  return FALSE;
}

HICON FindIcon(HWND box) {
  HICON found = nullptr;
  ::EnumChildWindows(box, TakeIconOfIconStatic, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

bool IsMessageBox(HWND window) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  return std::wstring(className) == L"#32770" && ::GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

std::optional<MessageBoxSnapshot> ReadMessageBox(HWND box) {
  if (box == nullptr || !IsMessageBox(box)) return std::nullopt;
  MessageBoxSnapshot snapshot;
  snapshot.window = box;
  snapshot.owner = ::GetWindow(box, GW_OWNER);
  snapshot.caption = WindowText(box);
  snapshot.text = WindowText(::GetDlgItem(box, kMessageBoxTextId));
  snapshot.icon = FindIcon(box);
  return snapshot;
}

HWND WaitForMessageBox(DWORD threadId, DWORD timeoutMs) {
  return WaitForThreadWindow(threadId, timeoutMs, [](HWND window) { return IsMessageBox(window); });
}

MessageBoxProbe::MessageBoxProbe(DWORD threadId, DWORD timeoutMs, WhileShown whileShown)
    : m_thread([this, threadId, timeoutMs, whileShown] {
        const HWND box = WaitForMessageBox(threadId, timeoutMs);
        m_snapshot = ReadMessageBox(box);
        if (m_snapshot && whileShown) whileShown(*m_snapshot);
        if (box != nullptr) ClickButton(box, IDOK);
      }) {}

MessageBoxProbe::~MessageBoxProbe() {
  if (m_thread.joinable()) m_thread.join();
}

std::optional<MessageBoxSnapshot> MessageBoxProbe::Result() {
  if (m_thread.joinable()) m_thread.join();
  return m_snapshot;
}

MessageBoxRecorder::MessageBoxRecorder(bool showForReal) : m_showForReal(showForReal) {
  g_recorder = this;
  m_previous = SetMessageBoxFunction(&MessageBoxRecorder::Record);
}

MessageBoxRecorder::~MessageBoxRecorder() {
  SetMessageBoxFunction(m_previous);
  g_recorder = nullptr;
}

int WINAPI MessageBoxRecorder::Record(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  g_recorder->m_calls.push_back({owner, text, caption, style});
  return g_recorder->m_showForReal ? ::MessageBoxW(owner, text, caption, style) : IDOK;
}

}  // namespace somv::test
