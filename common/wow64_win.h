#pragma once
// Whether this process is a 32-bit process on 64-bit Windows.
#include <windows.h>

namespace somv {

// Non-zero under WOW64; 0 in a 64-bit process and where the system cannot
// tell (no IsWow64Process in kernel32).
BOOL IsWow64();

}  // namespace somv
