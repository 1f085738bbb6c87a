#include "framework/window_search_win.h"

#include <string>

#include "common/names.h"
#include "common/win_text.h"
#include "framework/unique_handle.h"

namespace somv {
namespace {

using ProcessTest = bool (*)(DWORD processId);

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

// The first such window in z-order, as a search by title finds it.
HWND FindMainWindow(ProcessTest isOurs) {
  Search search{isOurs, nullptr};
  ::EnumWindows(StopAtMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

std::wstring OwnProgramName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : FileNameOf(path);
}

std::wstring ProgramNameOf(DWORD processId) {
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!::QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return {};
  return FileNameOf(std::wstring(path, size));
}

bool SameName(const std::wstring& left, const std::wstring& right) {
  return !left.empty() && ::lstrcmpiW(left.c_str(), right.c_str()) == 0;
}

bool IsThisProcess(DWORD processId) { return processId == ::GetCurrentProcessId(); }

bool RunsThisProgram(DWORD processId) {
  if (IsThisProcess(processId)) return false;
  const std::wstring name = ProgramNameOf(processId);
  return SameName(name, OwnProgramName()) || SameName(name, WidePtr(ThisBuild().program));
}

}  // namespace

HWND FindOwnMainWindow() { return FindMainWindow(IsThisProcess); }

HWND FindRunningInstanceWindow() { return FindMainWindow(RunsThisProgram); }

void BringForwardRestored(HWND mainWindow) {
  // Asked first: restoring activates the main window, which then counts as
  // its own last active pop-up.
  const HWND front = ::GetLastActivePopup(mainWindow);
  if (::IsIconic(mainWindow)) ::ShowWindow(mainWindow, SW_RESTORE);
  ::SetForegroundWindow(front);
  ::ShowWindow(front, SW_RESTORE);
}

}  // namespace somv
