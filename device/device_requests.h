#pragma once
// The three requests exchanged with the printer, and the firmware gate that
// decides whether the printer may be used at all.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace somv {

class DeviceConnection;

inline constexpr std::uint32_t kVersionRequest = 22;
inline constexpr std::uint32_t kReadTimerRequest = 11;
inline constexpr std::uint32_t kWriteTimerRequest = 12;
inline constexpr std::uint32_t kTimerSelector = 28;
inline constexpr std::uint32_t kVersionReplyCapacity = 32768;
// The firmware version sits in bytes 8 (major) and 9 (minor).
inline constexpr std::uint32_t kVersionReplyMinimum = 10;

using ReadTimerBlock = std::array<std::uint8_t, 12>;
using WriteTimerBlock = std::array<std::uint8_t, 16>;

ReadTimerBlock MakeReadTimerBlock();
WriteTimerBlock MakeWriteTimerBlock(std::uint16_t timerCode);

// "%02u.%02u": 1 and 5 give 01.05, 100 and 0 give 100.00.
std::u16string FirmwareVersionText(std::uint8_t major, std::uint8_t minor);

// The driver's minimum firmware version from [SUPPORT_DEVICE]: nothing when
// the settings file does not exist, empty text when it names no minimum.
using MinimumFirmwareReader = std::function<std::optional<std::u16string>(const std::u16string& driverName)>;

// Versions below 01.00 pass without reading the settings; otherwise the
// settings must exist and the driver's minimum must not be above the
// version. Ordinal comparison, never numeric.
bool FirmwareGatePasses(std::u16string_view versionText, const std::u16string& driverName,
                        const MinimumFirmwareReader& readMinimum);

// Request 22; fails unless the library delivered at least bytes 0 to 9 and
// reported no more than it could have written.
int RequestFirmwareVersion(DeviceConnection& connection, std::u16string& versionText);

// Request 11: on 1 `timerCode` holds the code exactly as the printer sent it,
// and 0 where the library wrote nothing; on 0 it is left unchanged.
int ReadTimerCode(DeviceConnection& connection, std::uint16_t& timerCode);

// Request 12: 1 when the printer accepted `timerCode`.
int WriteTimerCode(DeviceConnection& connection, std::uint16_t timerCode);

}  // namespace somv
