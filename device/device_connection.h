#pragma once
// The bound status library and the device opened through it. A plain record:
// tests put their own functions into the three entry points.
#include <cstdint>
#include <string>

#include "device/status_api.h"

// The type behind HMODULE, so this header needs no windows.h.
struct HINSTANCE__;

namespace somv {

class DeviceConnection {
 public:
  DeviceConnection() = default;
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
  // 1 when closed; on 0 the handle stays recorded until the next open.
  int CloseDevice();

  // One request over the open device; 0 when the library refused it.
  // Neither a request nor a close reaches the library without a bound
  // library and an open device: they give 0.
  int DeviceRequest(std::uint32_t code, const void* input, std::uint32_t inputLength, void* output,
                    std::uint32_t outputCapacity, std::uint32_t* replyLength);

  bool IsBound() const { return m_hStatusLib != nullptr; }
  bool HasOpenDevice() const { return IsBound() && m_hDevice != nullptr; }

  HINSTANCE__* m_hStatusLib = nullptr;
  void* m_hDevice = nullptr;
  OpenPrinterFn m_pfnOpenPrinter = nullptr;
  ClosePrinterFn m_pfnClosePrinter = nullptr;
  DeviceRequestFn m_pfnDeviceRequest = nullptr;
};

}  // namespace somv
