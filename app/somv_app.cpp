#include "app/somv_app.h"

#include <commctrl.h>

#include <string>

#include "app/instance_window_win.h"
#include "app/placement.h"
#include "app/relaunch_win.h"
#include "common/names.h"
#include "common/tool_mutexes_win.h"
#include "common/win_text.h"
#include "common/wow64_win.h"
#include "framework/resource_module_win.h"
#include "framework/window_search_win.h"
#include "resources/resource_ids.h"
#include "selection/somv_dlg.h"
#include "settings/launch_dir_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

constexpr DWORD kCommonControlsRecordSize = 8;
constexpr DWORD kAllCommonControlClasses = 0xFF;

void RegisterCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = kCommonControlsRecordSize;
  controls.dwICC = kAllCommonControlClasses;
  ::InitCommonControlsEx(&controls);
}

bool LaunchFileExists(const char16_t* name) { return FileExists(GetLaunchFilePath(WidePtr(name))); }

}  // namespace

// Kept because the tool is to answer the standard Help command, though
// nothing reads this table: no window routes commands to the application.
const AppCommandEntry CSomvApp::kCommandEntries[] = {
    {ID_HELP, &CWinApp::OnHelp},
    {0, nullptr},
};

const AppCommandEntry* CSomvApp::GetCommandMap() const { return kCommandEntries; }

// Up to the hand-over only the kernel is used: the copy does the work, and
// the windowing and shell libraries would cost this process their start-up.
BOOL CSomvApp::InitInstance() {
  CWinApp::InitInstance();
  // Before anything reads them; the program as started holds them until
  // this says it does.
  if (IsRunningFromTempCopy()) m_heldCompanions = HoldCompanionFiles();
  if (!LoadResourceLibrary()) return FALSE;
  if (AnotherInstanceRuns()) return FALSE;
  if (IsWow64()) {
    m_viewMsg.ShowMessage(nullptr, IDS_MSG_WOW64);
    return FALSE;
  }
  if (!LaunchFileExists(kSettingsFileName)) {
    m_viewMsg.ShowMessage(nullptr, IDS_MSG_SETUP_MISSING);
    return FALSE;
  }
  if (HandOverToTempCopy()) return FALSE;
  RunDialogInPlace();
  return FALSE;
}

int CSomvApp::ExitInstance() {
  // The library's resources must not be looked up once it is gone.
  if (m_hSavedResource != nullptr) SetResourceModule(m_hSavedResource);
  if (m_hResourceLib != nullptr) {
    ::FreeLibrary(m_hResourceLib);
    m_hResourceLib = nullptr;
  }
  m_heldCompanions = {};
  if (m_hMutex != nullptr) {
    ::ReleaseMutex(m_hMutex);
    ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
  }
  CWinApp::ExitInstance();
  return 1;
}

bool CSomvApp::LoadResourceLibrary() {
  const std::wstring path = GetLaunchFilePath(WidePtr(ThisBuild().resourceLibrary));
  if (FileExists(path)) m_hResourceLib = LoadResourceOnlyLibrary(path);
  if (m_hResourceLib == nullptr) {
    // Still the program's own module: its string table holds this one text.
    m_viewMsg.ShowMessage(nullptr, IDS_MSG_START_FAILED);
    return false;
  }
  m_hSavedResource = GetInstanceHandle();
  SetResourceModule(m_hResourceLib);
  return true;
}

bool CSomvApp::AnotherInstanceRuns() {
  ToolMutexes mutexes = TakeToolMutexes();
  m_hMutex = mutexes.local.Release();
  m_globalMutex = std::move(mutexes.global);
  // Another session's tool or run shows no window here to bring forward.
  if (mutexes.exclusion == Exclusion::kHeldInThisSession) {
    if (const HWND running = FindRunningInstanceWindow()) BringForwardRestored(running);
  }
  return !mutexes.Held();
}

bool CSomvApp::HandOverToTempCopy() {
  bool letGoOfCompanion = false;
  const auto relaunch = [this, &letGoOfCompanion] {
    // The copy takes both names itself; the relaunch lets go of the session's.
    m_globalMutex.Reset();
    letGoOfCompanion = true;
    return RelaunchFromTempCopy(m_hMutex, m_programFile.Get());
  };
  const Placement placement =
      DecidePlacement([] { return IsDebugUIEnabled(); }, [] { return IsRunningFromTempCopy(); }, relaunch);
  m_programFile.Reset();
  if (placement == Placement::kHandedOver) return true;
  // Here after all: a run that took the companion meanwhile keeps its
  // printers, and this start ends as a second start does.
  return letGoOfCompanion && !TakeGlobalToolMutexAgain(m_globalMutex);
}

void CSomvApp::RunDialogInPlace() {
  RegisterCommonControls();
  CSomvDlg dialog(nullptr);
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
}

}  // namespace somv
