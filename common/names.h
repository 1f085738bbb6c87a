#pragma once
// Names that the tool shares with the outside world: files beside the
// program, the single-instance mutex and the main window's title, all from
// the header the build generates out of scripts/names.sh.
#include <cstdint>

#include "build_names.h"

// The build's names as UTF-16 literals: SOMV_WIDE(SOMV_TITLE).
#define SOMV_WIDE(narrow) u"" narrow

namespace somv {

inline constexpr char16_t kSettingsFileName[] = SOMV_WIDE(SOMV_SETTINGS_FILE);
inline constexpr char16_t kMutexName[] = SOMV_WIDE(SOMV_MUTEX);
// Its companion in the global namespace, which every session sees.
inline constexpr char16_t kGlobalMutexName[] = u"Global\\" SOMV_WIDE(SOMV_MUTEX);
inline constexpr char16_t kMainWindowTitle[] = SOMV_WIDE(SOMV_TITLE);

// The two builds differ only in these names and one record size.
struct BuildNames {
  const char16_t* program;
  const char16_t* resourceLibrary;
  const char16_t* statusLibrary;
  std::uint32_t startupInfoSize;
};

inline constexpr BuildNames kBuild32{SOMV_WIDE(SOMV_PROGRAM_32_EXE), SOMV_WIDE(SOMV_PROGRAM_32_DLL),
                                     SOMV_WIDE(SOMV_STATUS_LIB_32_DLL), 68};
inline constexpr BuildNames kBuild64{SOMV_WIDE(SOMV_PROGRAM_64_EXE), SOMV_WIDE(SOMV_PROGRAM_64_DLL),
                                     SOMV_WIDE(SOMV_STATUS_LIB_64_DLL), 104};

// The build being compiled; host builds (tests) take the 64-bit names.
inline constexpr const BuildNames& ThisBuild() {
#if defined(_WIN32) && !defined(_WIN64)
  return kBuild32;
#else
  return kBuild64;
#endif
}

}  // namespace somv
