#include <windows.h>

#include "app/somv_app.h"
#include "framework/app_win.h"

namespace somv {

CSomvApp theApp;

}  // namespace somv

// No arguments are read; the exit status is ExitInstance's, always 1.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return somv::RunApplication(instance); }
