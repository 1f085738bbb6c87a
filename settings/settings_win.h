#pragma once
// The settings file ZELV4PO.INI in the launch directory, read afresh through
// the platform's profile reader every time; nothing is ever written to it.
#include <string>

#include "settings/settings_value.h"

namespace somv {

// Diagnostic mode: the file exists and [Debug] DebugUI reads as exactly 1.
bool IsDebugUIEnabled();

// Full path of the settings file in the launch directory (may be empty).
std::wstring SettingsFilePath();

// True when `path` names an existing file or directory; an empty path names
// none.
bool FileExists(const std::wstring& path);

// [SUPPORT_DEVICE] value for `driverName`: empty when the driver is not
// supported, else its minimum firmware version, at most 127 units.
std::wstring ReadSupportDeviceEntry(const std::wstring& settingsPath, const std::wstring& driverName);

}  // namespace somv
