#pragma once
// Who the console program is, as its answers, its version resource and the
// event log name it.
#include "build_names.h"

#define SOMV_CONSOLE_VERSION_TEXT SOMV_VERSION
#define SOMV_CONSOLE_VERSION_NUMBERS SOMV_VERSION_NUMBERS

#ifndef RC_INVOKED
#include "common/names.h"

namespace somv {

#if defined(_WIN32) && !defined(_WIN64)
inline constexpr char16_t kConsoleName[] = SOMV_WIDE(SOMV_CONSOLE_32);
#else
inline constexpr char16_t kConsoleName[] = SOMV_WIDE(SOMV_CONSOLE_64);
#endif
// The 64-bit program, which a 32-bit run under WoW64 points to.
inline constexpr char16_t kConsoleName64[] = SOMV_WIDE(SOMV_CONSOLE_64_EXE);
inline constexpr char16_t kConsoleVersion[] = SOMV_WIDE(SOMV_CONSOLE_VERSION_TEXT);
inline constexpr char16_t kEventSource[] = SOMV_WIDE(SOMV_EVENT_SOURCE);

}  // namespace somv
#endif
