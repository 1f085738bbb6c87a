// Starting, waiting for and ending programs.
#include "framework/unique_handle.h"
#include "tests/e2e/uidriver/driver.h"

namespace uidriver {
namespace {

using somv::UniqueKernelHandle;

// Wine maps drive Z: to the Unix root, so scripts may pass Unix paths.
std::wstring WindowsPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring converted = L"Z:" + path;
  for (wchar_t& c : converted)
    if (c == L'/') c = L'\\';
  return converted;
}

std::wstring Quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// The child gets the null device as its standard handles: otherwise it would
// inherit the caller's pipe and `$(uidriver start ...)` would wait for it.
UniqueKernelHandle OpenNullDevice() {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE device = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                              OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) FailWithLastError(L"opening the null device");
  return UniqueKernelHandle(device);
}

PROCESS_INFORMATION StartProcess(const Args& args) {
  std::wstring program = WindowsPath(args.Positional(0, L"PROGRAM"));
  std::wstring commandLine = Quoted(program);
  for (const std::wstring& arg : args.Trailing()) commandLine += L" " + Quoted(arg);
  std::wstring directory = WindowsPath(args.Option(L"cwd"));

  UniqueKernelHandle nullDevice = OpenNullDevice();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nullDevice.Get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process))
    FailWithLastError(L"starting " + program);
  CloseHandle(process.hThread);
  return process;
}

void WaitAndReport(HANDLE process, DWORD timeoutMs, const std::wstring& what) {
  DWORD waited = WaitForSingleObject(process, timeoutMs);
  if (waited == WAIT_TIMEOUT) Fail(L"timed out after " + std::to_wstring(timeoutMs) + L" ms waiting for " + what + L" to end", kTimedOut);
  if (waited != WAIT_OBJECT_0) FailWithLastError(L"waiting for " + what);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process, &exitCode)) FailWithLastError(L"reading the exit code of " + what);
  PrintValue(L"exit_code", static_cast<long long>(exitCode));
}

void Start(const Args& args) {
  PROCESS_INFORMATION process = StartProcess(args);
  CloseHandle(process.hProcess);
  PrintValue(L"pid", static_cast<long long>(process.dwProcessId));
}

void Run(const Args& args) {
  PROCESS_INFORMATION started = StartProcess(args);
  UniqueKernelHandle process(started.hProcess);
  PrintValue(L"pid", static_cast<long long>(started.dwProcessId));
  WaitAndReport(process.Get(), args.TimeoutMs(), L"process " + std::to_wstring(started.dwProcessId));
}

UniqueKernelHandle OpenByPid(const std::wstring& pidText, DWORD access) {
  DWORD pid = static_cast<DWORD>(ParseNumber(pidText, L"process id"));
  HANDLE process = OpenProcess(access, FALSE, pid);
  if (process == nullptr) Fail(L"no running process " + pidText + L" (it may have ended already)");
  return UniqueKernelHandle(process);
}

void WaitExit(const Args& args) {
  const std::wstring& pid = args.Positional(0, L"PID");
  UniqueKernelHandle process = OpenByPid(pid, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION);
  WaitAndReport(process.Get(), args.TimeoutMs(), L"process " + pid);
}

void Kill(const Args& args) {
  const std::wstring& pid = args.Positional(0, L"PID");
  UniqueKernelHandle process = OpenByPid(pid, PROCESS_TERMINATE | SYNCHRONIZE);
  if (!TerminateProcess(process.Get(), 137)) FailWithLastError(L"ending process " + pid);
  if (WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) Fail(L"process " + pid + L" did not end", kTimedOut);
  PrintValue(L"killed", ParseNumber(pid, L"process id"));
}

void Alive(const Args& args) {
  DWORD pid = static_cast<DWORD>(ParseNumber(args.Positional(0, L"PID"), L"process id"));
  UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  PrintValue(L"alive", process && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT ? 1 : 0);
}

}  // namespace

void AddProcessCommands(std::vector<CommandEntry>& table) {
  table.push_back({L"start", L"PROGRAM [--cwd DIR] [-- ARG...]   prints pid", Start});
  table.push_back({L"run", L"PROGRAM [--cwd DIR] [--timeout MS] [-- ARG...]   prints pid, then exit_code when it ends", Run});
  table.push_back({L"wait-exit", L"PID [--timeout MS]   prints exit_code", WaitExit});
  table.push_back({L"kill", L"PID", Kill});
  table.push_back({L"alive", L"PID   prints alive=1|0", Alive});
}

}  // namespace uidriver
