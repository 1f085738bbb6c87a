// launch_timer: how long a program takes from its start to its main window.
//   launch_timer PROGRAM --title TITLE [--cwd DIR] [--timeout MS]
// Starts PROGRAM, polls every 5 ms for a visible top-level window with that
// exact title (from any process, so a program that hands over to another
// process is measured up to the window that process shows), prints ms=..., then
// closes the window with Cancel and waits until the window's process and the
// started one have ended. Exit status: 0 measured, 1 failed, 2 timed out,
// 3 usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/unique_handle_win.h"

namespace {

using somv::UniqueKernelHandle;

enum ExitCode { kOk = 0, kFailed = 1, kTimedOut = 2, kUsage = 3 };

constexpr DWORD kPollMs = 5;
constexpr DWORD kEndLimitMs = 20000;

struct Options {
  std::wstring program;
  std::wstring title;
  std::wstring directory;
  DWORD timeoutMs = 60000;
};

// Wine maps drive Z: to the Unix root, so scripts may pass Unix paths.
std::wstring WindowsPath(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  path.insert(0, L"Z:");
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--title" && hasValue) {
      options.title = argv[++i];
    } else if (arg == L"--cwd" && hasValue) {
      options.directory = WindowsPath(argv[++i]);
    } else if (arg == L"--timeout" && hasValue) {
      options.timeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (options.program.empty() && arg.rfind(L"--", 0) != 0) {
      options.program = WindowsPath(arg);
    } else {
      return false;
    }
  }
  return !options.program.empty() && !options.title.empty() && options.timeoutMs > 0;
}

struct Search {
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  if (*search->title != text) return TRUE;
  search->found = window;
  return FALSE;
}

HWND VisibleWindowTitled(const std::wstring& title) {
  Search search{&title, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double ElapsedMs(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

UniqueKernelHandle StartProgram(const Options& options) {
  std::wstring commandLine = L"\"" + options.program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      options.directory.empty() ? nullptr : options.directory.c_str(), &startup, &process))
    return UniqueKernelHandle();
  CloseHandle(process.hThread);
  return UniqueKernelHandle(process.hProcess);
}

UniqueKernelHandle ProcessOfWindow(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return UniqueKernelHandle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
}

// Cancel, as a user would press it; both dialogs under test end on it.
bool CloseAndWait(HWND window, const UniqueKernelHandle& windowProcess, const UniqueKernelHandle& started) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
  bool ended = true;
  for (const UniqueKernelHandle* process : {&windowProcess, &started}) {
    if (!*process || WaitForSingleObject(process->Get(), kEndLimitMs) == WAIT_OBJECT_0) continue;
    TerminateProcess(process->Get(), 137);
    ended = false;
  }
  return ended;
}

int Measure(const Options& options) {
  if (VisibleWindowTitled(options.title) != nullptr) {
    fwprintf(stderr, L"launch_timer: a window titled \"%ls\" is already open\n", options.title.c_str());
    return kFailed;
  }
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  UniqueKernelHandle started = StartProgram(options);
  if (!started) {
    fwprintf(stderr, L"launch_timer: could not start %ls (error %lu)\n", options.program.c_str(), GetLastError());
    return kFailed;
  }
  HWND window = nullptr;
  double elapsed = 0;
  while ((window = VisibleWindowTitled(options.title)) == nullptr) {
    elapsed = ElapsedMs(start);
    if (elapsed > options.timeoutMs) {
      fwprintf(stderr, L"launch_timer: no window titled \"%ls\" within %lu ms\n", options.title.c_str(), options.timeoutMs);
      TerminateProcess(started.Get(), 137);
      return kTimedOut;
    }
    Sleep(kPollMs);
  }
  elapsed = ElapsedMs(start);
  wprintf(L"ms=%.1f\n", elapsed);
  fflush(stdout);
  if (!CloseAndWait(window, ProcessOfWindow(window), started)) {
    fwprintf(stderr, L"launch_timer: the program did not end within %lu ms of Cancel; ended it\n", kEndLimitMs);
    return kFailed;
  }
  return kOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    fwprintf(stderr, L"usage: launch_timer PROGRAM --title TITLE [--cwd DIR] [--timeout MS]\n");
    return kUsage;
  }
  return Measure(options);
}
