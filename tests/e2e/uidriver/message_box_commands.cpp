// Message boxes of other processes: finding them, reading them, dismissing them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

#include "tests/e2e/uidriver/driver.h"

namespace uidriver {
namespace {

constexpr int kTextId = 0xFFFF;
const wchar_t kDialogClass[] = L"#32770";

struct IconKind {
  const wchar_t* name;
  LPCWSTR resource;
};
const IconKind kIconKinds[] = {
    {L"exclamation", IDI_EXCLAMATION}, {L"hand", IDI_HAND}, {L"question", IDI_QUESTION}, {L"asterisk", IDI_ASTERISK}};

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

// A message box is a dialog holding only statics and the standard buttons
// (IDOK..IDCONTINUE), one static being the text (id 0xFFFF). The tool's own
// dialogs hold lists, edits or buttons with their own ids.
bool IsMessageBox(HWND window) {
  if (ClassName(window) != kDialogClass) return false;
  bool hasText = false;
  for (HWND child : ChildrenOf(window)) {
    std::wstring kind = ClassName(child);
    int id = GetDlgCtrlID(child);
    if (kind == L"Static") {
      hasText = hasText || id == kTextId;
    } else if (kind != L"Button" || id < IDOK || id > IDCONTINUE) {
      return false;
    }
  }
  return hasText;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

HWND IconStatic(HWND box) {
  for (HWND child : ChildrenOf(box))
    if (ClassName(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
  return nullptr;
}

// 32-bit pixels of a rectangle, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data;
};

class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height) : m_dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    m_pixels.width = width;
    m_pixels.height = height;
  }
  ~MemoryCanvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC Dc() const { return m_dc; }
  bool Ok() const { return m_bitmap != nullptr && m_bits != nullptr; }
  Pixels Take() {
    GdiFlush();
    const uint32_t* bits = static_cast<const uint32_t*>(m_bits);
    m_pixels.data.assign(bits, bits + static_cast<size_t>(m_pixels.width) * m_pixels.height);
    return m_pixels;
  }

 private:
  HDC m_dc;
  HBITMAP m_bitmap = nullptr;
  void* m_bits = nullptr;
  HGDIOBJ m_old = nullptr;
  Pixels m_pixels;
};

Pixels CaptureScreen(const RECT& rect) {
  MemoryCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
  if (!canvas.Ok()) return {};
  HDC screen = GetDC(nullptr);
  BOOL copied = BitBlt(canvas.Dc(), 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return copied ? canvas.Take() : Pixels{};
}

Pixels RenderIcon(HICON icon, int width, int height, COLORREF background) {
  MemoryCanvas canvas(width, height);
  if (!canvas.Ok()) return {};
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(canvas.Dc(), &all, brush);
  DeleteObject(brush);
  DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  return canvas.Take();
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 24) return false;
  return true;
}

// Share of the icon's opaque pixels (same on black and on white) that the
// screen shows in the same colour.
double Likeness(const Pixels& screen, HICON icon) {
  Pixels onBlack = RenderIcon(icon, screen.width, screen.height, RGB(0, 0, 0));
  Pixels onWhite = RenderIcon(icon, screen.width, screen.height, RGB(255, 255, 255));
  if (onBlack.data.size() != screen.data.size() || onWhite.data.size() != screen.data.size()) return 0;
  size_t opaque = 0;
  size_t same = 0;
  for (size_t i = 0; i < screen.data.size(); ++i) {
    if (!Near(onBlack.data[i], onWhite.data[i])) continue;
    ++opaque;
    if (Near(onBlack.data[i], screen.data[i])) ++same;
  }
  return opaque < 16 ? 0 : static_cast<double>(same) / static_cast<double>(opaque);
}

// Icon handles are not shared between processes under Wine, so a handle
// comparison settles it only on Windows; otherwise the icon's pixels on the
// screen are compared with each system icon drawn here.
std::wstring IconKindOf(HWND box, DWORD timeoutMs) {
  HWND iconStatic = IconStatic(box);
  if (iconStatic == nullptr || !IsWindowVisible(iconStatic)) return L"none";
  HICON shown = reinterpret_cast<HICON>(SendOrFail(iconStatic, STM_GETICON, 0, 0));
  if (shown == nullptr) return L"none";
  for (const IconKind& kind : kIconKinds)
    if (LoadIconW(nullptr, kind.resource) == shown) return kind.name;

  RECT rect;
  GetClientRect(iconStatic, &rect);
  MapWindowPoints(iconStatic, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return L"unknown";
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    Pixels screen = CaptureScreen(rect);
    const wchar_t* best = nullptr;
    double bestScore = 0;
    for (const IconKind& kind : kIconKinds) {
      double score = screen.data.empty() ? 0 : Likeness(screen, LoadIconW(nullptr, kind.resource));
      if (score > bestScore) {
        bestScore = score;
        best = kind.name;
      }
    }
    if (best != nullptr && bestScore >= 0.9) return best;
    Sleep(100);  // the box may not have painted yet
  } while (GetTickCount64() < deadline);
  return L"unknown";
}

std::vector<HWND> VisibleButtons(HWND box) {
  std::vector<HWND> buttons;
  for (HWND child : ChildrenOf(box))
    if (ClassName(child) == L"Button" && IsWindowVisible(child)) buttons.push_back(child);
  return buttons;
}

std::wstring StyleText(LONG style) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lx", static_cast<unsigned long>(style));
  return text;
}

void PrintMessageBox(HWND box) {
  wchar_t caption[1024] = {};
  GetWindowTextW(box, caption, 1024);
  PrintLine(L"hwnd=" + HandleText(box));
  PrintValue(L"pid", static_cast<long long>(ProcessOf(box)));
  PrintValue(L"caption", caption);
  PrintValue(L"text", WindowText(GetDlgItem(box, kTextId)));
  PrintValue(L"icon", IconKindOf(box, 2000));
  HWND owner = GetWindow(box, GW_OWNER);
  wchar_t ownerTitle[1024] = {};
  if (owner != nullptr) GetWindowTextW(owner, ownerTitle, 1024);
  PrintLine(L"owner=" + HandleText(owner));
  PrintValue(L"owner_title", ownerTitle);
  std::wstring buttons;
  for (HWND button : VisibleButtons(box)) buttons += (buttons.empty() ? L"" : L" ") + std::to_wstring(GetDlgCtrlID(button));
  PrintValue(L"buttons", buttons);
  // MB_RIGHT shows as SS_RIGHT on the text, MB_RTLREADING in the extended styles.
  PrintLine(L"text_style=" + StyleText(GetWindowLongW(GetDlgItem(box, kTextId), GWL_STYLE)));
  PrintLine(L"exstyle=" + StyleText(GetWindowLongW(box, GWL_EXSTYLE)));
}

HWND BoxFrom(const Args& args) {
  HWND box = ParseWindow(args.Positional(0, L"HWND"));
  if (!IsMessageBox(box)) Fail(L"window " + args.Positional(0, L"HWND") + L" is not a message box");
  return box;
}

void WaitMessageBox(const Args& args) {
  const bool byCaption = args.Has(L"caption");
  const std::wstring caption = args.Option(L"caption");
  const DWORD pid = static_cast<DWORD>(ParseNumber(args.Option(L"pid", L"0"), L"--pid"));
  HWND found = nullptr;
  WaitUntil(args.TimeoutMs(), byCaption ? L"a message box captioned \"" + caption + L"\"" : L"a message box", [&] {
    std::vector<HWND> windows;
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      if (!IsWindowVisible(window) || !IsMessageBox(window)) continue;
      if (pid != 0 && ProcessOf(window) != pid) continue;
      wchar_t title[1024] = {};
      GetWindowTextW(window, title, 1024);
      if (byCaption && caption != title) continue;
      found = window;
      return true;
    }
    return false;
  });
  PrintMessageBox(found);
}

void Describe(const Args& args) { PrintMessageBox(BoxFrom(args)); }

// OK when the box has one, else Cancel, unless --button names another.
void Dismiss(const Args& args) {
  HWND box = BoxFrom(args);
  std::vector<int> ids;
  for (HWND button : VisibleButtons(box)) ids.push_back(GetDlgCtrlID(button));
  int id = 0;
  if (args.Has(L"button")) {
    id = static_cast<int>(ParseNumber(args.Option(L"button"), L"--button"));
  } else {
    for (int candidate : {IDOK, IDCANCEL})
      if (id == 0 && std::find(ids.begin(), ids.end(), candidate) != ids.end()) id = candidate;
  }
  if (std::find(ids.begin(), ids.end(), id) == ids.end()) Fail(L"the message box shows no button " + std::to_wstring(id));
  if (!PostMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0)) FailWithLastError(L"posting BM_CLICK");
  WaitUntil(args.TimeoutMs(), L"the message box to close", [&] { return !IsWindow(box) || !IsWindowVisible(box); });
  PrintValue(L"dismissed", id);
}

}  // namespace

void AddMessageBoxCommands(std::vector<CommandEntry>& table) {
  table.push_back({L"wait-msgbox", L"[--caption C] [--pid P] [--timeout MS]   prints hwnd, pid, caption, text, icon, owner, owner_title, buttons, text_style, exstyle",
                   WaitMessageBox});
  table.push_back({L"msgbox", L"HWND   prints the message box like wait-msgbox", Describe});
  table.push_back({L"msgbox-dismiss", L"HWND [--button ID] [--timeout MS]   presses OK (or Cancel), waits until it closes", Dismiss});
}

}  // namespace uidriver
