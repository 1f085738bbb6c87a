#include "app/instance_window_win.h"

#include <string>

#include "common/names.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "framework/window_search_win.h"

namespace somv {
namespace {

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

bool RunsThisProgram(DWORD processId) {
  if (processId == ::GetCurrentProcessId()) return false;
  const std::wstring name = ProgramNameOf(processId);
  return SameName(name, OwnProgramName()) || SameName(name, WidePtr(ThisBuild().program));
}

}  // namespace

HWND FindRunningInstanceWindow() { return FindMainWindow(RunsThisProgram); }

}  // namespace somv
