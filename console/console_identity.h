#pragma once
// Who the console program is, as its answers, its version resource and the
// event log name it.
#define SOMV_CONSOLE_VERSION_TEXT "1.0.0.0"
#define SOMV_CONSOLE_VERSION_NUMBERS 1, 0, 0, 0

#ifndef RC_INVOKED
namespace somv {

#if defined(_WIN32) && !defined(_WIN64)
inline constexpr char16_t kConsoleName[] = u"ZELV4PCK";
#else
inline constexpr char16_t kConsoleName[] = u"ZELV4PCD";
#endif
// The 64-bit program, which a 32-bit run under WoW64 points to.
inline constexpr char16_t kConsoleName64[] = u"ZELV4PCD.EXE";
inline constexpr char16_t kConsoleVersion[] = u"" SOMV_CONSOLE_VERSION_TEXT;
inline constexpr char16_t kEventSource[] = u"ZELV4PC";

}  // namespace somv
#endif
