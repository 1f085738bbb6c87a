// Replies of the status library: the version reply and the timer code, with
// whatever length the library reports for them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "device/device_connection.h"
#include "device/device_requests.h"
#include "device/printer_session.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

namespace {

struct Script {
  std::int32_t result = 0;
  std::uint32_t reported = 0;
  std::vector<std::uint8_t> reply;
} g_script;

// A library that keeps to the capacity it is given and says whatever it likes.
std::int32_t SOMV_STATUS_API ScriptedRequest(void*, std::uint32_t, const void*, std::uint32_t,
                                             void* output, std::uint32_t capacity,
                                             std::uint32_t* replyLength) {
  if (output != nullptr && !g_script.reply.empty()) {
    std::memcpy(output, g_script.reply.data(), std::min<std::size_t>(g_script.reply.size(), capacity));
  }
  if (replyLength != nullptr) *replyLength = g_script.reported;
  return g_script.result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  g_script.result = input.Byte() & 1;
  g_script.reported = input.Uint32();
  const std::u16string minimum = input.Text();
  g_script.reply = input.Rest();

  static char module;
  DeviceConnection connection;
  connection.m_hStatusLib.Reset(reinterpret_cast<HINSTANCE__*>(&module));
  connection.m_hDevice = &module;
  connection.m_pfnDeviceRequest = ScriptedRequest;

  std::u16string version = u"before";
  const bool versionRead = RequestFirmwareVersion(connection, version) == 1;
  FUZZ_CHECK(versionRead == (g_script.result != 0 && g_script.reported >= kVersionReplyMinimum &&
                             g_script.reported <= kVersionReplyCapacity));
  if (versionRead && g_script.reply.size() >= kVersionReplyMinimum) {
    FUZZ_CHECK(version == FirmwareVersionText(g_script.reply[8], g_script.reply[9]));
  }
  PrinterSession session(connection, [&](const std::u16string&) { return std::optional<std::u16string>(minimum); });
  const FirmwareCheck gate = session.CheckFirmware(u"driver");
  FUZZ_CHECK(versionRead || gate.outcome == SessionOutcome::FirmwareUnreadable);

  std::uint16_t code = 0xABCD;
  const bool codeRead = ReadTimerCode(connection, code) == 1;
  FUZZ_CHECK(codeRead == (g_script.result != 0));
  if (!codeRead) FUZZ_CHECK(code == 0xABCD);
  if (codeRead) {
    // Bytes the library did not write are zero, whatever count it reported.
    const unsigned low = g_script.reply.size() >= 1 ? g_script.reply[0] : 0;
    const unsigned high = g_script.reply.size() >= 2 ? g_script.reply[1] : 0;
    FUZZ_CHECK(code == (low | (high << 8)));
  }
  connection.m_hDevice = nullptr;
  return 0;
}
