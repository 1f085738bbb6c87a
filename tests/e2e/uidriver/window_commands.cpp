// Finding top-level windows and acting on them as a whole.
#include "tests/e2e/uidriver/driver.h"

namespace uidriver {
namespace {

struct WindowFilter {
  bool byTitle = false;
  std::wstring title;
  std::wstring className;
  DWORD pid = 0;
  bool byOwner = false;
  HWND owner = nullptr;
  int controlId = 0;
  bool includeHidden = false;
};

WindowFilter FilterFrom(const Args& args) {
  WindowFilter filter;
  filter.byTitle = args.Has(L"title");
  filter.title = args.Option(L"title");
  filter.className = args.Option(L"class");
  if (args.Has(L"pid")) filter.pid = static_cast<DWORD>(ParseNumber(args.Option(L"pid"), L"--pid"));
  filter.byOwner = args.Has(L"owner");
  if (filter.byOwner) filter.owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseNumber(args.Option(L"owner"), L"--owner")));
  if (args.Has(L"has-control")) filter.controlId = static_cast<int>(ParseNumber(args.Option(L"has-control"), L"--has-control"));
  filter.includeHidden = args.Option(L"hidden", L"0") == L"1";
  return filter;
}

// Titles and classes come from GetWindowText/GetClassName, which read what the
// window manager stores and so never wait on a busy target.
std::wstring StoredTitle(HWND window) {
  wchar_t title[1024] = {};
  GetWindowTextW(window, title, 1024);
  return title;
}

bool Matches(HWND window, const WindowFilter& filter) {
  if (!filter.includeHidden && !IsWindowVisible(window)) return false;
  if (filter.pid != 0 && ProcessOf(window) != filter.pid) return false;
  if (filter.byOwner && GetWindow(window, GW_OWNER) != filter.owner) return false;
  if (!filter.className.empty() && ClassName(window) != filter.className) return false;
  if (filter.byTitle && StoredTitle(window) != filter.title) return false;
  if (filter.controlId != 0 && GetDlgItem(window, filter.controlId) == nullptr) return false;
  return true;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> Matching(const WindowFilter& filter) {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows())
    if (Matches(window, filter)) found.push_back(window);
  return found;
}

void PrintWindowRecord(HWND window) {
  PrintLine(L"hwnd=" + HandleText(window));
  PrintValue(L"pid", static_cast<long long>(ProcessOf(window)));
  PrintValue(L"class", ClassName(window));
  HWND owner = GetWindow(window, GW_OWNER);
  PrintLine(L"owner=" + HandleText(owner));
  PrintValue(L"owner_title", owner ? StoredTitle(owner) : L"");
  PrintValue(L"title", StoredTitle(window));
}

void ListWindows(const Args& args) {
  WindowFilter filter = FilterFrom(args);
  for (HWND window : Matching(filter)) {
    PrintLine(HandleText(window) + L"\t" + std::to_wstring(ProcessOf(window)) + L"\t" +
              HandleText(GetWindow(window, GW_OWNER)) + L"\t" + (IsWindowVisible(window) ? L"1" : L"0") + L"\t" +
              Escape(ClassName(window)) + L"\t" + Escape(StoredTitle(window)));
  }
}

void WaitWindow(const Args& args) {
  WindowFilter filter = FilterFrom(args);
  if (!filter.byTitle && args.PositionalCount() > 0) {
    filter.byTitle = true;
    filter.title = args.Positional(0, L"TITLE");
  }
  HWND found = nullptr;
  WaitUntil(args.TimeoutMs(), L"a window titled \"" + filter.title + L"\"", [&] {
    std::vector<HWND> windows = Matching(filter);
    if (windows.empty()) return false;
    found = windows.front();
    return true;
  });
  PrintWindowRecord(found);
}

void WaitGone(const Args& args) {
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseNumber(args.Positional(0, L"HWND"), L"window handle")));
  WaitUntil(args.TimeoutMs(), L"window " + HandleText(window) + L" to close", [&] { return !IsWindow(window); });
  PrintLine(L"gone=1");
}

void Describe(const Args& args) { PrintWindowRecord(ParseWindow(args.Positional(0, L"HWND"))); }

void Foreground(const Args&) {
  HWND window = GetForegroundWindow();
  if (window == nullptr) Fail(L"no foreground window");
  PrintWindowRecord(window);
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

void Children(const Args& args) {
  HWND parent = ParseWindow(args.Positional(0, L"HWND"));
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    wchar_t style[16];
    swprintf(style, 16, L"0x%08lx", static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)));
    PrintLine(HandleText(child) + L"\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + Escape(ClassName(child)) + L"\t" +
              style + L"\t" + (IsWindowVisible(child) ? L"1" : L"0") + L"\t" + (IsWindowEnabled(child) ? L"1" : L"0") + L"\t" +
              Escape(StoredTitle(child)));
  }
}

void Close(const Args& args) {
  HWND window = ParseWindow(args.Positional(0, L"HWND"));
  if (!PostMessageW(window, WM_CLOSE, 0, 0)) FailWithLastError(L"posting WM_CLOSE");
  PrintLine(L"posted=WM_CLOSE");
}

// As the Enter key does in a dialog whose default button is disabled.
void PostCommand(const Args& args) {
  HWND window = ParseWindow(args.Positional(0, L"HWND"));
  const long long id = ParseNumber(args.Positional(1, L"ID"), L"id");
  if (!PostMessageW(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0)) FailWithLastError(L"posting WM_COMMAND");
  PrintLine(L"posted=WM_COMMAND");
}

void Minimize(const Args& args) {
  HWND window = ParseWindow(args.Positional(0, L"HWND"));
  if (!PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0)) FailWithLastError(L"posting SC_MINIMIZE");
  WaitUntil(args.TimeoutMs(), L"window " + HandleText(window) + L" to be minimised", [&] { return IsIconic(window) != FALSE; });
  PrintLine(L"minimized=1");
}

}  // namespace

void AddWindowCommands(std::vector<CommandEntry>& table) {
  const wchar_t* filters = L"[--title T] [--class C] [--pid P] [--owner HWND] [--has-control ID] [--hidden 1]";
  static const std::wstring windowsUsage = std::wstring(filters) + L"   prints hwnd pid owner visible class title, tab-separated";
  static const std::wstring waitUsage = std::wstring(L"[TITLE] ") + filters + L" [--timeout MS]   prints hwnd, pid, class, owner, owner_title, title";
  table.push_back({L"windows", windowsUsage.c_str(), ListWindows});
  table.push_back({L"wait-window", waitUsage.c_str(), WaitWindow});
  table.push_back({L"wait-gone", L"HWND [--timeout MS]", WaitGone});
  table.push_back({L"describe", L"HWND   prints hwnd, pid, class, owner, owner_title, title", Describe});
  table.push_back({L"foreground", L"  prints the foreground window like describe", Foreground});
  table.push_back({L"children", L"HWND   prints hwnd id class style visible enabled text, tab-separated", Children});
  table.push_back({L"close", L"HWND   posts WM_CLOSE", Close});
  table.push_back({L"command", L"HWND ID   posts WM_COMMAND ID, as a menu or the Enter key does", PostCommand});
  table.push_back({L"minimize", L"HWND [--timeout MS]", Minimize});
}

}  // namespace uidriver
