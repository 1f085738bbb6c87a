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

bool IsDebugUIEnabled() { return IsDebugUIEnabled(SettingsFilePath()); }

bool IsDebugUIEnabled(const std::wstring& settingsPath) {
  if (!FileExists(settingsPath)) return false;
  return ::GetPrivateProfileIntW(L"Debug", L"DebugUI", 0, settingsPath.c_str()) == 1;
}

std::wstring ReadSupportDeviceEntry(const std::wstring& settingsPath, const std::wstring& driverName) {
  // An empty key would read as no key at all, which lists every key instead.
  if (driverName.empty()) return {};
  wchar_t value[kSettingsValueCapacity] = {};
  ::GetPrivateProfileStringW(L"SUPPORT_DEVICE", driverName.c_str(), L"", value,
                             kSettingsValueCapacity, settingsPath.c_str());
  return ToWide(ValueInBuffer(reinterpret_cast<const char16_t*>(value), kSettingsValueCapacity));
}

bool HasSupportDeviceEntry(const std::wstring& settingsPath, const std::wstring& driverName) {
  if (driverName.empty()) return false;
  // A default no file holds tells a missing key from an empty value.
  constexpr wchar_t kAbsent[] = L"\x1F";
  wchar_t value[kSettingsValueCapacity] = {};
  ::GetPrivateProfileStringW(L"SUPPORT_DEVICE", driverName.c_str(), kAbsent, value, kSettingsValueCapacity,
                             settingsPath.c_str());
  return std::wstring(value) != kAbsent;
}

std::vector<std::wstring> SupportDeviceDrivers(const std::wstring& settingsPath) {
  // The reader cuts a list that does not fit two units short of the buffer.
  constexpr DWORD kMostUnits = 1u << 20;
  std::vector<wchar_t> names(4096);
  DWORD length = 0;
  for (;;) {
    length = ::GetPrivateProfileStringW(L"SUPPORT_DEVICE", nullptr, L"", names.data(),
                                        static_cast<DWORD>(names.size()), settingsPath.c_str());
    if (length + 2 < names.size() || names.size() >= kMostUnits) break;
    names.assign(names.size() * 2, L'\0');
  }
  std::vector<std::wstring> drivers;
  for (const wchar_t* name = names.data(); name < names.data() + length && *name != L'\0';
       name += drivers.back().size() + 1) {
    drivers.emplace_back(name);
  }
  return drivers;
}

}  // namespace somv
