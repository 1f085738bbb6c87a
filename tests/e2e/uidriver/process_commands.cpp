// Starting, waiting for and ending programs; what other programs hold or
// receive from the system.
#include "common/unique_handle_win.h"
#include "tests/e2e/uidriver/driver.h"

#include <tlhelp32.h>

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

// As another program holding it would: created or opened, kept for --hold MS.
void HoldMutex(const Args& args) {
  const std::wstring& name = args.Positional(0, L"NAME");
  UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (!mutex) FailWithLastError(L"creating or opening the mutex " + name);
  PrintValue(L"existed", existed ? 1 : 0);
  Sleep(static_cast<DWORD>(ParseNumber(args.Option(L"hold", L"0"), L"--hold")));
}

DWORD ProcessRunning(const std::wstring& image) {
  UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) FailWithLastError(L"listing the processes");
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  DWORD found = 0;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, image.c_str()) != 0) continue;
    if (found != 0) Fail(L"more than one process runs " + image);
    found = entry.th32ProcessID;
  }
  if (found == 0) Fail(L"no process runs " + image);
  return found;
}

// What closing its console window does on Windows to a process attached to
// it: the system starts a thread at the console control routine with
// CTRL_CLOSE_EVENT, and ends the process if it still runs 5 s later. Wine's
// own console window ends its processes without the event. A shutdown
// (CTRL_SHUTDOWN_EVENT) arrives the same way and is given the same time; a
// logoff (CTRL_LOGOFF_EVENT) ends nothing that handled it. The routine lies
// where it lies here: run the driver of the target's bitness.
void ConsoleClose(const Args& args) {
  const auto event = static_cast<DWORD>(ParseNumber(args.Option(L"event", L"2"), L"--event"));
  const std::wstring& image = args.Positional(0, L"IMAGE");
  UniqueKernelHandle process(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                             PROCESS_VM_WRITE | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE,
                                         FALSE, ProcessRunning(image)));
  if (!process) FailWithLastError(L"opening the process running " + image);
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "CtrlRoutine");
  const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(found));
  if (found == nullptr) Fail(L"the system has no console control routine");
  UniqueKernelHandle thread(CreateRemoteThread(process.Get(), nullptr, 0, routine,
                                               reinterpret_cast<void*>(static_cast<ULONG_PTR>(event)), 0, nullptr));
  if (!thread) FailWithLastError(L"starting the control event's thread");
  if (event == CTRL_LOGOFF_EVENT) {
    const bool handled = WaitForSingleObject(thread.Get(), 5000) == WAIT_OBJECT_0;
    PrintValue(L"running", handled && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT ? 1 : 0);
    return;
  }
  const bool endedItself = WaitForSingleObject(process.Get(), 5000) == WAIT_OBJECT_0;
  if (!endedItself) TerminateProcess(process.Get(), STATUS_CONTROL_C_EXIT);
  PrintValue(L"ended_by", endedItself ? L"itself" : L"the system");
}

}  // namespace

void AddProcessCommands(std::vector<CommandEntry>& table) {
  table.push_back({L"start", L"PROGRAM [--cwd DIR] [-- ARG...]   prints pid", Start});
  table.push_back({L"run", L"PROGRAM [--cwd DIR] [--timeout MS] [-- ARG...]   prints pid, then exit_code when it ends", Run});
  table.push_back({L"wait-exit", L"PID [--timeout MS]   prints exit_code", WaitExit});
  table.push_back({L"kill", L"PID", Kill});
  table.push_back({L"alive", L"PID   prints alive=1|0", Alive});
  table.push_back({L"hold-mutex", L"NAME [--hold MS]   prints existed=0|1, then holds it MS ms", HoldMutex});
  table.push_back({L"console-close", L"IMAGE [--event 2|5|6]   a console control event (close, logoff, shutdown) to the "
                                     L"one process running IMAGE, as the system sends it; prints ended_by=itself|the "
                                     L"system (after 5 s), for a logoff running=1|0 once it is handled", ConsoleClose});
}

}  // namespace uidriver
