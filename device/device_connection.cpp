#include "device/device_connection.h"

#include "device/guarded_close.h"

namespace somv {

#if !defined(_WIN32)
void StatusLibraryTraits::Close(Handle) {}
#endif

// After the library is gone its close entry point points nowhere; the handle
// died with the library, so it is only forgotten. A library still bound stays
// loaded until the process ends (the selection dialog's OK keeps it): only
// FreeStatusLibrary and a failed binding release it.
DeviceConnection::~DeviceConnection() {
  if (HasOpenDevice()) CloseDevice();
  m_hStatusLib.Release();
}

int DeviceConnection::OpenDevice(const std::u16string& printerName) {
  if (!IsBound() || m_pfnOpenPrinter == nullptr) return 0;
  // A library that fails may still write a handle: only one it opened is kept.
  void* device = nullptr;
  if (m_pfnOpenPrinter(printerName.c_str(), &device, 0, 0) == 0) return 0;
  m_hDevice = device;
  return 1;
}

int DeviceConnection::CloseDevice() {
  if (!HasOpenDevice() || m_pfnClosePrinter == nullptr) return 0;
  if (CloseGuarded(m_pfnClosePrinter, m_hDevice) == 0) return 0;
  m_hDevice = nullptr;
  return 1;
}

int DeviceConnection::DeviceRequest(std::uint32_t code, const void* input,
                                    std::uint32_t inputLength, void* output,
                                    std::uint32_t outputCapacity, std::uint32_t* replyLength) {
  if (!HasOpenDevice() || m_pfnDeviceRequest == nullptr) return 0;
  return m_pfnDeviceRequest(m_hDevice, code, input, inputLength, output, outputCapacity,
                            replyLength) != 0
             ? 1
             : 0;
}

}  // namespace somv
