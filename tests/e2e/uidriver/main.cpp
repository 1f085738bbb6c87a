// uidriver: drives other processes' windows from outside, one command per run.
//   uidriver COMMAND [ARG...] [--option VALUE...] [-- TRAILING...]
// Exit status: 0 done, 1 failed, 2 timed out, 3 usage; the reason goes to stderr.
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>

#include "tests/e2e/uidriver/driver.h"

namespace uidriver {

void Fail(const std::wstring& message, int exitCode) { throw DriverError{message, exitCode}; }

void FailWithLastError(const std::wstring& what) {
  Fail(what + L" failed (error " + std::to_wstring(GetLastError()) + L")");
}

Args::Args(int argc, wchar_t** argv, int first) {
  for (int i = first; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--") {
      m_trailing.assign(argv + i + 1, argv + argc);
      return;
    }
    if (arg.rfind(L"--", 0) == 0) {
      if (i + 1 >= argc) Fail(L"option " + arg + L" needs a value", kUsage);
      m_options[arg.substr(2)] = argv[++i];
    } else {
      m_positional.push_back(arg);
    }
  }
}

const std::wstring& Args::Positional(size_t index, const wchar_t* name) const {
  if (index >= m_positional.size()) Fail(std::wstring(L"missing argument: ") + name, kUsage);
  return m_positional[index];
}

std::wstring Args::Option(const std::wstring& option, const std::wstring& fallback) const {
  auto found = m_options.find(option);
  return found == m_options.end() ? fallback : found->second;
}

DWORD Args::TimeoutMs() const {
  long long ms = ParseNumber(Option(L"timeout", L"10000"), L"--timeout");
  if (ms < 0 || ms > 3600000) Fail(L"--timeout must be 0 to 3600000 ms", kUsage);
  return static_cast<DWORD>(ms);
}

long long ParseNumber(const std::wstring& text, const wchar_t* what) {
  wchar_t* end = nullptr;
  errno = 0;
  long long value = std::wcstoll(text.c_str(), &end, 0);
  if (text.empty() || *end != L'\0' || errno != 0) Fail(std::wstring(L"not a number for ") + what + L": " + text, kUsage);
  return value;
}

HWND ParseWindow(const std::wstring& text) {
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseNumber(text, L"window handle")));
  if (!IsWindow(window)) Fail(L"no such window: " + text);
  return window;
}

HWND ControlOf(HWND dialog, const std::wstring& idText) {
  long long id = ParseNumber(idText, L"control id");
  if (id == 0) return dialog;
  HWND control = GetDlgItem(dialog, static_cast<int>(id));
  if (control == nullptr) Fail(L"window " + HandleText(dialog) + L" has no control " + idText);
  return control;
}

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring HandleText(HWND window) {
  wchar_t buffer[32];
  swprintf(buffer, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return buffer;
}

void PrintLine(const std::wstring& line) {
  std::wstring withNewline = line + L"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, withNewline.c_str(), static_cast<int>(withNewline.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, withNewline.c_str(), static_cast<int>(withNewline.size()), utf8.data(), size, nullptr, nullptr);
  fwrite(utf8.data(), 1, utf8.size(), stdout);
  fflush(stdout);
}

void PrintValue(const std::wstring& key, const std::wstring& value) { PrintLine(key + L"=" + Escape(value)); }
void PrintValue(const std::wstring& key, long long value) { PrintLine(key + L"=" + std::to_wstring(value)); }

LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
    Fail(L"window " + HandleText(window) + L" did not answer message " + std::to_wstring(message));
  return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
  LRESULT length = SendOrFail(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = SendOrFail(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied) < text.size() ? static_cast<size_t>(copied) : text.size() - 1);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

namespace {

std::vector<CommandEntry> AllCommands() {
  std::vector<CommandEntry> table;
  AddProcessCommands(table);
  AddWindowCommands(table);
  AddControlCommands(table);
  AddListViewCommands(table);
  AddMessageBoxCommands(table);
  return table;
}

void PrintUsage(const std::vector<CommandEntry>& table) {
  fwprintf(stderr, L"usage: uidriver COMMAND [ARG...] [--option VALUE...]\n");
  for (const CommandEntry& entry : table) fwprintf(stderr, L"  %ls %ls\n", entry.name, entry.usage);
}

}  // namespace
}  // namespace uidriver

int wmain(int argc, wchar_t** argv) {
  using namespace uidriver;
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in \n alone, as bash expects
  std::vector<CommandEntry> table = AllCommands();
  if (argc < 2) {
    PrintUsage(table);
    return kUsage;
  }
  for (const CommandEntry& entry : table) {
    if (std::wstring(argv[1]) != entry.name) continue;
    try {
      entry.run(Args(argc, argv, 2));
      return kOk;
    } catch (const DriverError& error) {
      fwprintf(stderr, L"uidriver %ls: %ls\n", entry.name, error.message.c_str());
      if (error.exitCode == kUsage) fwprintf(stderr, L"usage: uidriver %ls %ls\n", entry.name, entry.usage);
      return error.exitCode;
    }
  }
  fwprintf(stderr, L"uidriver: unknown command %ls\n", argv[1]);
  PrintUsage(table);
  return kUsage;
}
