#include "device/firmware_gate_win.h"

#include "common/win_text.h"
#include "device/device_requests.h"
#include "settings/settings_win.h"

namespace somv {

int CheckFirmware(DeviceConnection& connection, const std::wstring& driverName) {
  return CheckFirmwareWith(connection, [&driverName]() -> std::optional<std::u16string> {
    const std::wstring path = SettingsFilePath();
    if (!FileExists(path)) return std::nullopt;
    return ToU16(ReadSupportDeviceEntry(path, driverName));
  });
}

}  // namespace somv
