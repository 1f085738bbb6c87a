#pragma once
// The firmware gate's minimums, read afresh from a settings file at every
// check.
#include <string>

#include "device/printer_session.h"

namespace somv {

// [SUPPORT_DEVICE] of the settings file at `settingsPath`.
MinimumFirmwareReader MinimumsFromSettingsFile(std::wstring settingsPath);

}  // namespace somv
