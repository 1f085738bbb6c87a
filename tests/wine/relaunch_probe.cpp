// Stands in for the program in the relaunch tests. Started as the program, it
// takes the single-instance mutex as start-up does and relaunches; started as
// the temporary copy, it reports where it runs and what it would load. Either
// way it writes a report "<role>-<pid>.txt" of key=value lines into the
// directory named by SOMV_PROBE_REPORTS. SOMV_PROBE_FAULT makes the start of
// the copy fail ("refuse-start"), its registration for deletion at restart
// fail ("refuse-registration"), each copy overwritten once written
// ("overwrite-written-copy"), or the start fail after another start took the
// single-instance mutex ("refuse-start-name-taken"). The program as started
// also holds an inheritable handle to reports\stray.txt, which the copy must
// not get.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/relaunch_win.h"
#include "common/names.h"
#include "common/win_text.h"
#include "settings/launch_dir_win.h"
#include "tests/wine/support/scoped_files.h"

namespace {

using somv::WidePtr;

struct StartSeen {
  int calls = 0;
  bool mutexFree = false;
  std::wstring application;
  std::wstring commandLine;
  std::wstring directory;
};
StartSeen g_start;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[32768] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, 32768);
  return length > 0 && length < 32768 ? value : L"";
}

void Watch(LPCWSTR application, LPWSTR commandLine, LPCWSTR directory) {
  ++g_start.calls;
  HANDLE other = ::OpenMutexW(SYNCHRONIZE, FALSE, WidePtr(somv::kMutexName));
  g_start.mutexFree = other == nullptr;
  if (other != nullptr) ::CloseHandle(other);
  g_start.application = application ? application : L"(null)";
  g_start.commandLine = commandLine ? commandLine : L"(null)";
  g_start.directory = directory ? directory : L"(null)";
}

BOOL WINAPI WatchedStart(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES process,
                         LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags, LPVOID environment,
                         LPCWSTR directory, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION info) {
  Watch(application, commandLine, directory);
  return ::CreateProcessW(application, commandLine, process, thread, inherit, flags, environment,
                          directory, startup, info);
}

BOOL WINAPI RefusedStart(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES,
                         LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR directory,
                         LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
  Watch(application, commandLine, directory);
  ::SetLastError(ERROR_BAD_EXE_FORMAT);
  return FALSE;
}

BOOL WINAPI RefusedRegistration(LPCWSTR, LPCWSTR, DWORD) {
  ::SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

HANDLE g_otherStart = nullptr;

BOOL WINAPI RefusedStartNameTaken(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                  LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags, LPVOID environment,
                                  LPCWSTR directory, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION info) {
  const BOOL started = RefusedStart(application, commandLine, process, thread, inherit, flags, environment,
                                    directory, startup, info);
  g_otherStart = ::CreateMutexW(nullptr, FALSE, WidePtr(somv::kMutexName));
  return started;
}

somv::StartProcessFunction StartFor(const std::wstring& fault) {
  if (fault == L"refuse-start") return RefusedStart;
  if (fault == L"refuse-start-name-taken") return RefusedStartNameTaken;
  return WatchedStart;
}

std::wstring StrayPath() { return Environment(L"SOMV_PROBE_REPORTS") + L"\\stray.txt"; }

// An inheritable handle such as a parent may have passed to the program.
HANDLE OpenStrayHandle() {
  SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
  const HANDLE stray = ::CreateFileW(StrayPath().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ::SetEnvironmentVariableW(L"SOMV_PROBE_STRAY", std::to_wstring(reinterpret_cast<std::uintptr_t>(stray)).c_str());
  return stray;
}

bool StrayInherited() {
  const unsigned long long value = std::stoull(L"0" + Environment(L"SOMV_PROBE_STRAY"));
  const auto stray = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetFinalPathNameByHandleW(stray, path, MAX_PATH, FILE_NAME_NORMALIZED);
  const std::wstring name = L"\\reports\\stray.txt";
  return length > name.size() && length < MAX_PATH && ::lstrcmpiW(path + length - name.size(), name.c_str()) == 0;
}

void OverwriteWrittenCopy(LPCWSTR target) { somv::test::WriteFileBytes(target, "another process's"); }

std::wstring CurrentDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return buffer;
}

std::wstring ModulePath() {
  wchar_t buffer[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return buffer;
}

void Add(std::wstring& report, const wchar_t* key, const std::wstring& value) {
  report += key;
  report += L'=';
  report += value;
  report += L'\n';
}

void Add(std::wstring& report, const wchar_t* key, bool value) {
  Add(report, key, std::wstring(value ? L"1" : L"0"));
}

// Written whole under a temporary name first, so a reader never sees half.
void Publish(const std::wstring& role, const std::wstring& report) {
  const std::wstring directory = Environment(L"SOMV_PROBE_REPORTS");
  if (directory.empty()) return;
  const std::wstring name =
      directory + L"\\" + role + L"-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
  const std::wstring partial = name + L".partial";
  HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written,
              nullptr);
  ::CloseHandle(file);
  ::MoveFileW(partial.c_str(), name.c_str());
}

bool PublishedBy(const std::wstring& role) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW(
      (Environment(L"SOMV_PROBE_REPORTS") + L"\\" + role + L"-*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return true;
}

}  // namespace

int main() {
  const somv::UniqueKernelHandle programFile = somv::HoldProgramFile();
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, WidePtr(somv::kMutexName));
  const bool firstInstance = ::GetLastError() != ERROR_ALREADY_EXISTS;

  std::wstring report;
  Add(report, L"pid", std::to_wstring(::GetCurrentProcessId()));
  Add(report, L"module", ModulePath());
  Add(report, L"cwd", CurrentDirectory());
  Add(report, L"firstInstance", firstInstance);
  if (somv::IsRunningFromTempCopy()) {
    // Long enough for a program as started that did not wait to have ended.
    ::Sleep(200);
    Add(report, L"firstEndedBeforeHold", PublishedBy(L"first"));
    Add(report, L"strayInherited", StrayInherited());
    const somv::HeldCompanionFiles held = somv::HoldCompanionFiles();
    Add(report, L"settings", somv::GetLaunchFilePath(WidePtr(somv::kSettingsFileName)));
    Add(report, L"library", somv::GetLaunchFilePath(WidePtr(somv::ThisBuild().resourceLibrary)));
    Publish(L"copy", report);
  } else {
    const std::wstring fault = Environment(L"SOMV_PROBE_FAULT");
    const HANDLE stray = OpenStrayHandle();
    const bool relaunched = somv::RelaunchFromTempCopy(
        mutex, programFile.Get(), StartFor(fault),
        fault == L"refuse-registration" ? RefusedRegistration : ::MoveFileExW,
        fault == L"overwrite-written-copy" ? OverwriteWrittenCopy : nullptr);
    Add(report, L"relaunched", relaunched);
    Add(report, L"mutexHandle", mutex != nullptr);
    HANDLE named = ::OpenMutexW(SYNCHRONIZE, FALSE, WidePtr(somv::kMutexName));
    Add(report, L"mutexExists", named != nullptr);
    if (named != nullptr) ::CloseHandle(named);
    Add(report, L"starts", std::to_wstring(g_start.calls));
    Add(report, L"mutexFreeAtStart", g_start.mutexFree);
    Add(report, L"startApplication", g_start.application);
    Add(report, L"startCommandLine", g_start.commandLine);
    Add(report, L"startDirectory", g_start.directory);
    Publish(L"first", report);
    ::CloseHandle(stray);
    if (g_otherStart != nullptr) ::CloseHandle(g_otherStart);
  }
  if (mutex != nullptr) ::CloseHandle(mutex);
  return 1;
}
