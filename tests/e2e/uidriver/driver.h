#pragma once
// Shared pieces of the UI driver: arguments, output and the failure type.
// Every command runs in one invocation and reports through stdout lines.
#include <windows.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace uidriver {

enum ExitCode { kOk = 0, kFailed = 1, kTimedOut = 2, kUsage = 3 };

// The one error type: caught in wmain, never thrown from a Win32 callback.
struct DriverError {
  std::wstring message;
  int exitCode = kFailed;
};

[[noreturn]] void Fail(const std::wstring& message, int exitCode = kFailed);
[[noreturn]] void FailWithLastError(const std::wstring& what);

class Args {
 public:
  Args(int argc, wchar_t** argv, int first);

  const std::wstring& Positional(size_t index, const wchar_t* name) const;
  size_t PositionalCount() const { return m_positional.size(); }
  bool Has(const std::wstring& option) const { return m_options.count(option) != 0; }
  std::wstring Option(const std::wstring& option, const std::wstring& fallback = L"") const;
  DWORD TimeoutMs() const;
  const std::vector<std::wstring>& Trailing() const { return m_trailing; }

 private:
  std::vector<std::wstring> m_positional;
  std::map<std::wstring, std::wstring> m_options;
  std::vector<std::wstring> m_trailing;  // everything after "--"
};

long long ParseNumber(const std::wstring& text, const wchar_t* what);
HWND ParseWindow(const std::wstring& text);
HWND ControlOf(HWND dialog, const std::wstring& idText);

// Output: UTF-8, texts escaped so that one record is one line.
std::wstring Escape(const std::wstring& text);
std::wstring HandleText(HWND window);
void PrintLine(const std::wstring& line);
void PrintValue(const std::wstring& key, const std::wstring& value);
void PrintValue(const std::wstring& key, long long value);

// Cross-process reads that never hang on a busy target.
LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
DWORD ProcessOf(HWND window);

// Polls until ready() returns true or the time limit passes; then fails with
// kTimedOut and the given description.
template <typename Ready>
void WaitUntil(DWORD timeoutMs, const std::wstring& what, Ready ready) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (ready()) return;
    if (GetTickCount64() >= deadline) Fail(L"timed out after " + std::to_wstring(timeoutMs) + L" ms waiting for " + what, kTimedOut);
    Sleep(50);
  }
}

using Command = void (*)(const Args&);
struct CommandEntry {
  const wchar_t* name;
  const wchar_t* usage;
  Command run;
};

// Each area appends its commands.
void AddProcessCommands(std::vector<CommandEntry>& table);
void AddWindowCommands(std::vector<CommandEntry>& table);
void AddControlCommands(std::vector<CommandEntry>& table);
void AddListViewCommands(std::vector<CommandEntry>& table);
void AddMessageBoxCommands(std::vector<CommandEntry>& table);

}  // namespace uidriver
