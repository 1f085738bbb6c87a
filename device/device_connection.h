#pragma once
// The bound status library and the device opened through it. A plain record:
// tests put their own functions into the three entry points.
#include <cstdint>
#include <string>

#include "common/unique_handle.h"
#include "device/status_api.h"

// The type behind HMODULE, so this header needs no windows.h.
struct HINSTANCE__;

namespace somv {

// The bound status library, released with FreeLibrary. Host builds bind only
// the unit tests' fakes, which nothing loaded and nothing releases.
struct StatusLibraryTraits {
  using Handle = HINSTANCE__*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h);
};
using StatusLibraryModule = UniqueHandle<StatusLibraryTraits>;

class DeviceConnection {
 public:
  DeviceConnection() = default;
  // Closes a device still recorded (only a failed close leaves one) while
  // the library is bound; the library itself stays loaded.
  ~DeviceConnection();
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  // Loads the build's status library from subdirectory 3 of the spooler's
  // driver directory and binds all three entry points, or none: 1 or 0.
  int LoadStatusLibrary();
  // 1 when released or nothing was bound; 0 when the platform refused.
  // The library counts as released either way.
  int FreeStatusLibrary();

  // 1 when the library opened the printer and stored its handle.
  int OpenDevice(const std::u16string& printerName);
  // 1 when closed; on 0 the handle stays recorded until the next open. A
  // close that throws counts as refused.
  int CloseDevice();

  // One request over the open device; 0 when the library refused it.
  // Neither a request nor a close reaches the library without a bound
  // library and an open device: they give 0.
  int DeviceRequest(std::uint32_t code, const void* input, std::uint32_t inputLength, void* output,
                    std::uint32_t outputCapacity, std::uint32_t* replyLength);

  bool IsBound() const { return static_cast<bool>(m_hStatusLib); }
  bool HasOpenDevice() const { return IsBound() && m_hDevice != nullptr; }

  StatusLibraryModule m_hStatusLib;
  void* m_hDevice = nullptr;
  OpenPrinterFn m_pfnOpenPrinter = nullptr;
  ClosePrinterFn m_pfnClosePrinter = nullptr;
  DeviceRequestFn m_pfnDeviceRequest = nullptr;
};

}  // namespace somv
