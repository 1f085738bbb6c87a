#pragma once
// The status library's file as the device connection finds and loads it,
// for whoever must explain a binding that fails.
#include <windows.h>

#include <string>

namespace somv {

// This build's library in subdirectory 3 of the running environment's driver
// directory; empty when the spooler gives no usable directory.
std::wstring StatusLibraryFullPath();

// The other build's library in the driver directory of the other build's
// environment: where a 32-bit run on 64-bit Windows finds the library its
// 64-bit twin would use. Empty as above.
std::wstring OtherBuildStatusLibraryPath();

// The library at `path`, its own dependencies taken from its folder or the
// system's only; null when it does not load.
HMODULE LoadStatusLibraryModule(const std::wstring& path);

}  // namespace somv
