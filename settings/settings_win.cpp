#include "settings/settings_win.h"

#include <windows.h>

#include "common/names.h"
#include "common/win_text.h"
#include "settings/launch_dir_win.h"
#include "settings/settings_value.h"

namespace somv {

std::wstring SettingsFilePath() { return GetLaunchFilePath(WidePtr(kSettingsFileName)); }

bool FileExists(const std::wstring& path) {
  // What the shell's PathFileExistsW answers, without loading the shell
  // helpers: any file or directory whose attributes can be read.
  return !path.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDebugUIEnabled() {
  const std::wstring path = SettingsFilePath();
  if (!FileExists(path)) return false;
  return ::GetPrivateProfileIntW(L"Debug", L"DebugUI", 0, path.c_str()) == 1;
}

std::wstring ReadSupportDeviceEntry(const std::wstring& settingsPath, const std::wstring& driverName) {
  // An empty key would read as no key at all, which lists every key instead.
  if (driverName.empty()) return {};
  wchar_t value[kSettingsValueCapacity] = {};
  ::GetPrivateProfileStringW(L"SUPPORT_DEVICE", driverName.c_str(), L"", value,
                             kSettingsValueCapacity, settingsPath.c_str());
  return ToWide(ValueInBuffer(reinterpret_cast<const char16_t*>(value), kSettingsValueCapacity));
}

}  // namespace somv
