#pragma once
// The firmware gate with the settings file of the launch directory.
#include <string>

#include "device/device_connection.h"

namespace somv {

// 1 when the printer's firmware is new enough for `driverName`, read afresh
// from [SUPPORT_DEVICE] of the settings file; 0 when the printer does not
// answer, the firmware is too old or a needed settings file is missing.
int CheckFirmware(DeviceConnection& connection, const std::wstring& driverName);

}  // namespace somv
