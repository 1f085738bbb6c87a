#pragma once
// The application object: one per program, constructed before the entry
// point runs. RunApplication drives its start-up and exit steps.
#include <windows.h>

#include "framework/wnd_win.h"

namespace somv {

class CWinApp;

// The framework's standard Help command.
inline constexpr UINT ID_HELP = 0xE146;

// One command the application object answers; a table ends with id 0.
struct AppCommandEntry {
  UINT id;
  void (CWinApp::*handler)();
};

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // None by default.
  virtual const AppCommandEntry* GetCommandMap() const;
  // Non-zero runs the message loop; zero goes straight to ExitInstance.
  virtual BOOL InitInstance();
  // Its result is the process exit status.
  virtual int ExitInstance();
  // Message loop until WM_QUIT; its wParam is the result.
  virtual int Run();

  // The default Help handler: the tool ships no help file, so it opens nothing.
  void OnHelp() {}

  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
};

// The application object constructed last and not yet destroyed; null if none.
CWinApp* GetApp();

// The program's own module, whatever the current resource module is.
HINSTANCE GetInstanceHandle();

// InitInstance, then Run only if it returned non-zero, then ExitInstance,
// whose result is returned. No application object: -1.
int RunApplication(HINSTANCE instance);

}  // namespace somv
