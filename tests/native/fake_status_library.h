#pragma once
// A status library stand-in for the host tests: records every call, hands
// out numbered handles, answers the version and timer requests from its
// fields and fails the operations it is told to.
#include <cstdint>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/device_connection.h"
#include "device/device_requests.h"

namespace somv::testing_fakes {

struct FakeLibrary {
  std::vector<std::string> calls;
  std::int32_t openResult = 1;
  std::int32_t closeResult = 1;
  bool closeThrows = false;
  std::uintptr_t nextHandle = 0x100;
  bool writesHandleOnFailure = false;
  std::uint8_t major = 1;
  std::uint8_t minor = 5;
  std::uint16_t timerCode = 0x0003;
  std::set<std::uint32_t> failingRequests;
  std::set<std::string> unopenable;  // printer names whose open fails
};
inline FakeLibrary* g_fake = nullptr;

inline std::int32_t SOMV_STATUS_API FakeOpen(const char16_t* name, void** device, std::uintptr_t a,
                                             std::uintptr_t b) {
  const std::string printer(name, name + std::char_traits<char16_t>::length(name));
  g_fake->calls.push_back("open " + printer + " " + std::to_string(a) + " " + std::to_string(b));
  const std::int32_t result = g_fake->unopenable.count(printer) != 0 ? 0 : g_fake->openResult;
  if (result != 0 || g_fake->writesHandleOnFailure) {
    *device = reinterpret_cast<void*>(g_fake->nextHandle++);
  }
  return result;
}

inline std::int32_t SOMV_STATUS_API FakeClose(void* device) {
  g_fake->calls.push_back("close " + std::to_string(reinterpret_cast<std::uintptr_t>(device)));
  if (g_fake->closeThrows) throw std::runtime_error("library fault");
  return g_fake->closeResult;
}

inline std::int32_t SOMV_STATUS_API FakeRequest(void*, std::uint32_t code, const void* input, std::uint32_t,
                                                void* output, std::uint32_t capacity, std::uint32_t* count) {
  g_fake->calls.push_back("request " + std::to_string(code));
  if (g_fake->failingRequests.count(code) != 0) return 0;
  auto* out = static_cast<std::uint8_t*>(output);
  if (code == kVersionRequest && out != nullptr && capacity >= kVersionReplyMinimum) {
    out[8] = g_fake->major;
    out[9] = g_fake->minor;
    if (count != nullptr) *count = kVersionReplyMinimum;
  } else if (code == kReadTimerRequest && out != nullptr && capacity >= 2) {
    std::memcpy(out, &g_fake->timerCode, 2);
  } else if (code == kWriteTimerRequest && input != nullptr) {
    std::memcpy(&g_fake->timerCode, static_cast<const std::uint8_t*>(input) + 12, 2);
  }
  return 1;
}

inline void Bind(DeviceConnection& connection) {
  static char module;
  connection.m_hStatusLib.Reset(reinterpret_cast<HINSTANCE__*>(&module));
  connection.m_pfnOpenPrinter = FakeOpen;
  connection.m_pfnClosePrinter = FakeClose;
  connection.m_pfnDeviceRequest = FakeRequest;
}

}  // namespace somv::testing_fakes
