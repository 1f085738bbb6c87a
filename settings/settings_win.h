#pragma once
// The settings file ZELV4PO.INI in the launch directory, read afresh through
// the platform's profile reader every time; nothing is ever written to it.
#include <string>
#include <vector>

#include "settings/settings_value.h"

namespace somv {

// Diagnostic mode: the file exists and [Debug] DebugUI reads as exactly 1.
bool IsDebugUIEnabled();
// The same for the settings file at `settingsPath`.
bool IsDebugUIEnabled(const std::wstring& settingsPath);

// Full path of the settings file in the launch directory (may be empty).
std::wstring SettingsFilePath();

// True when `path` names an existing file or directory; an empty path names
// none.
bool FileExists(const std::wstring& path);

// [SUPPORT_DEVICE] value for `driverName`: empty when the driver is not
// supported, else its minimum firmware version, at most 127 units.
std::wstring ReadSupportDeviceEntry(const std::wstring& settingsPath, const std::wstring& driverName);

// Whether [SUPPORT_DEVICE] names `driverName` at all, an empty value included,
// as the profile reader matches it.
bool HasSupportDeviceEntry(const std::wstring& settingsPath, const std::wstring& driverName);

// The key names of [SUPPORT_DEVICE] as the profile reader finds them, in the
// file's order.
std::vector<std::wstring> SupportDeviceDrivers(const std::wstring& settingsPath);

}  // namespace somv
