#include "tests/wine/support/dialog_driver.h"

#include <thread>
#include <vector>

namespace somv::test {
namespace {

struct Search {
  const std::function<bool(HWND)>* matches;
  HWND found;
};

BOOL CALLBACK StopAtMatchingWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!::IsWindowVisible(window) || !::IsWindowEnabled(window) || !(*search->matches)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  const int length = ::GetWindowTextW(window, text, 1024);
  return std::wstring(text, length > 0 ? length : 0);
}

HWND WaitForThreadWindow(DWORD threadId, DWORD timeoutMs, const std::function<bool(HWND)>& matches) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  do {
    Search search{&matches, nullptr};
    ::EnumThreadWindows(threadId, StopAtMatchingWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    ::Sleep(20);
  } while (::GetTickCount64() < deadline);
  return nullptr;
}

HWND WaitForDialog(DWORD threadId, const std::wstring& caption, DWORD timeoutMs) {
  return WaitForThreadWindow(threadId, timeoutMs, [&](HWND window) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770" && WindowText(window) == caption;
  });
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (::IsWindow(window)) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(20);
  }
  return true;
}

void ClickButton(HWND dialog, int id) {
  const HWND button = ::GetDlgItem(dialog, id);
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void SetControlText(HWND dialog, int id, const std::wstring& text) {
  ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND FocusOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

INT_PTR RunDriven(CDialog& dialog, DWORD uiThread, const std::wstring& caption,
                  const std::function<void(HWND)>& drive) {
  std::thread driver([&] {
    const HWND window = WaitForDialog(uiThread, caption);
    if (window != nullptr) drive(window);
  });
  const INT_PTR result = dialog.DoModal();
  driver.join();
  return result;
}

}  // namespace somv::test
