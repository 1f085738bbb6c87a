#include "framework/app_win.h"

namespace somv {
namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

const AppCommandEntry* CWinApp::GetCommandMap() const {
  static const AppCommandEntry kNone[] = {{0, nullptr}};
  return kNone;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

CWinApp* GetApp() { return g_app; }

HINSTANCE GetInstanceHandle() {
  return g_app != nullptr && g_app->m_hInstance != nullptr ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

int RunApplication(HINSTANCE instance) {
  CWinApp* app = GetApp();
  if (app == nullptr) return -1;
  app->m_hInstance = instance;
  if (app->InitInstance()) app->Run();
  return app->ExitInstance();
}

}  // namespace somv
