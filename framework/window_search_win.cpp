#include "framework/window_search_win.h"

#include <string>

#include "common/names.h"
#include "common/win_text.h"

namespace somv {
namespace {

struct Search {
  ProcessTest isOurs;
  HWND found;
};

bool HasClassAndTitle(HWND window) {
  // One unit more than either text, so that a longer one never compares equal.
  wchar_t className[8] = {};
  if (::GetClassNameW(window, className, 8) == 0 || std::wstring(className) != L"#32770") return false;
  wchar_t title[32] = {};
  ::GetWindowTextW(window, title, 32);
  return ToU16(title) == kMainWindowTitle;
}

BOOL CALLBACK StopAtMainWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!HasClassAndTitle(window)) return TRUE;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (!search->isOurs(processId)) return TRUE;
  search->found = window;
  return FALSE;
}

bool IsThisProcess(DWORD processId) { return processId == ::GetCurrentProcessId(); }

}  // namespace

HWND FindMainWindow(ProcessTest isOurs) {
  Search search{isOurs, nullptr};
  ::EnumWindows(StopAtMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindOwnMainWindow() { return FindMainWindow(IsThisProcess); }

void BringForwardRestored(HWND mainWindow) {
  // Asked first: restoring activates the main window, which then counts as
  // its own last active pop-up.
  const HWND front = ::GetLastActivePopup(mainWindow);
  if (::IsIconic(mainWindow)) ::ShowWindow(mainWindow, SW_RESTORE);
  ::SetForegroundWindow(front);
  ::ShowWindow(front, SW_RESTORE);
}

}  // namespace somv
