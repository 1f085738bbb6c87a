#include <windows.h>

#include "app/somv_app.h"
#include "common/library_search_win.h"
#include "framework/app_win.h"

namespace somv {

CSomvApp theApp;

}  // namespace somv

// No arguments are read; the exit status is ExitInstance's, always 1.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything can load a library: the program runs elevated from
  // folders that a normal user can write to.
  somv::HardenLibraryLoading();
  return somv::RunApplication(instance);
}
