// The least a program must do to show the tool's main window: map the
// resource library from the working directory for its resources, register
// the list view class and run the selection dialog's template with nothing
// behind it. The benchmark starts it to learn what showing that window costs
// under the same Wine, so that what the tool adds is what it does besides.
// Its exit status is the dialog's result.
#include <windows.h>
#include <commctrl.h>

#include "resources/resource_ids.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const HMODULE resources =
      LoadLibraryExW(SOMV_RESOURCE_LIBRARY, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
  if (resources == nullptr) return -1;
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return static_cast<int>(DialogBoxParamW(resources, MAKEINTRESOURCEW(IDD_SOMV_DIALOG), nullptr, DialogProc, 0));
}
