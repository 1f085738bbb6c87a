#pragma once
// The application object: start-up checks, single-instance control and the
// printer selection dialog run in place or handed over to the temporary copy.
#include <windows.h>

#include "app/relaunch_win.h"
#include "common/tool_mutexes_win.h"
#include "common/unique_handle_win.h"
#include "framework/app_win.h"
#include "messages/view_msg_win.h"

namespace somv {

class CSomvApp : public CWinApp {
 public:
  CSomvApp() = default;
  ~CSomvApp() override = default;

  const AppCommandEntry* GetCommandMap() const override;
  // Always 0: the dialog runs its own loop, so the application's never starts.
  BOOL InitInstance() override;
  // Always 1, the process exit status on every path.
  int ExitInstance() override;

  HMODULE m_hResourceLib = nullptr;
  HINSTANCE m_hSavedResource = nullptr;
  HANDLE m_hMutex = nullptr;
  UniqueKernelHandle m_globalMutex;  // the companion of m_hMutex in the global namespace
  // The running program's file, held from the start until the hand-over is
  // decided, so that the copy is of this very program.
  UniqueKernelHandle m_programFile;
  CViewMSg m_viewMsg;
  // The temporary copy's companion files, held for the whole run.
  HeldCompanionFiles m_heldCompanions;

 private:
  // False, with a message shown, when the resource library is missing or
  // cannot be loaded; the program's own strings say so.
  bool LoadResourceLibrary();
  // True when another instance already runs, in this session (its window is
  // brought forward) or, through the companion, in another; nothing is held then.
  bool AnotherInstanceRuns();
  // True when this process is to end: the copy runs the tool, or a run took
  // the companion while the hand-over was tried.
  bool HandOverToTempCopy();
  void RunDialogInPlace();

  static const AppCommandEntry kCommandEntries[];
};

// The one application object, defined beside the program's entry point.
extern CSomvApp theApp;

}  // namespace somv
