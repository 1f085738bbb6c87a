// The smallest dialog program we can write: one modal dialog from a template
// built in memory, titled "Minimal", with OK and Cancel. The benchmark starts
// it to learn what any dialog program costs to show under the same Wine.
// Its exit status is the dialog's result.
#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

const wchar_t kTitle[] = L"Minimal";

void AppendText(std::vector<WORD>& words, const wchar_t* text) {
  words.insert(words.end(), text, text + std::wcslen(text) + 1);
}

void AlignToDword(std::vector<WORD>& words) {
  if (words.size() % 2 != 0) words.push_back(0);
}

template <typename T>
void AppendRecord(std::vector<WORD>& words, const T& record) {
  const WORD* begin = reinterpret_cast<const WORD*>(&record);
  words.insert(words.end(), begin, begin + sizeof(T) / sizeof(WORD));
}

void AppendButton(std::vector<WORD>& words, int id, const wchar_t* text, short x, DWORD style) {
  AlignToDword(words);
  DLGITEMTEMPLATE item{};
  item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | style;
  item.x = x;
  item.y = 40;
  item.cx = 50;
  item.cy = 14;
  item.id = static_cast<WORD>(id);
  AppendRecord(words, item);
  words.push_back(0xFFFF);
  words.push_back(0x0080);  // predefined class: button
  AppendText(words, text);
  words.push_back(0);  // no creation data
}

// Kept in WORDs so that the template starts DWORD-aligned, as the system wants.
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> words;
  DLGTEMPLATE dialog{};
  dialog.style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  dialog.cdit = 2;
  dialog.cx = 130;
  dialog.cy = 62;
  AppendRecord(words, dialog);
  words.push_back(0);  // no menu
  words.push_back(0);  // default dialog class
  AppendText(words, kTitle);
  words.push_back(8);  // font size
  AppendText(words, L"MS Shell Dlg");
  AppendButton(words, IDOK, L"OK", 14, BS_DEFPUSHBUTTON);
  AppendButton(words, IDCANCEL, L"Cancel", 68, BS_PUSHBUTTON);
  return words;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::vector<WORD> words = DialogTemplate();
  return static_cast<int>(DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                                  nullptr, DialogProc, 0));
}
