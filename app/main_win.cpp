#include <windows.h>

#include "app/relaunch_win.h"
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
  // Before another process can put its own program under this one's name.
  somv::theApp.m_programFile = somv::HoldProgramFile();
  return somv::RunApplication(instance);
}
