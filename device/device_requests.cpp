#include "device/device_requests.h"

#include <cstdio>
#include <vector>

#include "common/ordinal.h"
#include "device/device_connection.h"

namespace somv {
namespace {

void PutLittleEndian32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr char16_t kGateThreshold[] = u"01.00";

}  // namespace

ReadTimerBlock MakeReadTimerBlock() {
  ReadTimerBlock block{};
  PutLittleEndian32(block.data(), kTimerSelector);
  return block;
}

WriteTimerBlock MakeWriteTimerBlock(std::uint16_t timerCode) {
  WriteTimerBlock block{};
  PutLittleEndian32(block.data(), kTimerSelector);
  block[12] = static_cast<std::uint8_t>(timerCode & 0xFF);
  block[13] = static_cast<std::uint8_t>(timerCode >> 8);
  return block;
}

std::u16string FirmwareVersionText(std::uint8_t major, std::uint8_t minor) {
  char text[16] = {};
  std::snprintf(text, sizeof text, "%02u.%02u", static_cast<unsigned>(major),
                static_cast<unsigned>(minor));
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

bool FirmwareGatePasses(std::u16string_view versionText, const std::u16string& driverName,
                        const MinimumFirmwareReader& readMinimum) {
  if (OrdinalCompare(versionText, kGateThreshold) < 0) return true;
  const std::optional<std::u16string> minimum = readMinimum(driverName);
  if (!minimum) return false;
  return OrdinalCompare(*minimum, versionText) <= 0;
}

int RequestFirmwareVersion(DeviceConnection& connection, std::u16string& versionText) {
  std::vector<std::uint8_t> reply(kVersionReplyCapacity);
  std::uint32_t replyLength = 0;
  if (connection.DeviceRequest(kVersionRequest, nullptr, 0, reply.data(), kVersionReplyCapacity,
                               &replyLength) == 0) {
    return 0;
  }
  // Bytes the library did not deliver are never read as a version.
  if (replyLength < kVersionReplyMinimum || replyLength > kVersionReplyCapacity) return 0;
  versionText = FirmwareVersionText(reply[8], reply[9]);
  return 1;
}

int ReadTimerCode(DeviceConnection& connection, std::uint16_t& timerCode) {
  ReadTimerBlock block = MakeReadTimerBlock();
  // Zeroed before every request, and the reply count left unexamined: the
  // library need not set it for this request. Whatever the library leaves
  // unwritten reads as no choice, never as a code held from before.
  std::uint16_t received = 0;
  std::uint32_t replyLength = 0;
  if (connection.DeviceRequest(kReadTimerRequest, block.data(),
                               static_cast<std::uint32_t>(block.size()), &received,
                               sizeof received, &replyLength) == 0) {
    return 0;
  }
  timerCode = received;
  return 1;
}

int WriteTimerCode(DeviceConnection& connection, std::uint16_t timerCode) {
  WriteTimerBlock block = MakeWriteTimerBlock(timerCode);
  return connection.DeviceRequest(kWriteTimerRequest, block.data(),
                                  static_cast<std::uint32_t>(block.size()), nullptr, 0, nullptr);
}

}  // namespace somv
