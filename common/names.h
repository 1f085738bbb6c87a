#pragma once
// Names that the tool shares with the outside world: files beside the
// program, the single-instance mutex and the main window's title.
#include <cstdint>

namespace somv {

inline constexpr char16_t kSettingsFileName[] = u"ZELV4PO.INI";
inline constexpr char16_t kMutexName[] = u"SomnivarfTool";
inline constexpr char16_t kMainWindowTitle[] = u"Somnivar Tool";

// The two builds differ only in these names and one record size.
struct BuildNames {
  const char16_t* program;
  const char16_t* resourceLibrary;
  const char16_t* statusLibrary;
  std::uint32_t startupInfoSize;
};

inline constexpr BuildNames kBuild32{u"ZELV4POK.EXE", u"ZELV4POK.DLL", u"ZELV4SMK.DLL", 68};
inline constexpr BuildNames kBuild64{u"ZELV4POD.EXE", u"ZELV4POD.DLL", u"ZELV4SMD.DLL", 104};

// The build being compiled; host builds (tests) take the 64-bit names.
inline constexpr const BuildNames& ThisBuild() {
#if defined(_WIN32) && !defined(_WIN64)
  return kBuild32;
#else
  return kBuild64;
#endif
}

}  // namespace somv
