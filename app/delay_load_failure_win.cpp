// The windowing, graphics and common-controls libraries are delay-loaded.
// On a system that lacks one of them, or a function the program calls in
// one, the first such call ends the program with its usual status 1 instead
// of the delay-load helper's unhandled exception and the system's crash box.
// No message is possible: it would need the windowing library.
#include <windows.h>
#include <delayimp.h>

namespace somv {
namespace {

FARPROC WINAPI EndOnDelayLoadFailure(unsigned notification, PDelayLoadInfo) {
  if (notification == dliFailLoadLib || notification == dliFailGetProc) {
    // Not ExitProcess: exit handlers and library detach code could call
    // into the missing library again.
    ::TerminateProcess(::GetCurrentProcess(), 1);
  }
  return nullptr;
}

}  // namespace
}  // namespace somv

// Read by the delay-load helper; linked into the program as an object of its
// own, since an archive member would lose to the runtime's empty default.
extern "C" PfnDliHook __pfnDliFailureHook2 = somv::EndOnDelayLoadFailure;
