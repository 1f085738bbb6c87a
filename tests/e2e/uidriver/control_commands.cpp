// Reading and operating single controls: buttons, check boxes, edits, combo boxes.
#include "tests/e2e/uidriver/driver.h"

namespace uidriver {
namespace {

HWND ControlFrom(const Args& args) {
  return ControlOf(ParseWindow(args.Positional(0, L"HWND")), args.Positional(1, L"ID"));
}

bool IsCheckable(HWND control) {
  if (ClassName(control) != L"Button") return false;
  LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  return kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE || kind == BS_AUTORADIOBUTTON;
}

void Text(const Args& args) { PrintValue(L"text", WindowText(ControlFrom(args))); }

void SetText(const Args& args) {
  HWND control = ControlFrom(args);
  std::wstring text = args.Positional(2, L"TEXT");
  if (!SendOrFail(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) Fail(L"the control refused the text");
  PrintValue(L"text", WindowText(control));
}

// A person cannot press what is greyed out or hidden, nor anything in a
// window that a modal dialog or message box has disabled; neither can we.
void RequireUsable(HWND control, const std::wstring& id) {
  if (!IsWindowVisible(control)) Fail(L"control " + id + L" is hidden");
  if (!IsWindowEnabled(control)) Fail(L"control " + id + L" is disabled");
  HWND root = GetAncestor(control, GA_ROOT);
  if (root != nullptr && !IsWindowEnabled(root)) Fail(L"window " + HandleText(root) + L" is disabled (a modal window is open over it)");
}

// Posted, not sent: a click that opens a modal dialog returns only when that
// dialog closes, and the driver must not wait for that.
void Click(const Args& args) {
  HWND control = ControlFrom(args);
  const std::wstring& id = args.Positional(1, L"ID");
  RequireUsable(control, id);
  const bool checkable = IsCheckable(control);
  const LRESULT before = checkable ? SendOrFail(control, BM_GETCHECK, 0, 0) : 0;
  if (!PostMessageW(control, BM_CLICK, 0, 0)) FailWithLastError(L"posting BM_CLICK");
  if (checkable) {
    WaitUntil(args.TimeoutMs(), L"check box " + id + L" to change", [&] { return SendOrFail(control, BM_GETCHECK, 0, 0) != before; });
    PrintValue(L"checked", static_cast<long long>(SendOrFail(control, BM_GETCHECK, 0, 0)));
  } else {
    PrintLine(L"posted=BM_CLICK");
  }
}

void Checked(const Args& args) { PrintValue(L"checked", static_cast<long long>(SendOrFail(ControlFrom(args), BM_GETCHECK, 0, 0))); }

void State(const Args& args) {
  HWND control = ControlFrom(args);
  PrintValue(L"enabled", IsWindowEnabled(control) ? 1 : 0);
  PrintValue(L"visible", IsWindowVisible(control) ? 1 : 0);
  PrintValue(L"minimized", IsIconic(control) ? 1 : 0);
  PrintValue(L"id", static_cast<long long>(GetDlgCtrlID(control)));
  PrintValue(L"class", ClassName(control));
}

// Waits until every condition given holds: --enabled, --visible, --checked, --text.
void WaitState(const Args& args) {
  HWND control = ControlFrom(args);
  auto flagHolds = [&](const wchar_t* option, bool actual) {
    return !args.Has(option) || (args.Option(option) == L"1") == actual;
  };
  auto holds = [&] {
    if (!flagHolds(L"enabled", IsWindowEnabled(control) != FALSE)) return false;
    if (!flagHolds(L"visible", IsWindowVisible(control) != FALSE)) return false;
    if (args.Has(L"checked") && SendOrFail(control, BM_GETCHECK, 0, 0) != ParseNumber(args.Option(L"checked"), L"--checked")) return false;
    if (args.Has(L"text") && WindowText(control) != args.Option(L"text")) return false;
    return true;
  };
  WaitUntil(args.TimeoutMs(), L"control " + args.Positional(1, L"ID") + L" to reach the state asked for", holds);
  PrintLine(L"reached=1");
}

HWND FocusedWindowOfThread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) FailWithLastError(L"reading the focus");
  return info.hwndFocus;
}

// WM_NEXTDLGCTL lets the target's dialog manager move the focus itself, as
// the Tab key would, default push button included.
void Focus(const Args& args) {
  HWND dialog = ParseWindow(args.Positional(0, L"HWND"));
  HWND control = ControlFrom(args);
  RequireUsable(control, args.Positional(1, L"ID"));
  if (!PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE)) FailWithLastError(L"posting WM_NEXTDLGCTL");
  WaitUntil(args.TimeoutMs(), L"the focus to move", [&] { return FocusedWindowOfThread(dialog) == control; });
  PrintLine(L"focused=" + args.Positional(1, L"ID"));
}

void Focused(const Args& args) {
  HWND window = ParseWindow(args.Positional(0, L"HWND"));
  HWND focus = FocusedWindowOfThread(window);
  PrintLine(L"hwnd=" + HandleText(focus));
  PrintValue(L"id", focus ? static_cast<long long>(GetDlgCtrlID(focus)) : 0);
  PrintValue(L"class", focus ? ClassName(focus) : L"");
}

HWND ComboFrom(const Args& args) {
  HWND combo = ControlFrom(args);
  if (ClassName(combo) != L"ComboBox") Fail(L"control " + args.Positional(1, L"ID") + L" is a " + ClassName(combo) + L", not a ComboBox");
  return combo;
}

// CB_GETLBTEXT is marshalled across processes by the system, like WM_GETTEXT.
std::wstring ComboItem(HWND combo, LRESULT index) {
  LRESULT length = SendOrFail(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) Fail(L"no combo box item " + std::to_wstring(index));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = SendOrFail(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

void ComboItems(const Args& args) {
  HWND combo = ComboFrom(args);
  LRESULT count = SendOrFail(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) PrintLine(std::to_wstring(i) + L"\t" + Escape(ComboItem(combo, i)));
}

void ComboSelection(const Args& args) {
  HWND combo = ComboFrom(args);
  LRESULT selected = SendOrFail(combo, CB_GETCURSEL, 0, 0);
  PrintValue(L"count", static_cast<long long>(SendOrFail(combo, CB_GETCOUNT, 0, 0)));
  PrintValue(L"index", static_cast<long long>(selected));
  PrintValue(L"text", selected == CB_ERR ? L"" : ComboItem(combo, selected));
}

// CB_SETCURSEL does not tell the parent; --notify 1 sends CBN_SELCHANGE as a
// person's choice would.
void ComboSelect(const Args& args) {
  HWND combo = ComboFrom(args);
  RequireUsable(combo, args.Positional(1, L"ID"));
  long long index = ParseNumber(args.Positional(2, L"INDEX"), L"index");
  LRESULT result = SendOrFail(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (result == CB_ERR && index != -1) Fail(L"no combo box item " + std::to_wstring(index));
  if (args.Option(L"notify") == L"1")
    SendOrFail(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  PrintValue(L"index", static_cast<long long>(SendOrFail(combo, CB_GETCURSEL, 0, 0)));
}

}  // namespace

void AddControlCommands(std::vector<CommandEntry>& table) {
  table.push_back({L"text", L"HWND ID   prints text (ID 0: the window itself)", Text});
  table.push_back({L"set-text", L"HWND ID TEXT   WM_SETTEXT, prints text", SetText});
  table.push_back({L"click", L"HWND ID [--timeout MS]   posts BM_CLICK; check boxes: waits for the change, prints checked", Click});
  table.push_back({L"checked", L"HWND ID   prints checked=0|1|2", Checked});
  table.push_back({L"state", L"HWND ID   prints enabled, visible, minimized, id, class", State});
  table.push_back({L"wait-state", L"HWND ID [--enabled 0|1] [--visible 0|1] [--checked N] [--text T] [--timeout MS]", WaitState});
  table.push_back({L"focus", L"HWND ID [--timeout MS]   moves the dialog's focus to the control", Focus});
  table.push_back({L"focused", L"HWND   prints hwnd, id, class of the focus in that window's thread", Focused});
  table.push_back({L"combo-items", L"HWND ID   prints index<TAB>text per item", ComboItems});
  table.push_back({L"combo-selection", L"HWND ID   prints count, index (-1: none), text", ComboSelection});
  table.push_back({L"combo-select", L"HWND ID INDEX [--notify 1]   CB_SETCURSEL, prints index", ComboSelect});
}

}  // namespace uidriver
