#pragma once
// The three entry points of the printer's status library, as the program
// binds them. Portable on purpose: char16_t is the same 16-bit unit as the
// library's wide text, and every width below matches the Win32 types the
// library was built with (HANDLE, DWORD, ULONG_PTR, BOOL).
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define SOMV_STATUS_API __stdcall
#else
#define SOMV_STATUS_API
#endif

namespace somv {

// Nonzero on success. The two trailing arguments are always zero.
using OpenPrinterFn = std::int32_t(SOMV_STATUS_API*)(const char16_t* printerName, void** device,
                                                     std::uintptr_t reserved1,
                                                     std::uintptr_t reserved2);

// Nonzero when the handle is closed and must not be used again.
using ClosePrinterFn = std::int32_t(SOMV_STATUS_API*)(void* device);

// Nonzero when the request was carried out; any reply is in `output`, at
// most `outputCapacity` bytes, its length stored through `replyLength`
// unless that is null.
using DeviceRequestFn = std::int32_t(SOMV_STATUS_API*)(void* device, std::uint32_t code,
                                                       const void* input, std::uint32_t inputLength,
                                                       void* output, std::uint32_t outputCapacity,
                                                       std::uint32_t* replyLength);

inline constexpr char kOpenPrinterExport[] = "SmPsw_OpenPrinter3W";
inline constexpr char kClosePrinterExport[] = "SmPsw_ClosePrinter3";
inline constexpr char kDeviceRequestExport[] = "SmPsw_DeviceRequest3";

}  // namespace somv
