#include "tests/wine/support/dialog_watchdog.h"

#include <chrono>
#include <cwchar>
#include <vector>

namespace somv::test {
namespace {

constexpr DWORD kPollMs = 250;
constexpr UINT kReadTimeoutMs = 500;

// SendMessageTimeout, not GetWindowText: the window's thread may be stuck.
std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kReadTimeoutMs, &copied)) {
    return L"?";
  }
  return std::wstring(text, copied < 512 ? copied : 511);
}

bool IsDialogClass(HWND window) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  return std::wstring(className) == L"#32770";
}

BOOL CALLBACK CollectOwnDialog(HWND window, LPARAM context) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && IsDialogClass(window)) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> OwnVisibleDialogs() {
  std::vector<HWND> dialogs;
  ::EnumWindows(CollectOwnDialog, reinterpret_cast<LPARAM>(&dialogs));
  return dialogs;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM context) {
  wchar_t className[16] = {};
  ::GetClassNameW(child, className, 16);
  if (_wcsicmp(className, L"Static") != 0) return TRUE;
  const std::wstring text = TextOf(child);
  if (!text.empty()) *reinterpret_cast<std::wstring*>(context) += L" | \"" + text + L"\"";
  return TRUE;
}

std::string Narrow(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string narrow(size > 0 ? size : 0, '\0');
  if (size > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), size,
                          nullptr, nullptr);
  }
  return narrow;
}

// Posted, never sent: the dialog's own loop ends it, whatever its thread does.
void Close(HWND dialog) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ::PostMessageW(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

std::wstring DescribeDialog(HWND dialog) {
  std::wstring description = L"\"" + TextOf(dialog) + L"\"";
  ::EnumChildWindows(dialog, AppendStaticText, reinterpret_cast<LPARAM>(&description));
  return description;
}

DialogWatchdog::DialogWatchdog(DWORD patienceMs)
    : m_patienceMs(patienceMs), m_thread([this] { Watch(); }) {}

DialogWatchdog::~DialogWatchdog() {
  {
    std::lock_guard<std::mutex> hold(m_lock);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void DialogWatchdog::OnTestStart(const ::testing::TestInfo&) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_testRunning = true;
  m_firstSeen.clear();
}

// Taking the lock here keeps a failure from landing after the test has ended.
void DialogWatchdog::OnTestEnd(const ::testing::TestInfo&) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_testRunning = false;
  m_firstSeen.clear();
}

void DialogWatchdog::Watch() {
  std::unique_lock<std::mutex> hold(m_lock);
  while (!m_wake.wait_for(hold, std::chrono::milliseconds(kPollMs), [this] { return m_stopping; })) {
    if (m_testRunning) CloseOverdueDialogs();
  }
}

void DialogWatchdog::CloseOverdueDialogs() {
  const ULONGLONG now = ::GetTickCount64();
  std::map<HWND, ULONGLONG> stillOpen;
  for (const HWND dialog : OwnVisibleDialogs()) {
    const auto seen = m_firstSeen.find(dialog);
    const ULONGLONG since = seen == m_firstSeen.end() ? now : seen->second;
    if (now - since < m_patienceMs) {
      stillOpen[dialog] = since;
      continue;
    }
    ADD_FAILURE() << "a window nobody closed stayed open for " << m_patienceMs / 1000
                  << " s and was closed: " << Narrow(DescribeDialog(dialog));
    Close(dialog);
    // Counted afresh, so that one that ignores the close is reported again later.
    stillOpen[dialog] = now;
  }
  m_firstSeen.swap(stillOpen);
}

}  // namespace somv::test
