#include "app/somv_app.h"

#include <commctrl.h>

#include <string>

#include "app/instance_window_win.h"
#include "app/placement.h"
#include "app/relaunch_win.h"
#include "app/wow64_win.h"
#include "common/names.h"
#include "common/win_text.h"
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
  // Seen from every session, so that the console programs run by an agent in
  // session 0 leave alone a printer this tool may have open. Only they read it.
  m_globalMutex.Reset(::CreateMutexW(nullptr, FALSE, WidePtr(u"Global\\" + std::u16string(kMutexName))));
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
  m_hMutex = ::CreateMutexW(nullptr, FALSE, WidePtr(kMutexName));
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (const HWND running = FindRunningInstanceWindow()) BringForwardRestored(running);
  return true;
}

bool CSomvApp::HandOverToTempCopy() {
  const Placement placement = DecidePlacement([] { return IsDebugUIEnabled(); },
                                              [] { return IsRunningFromTempCopy(); },
                                              [this] { return RelaunchFromTempCopy(m_hMutex); });
  return placement == Placement::kHandedOver;
}

void CSomvApp::RunDialogInPlace() {
  RegisterCommonControls();
  CSomvDlg dialog(nullptr);
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
}

}  // namespace somv
