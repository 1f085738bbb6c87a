#include "device/firmware_gate_win.h"

#include <utility>

#include "common/win_text.h"
#include "settings/settings_win.h"

namespace somv {

MinimumFirmwareReader MinimumsFromSettingsFile(std::wstring settingsPath) {
  return [path = std::move(settingsPath)](const std::u16string& driverName) -> std::optional<std::u16string> {
    if (!FileExists(path)) return std::nullopt;
    return ToU16(ReadSupportDeviceEntry(path, ToWide(driverName)));
  };
}

}  // namespace somv
