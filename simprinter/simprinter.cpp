// A stand-in for the printer's status library: printers, firmware versions
// and timer codes come from a plain-text state file, and every call can be
// written to a log with the exact bytes it carried. For tests only.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <stdexcept>
#include <string>

#include "device/status_api.h"

namespace {

constexpr int kMaxOpenDevices = 16;
constexpr DWORD kValueCapacity = 256;
constexpr DWORD kVersionReplyLength = 64;

// One slot per open device; the handle given out is the slot number plus one.
std::wstring g_openPrinters[kMaxOpenDevices];

HMODULE OwnModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}

// The environment through the system, not the C runtime: this library has
// its own runtime whose copy of the environment would be stale.
std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return value;
}

std::wstring StatePath() {
  std::wstring path = Environment(L"SOMV_SIMPRINTER_STATE");
  if (!path.empty()) return path;
  wchar_t module[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(OwnModule(), module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  path = module;
  const std::size_t slash = path.find_last_of(L'\\');
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + L"SIMPRN.INI";
}

std::wstring ReadValue(const std::wstring& printer, const wchar_t* key) {
  const std::wstring path = StatePath();
  if (path.empty() || printer.empty()) return {};
  wchar_t value[kValueCapacity] = {};
  ::GetPrivateProfileStringW(printer.c_str(), key, L"", value, kValueCapacity, path.c_str());
  value[kValueCapacity - 1] = L'\0';
  return value;
}

// Decimal or 0x-prefixed hexadecimal; anything else is `fallback`.
unsigned long ReadNumber(const std::wstring& printer, const wchar_t* key, unsigned long fallback) {
  const std::wstring text = ReadValue(printer, key);
  if (text.empty()) return fallback;
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text.c_str(), &end, 0);
  return (end != nullptr && *end == L'\0') ? value : fallback;
}

bool Listed(const std::wstring& printer, const wchar_t* key, const wchar_t* operation) {
  const std::wstring list = L"," + ReadValue(printer, key) + L",";
  return list.find(std::wstring(L",") + operation + L",") != std::wstring::npos;
}

bool Fails(const std::wstring& printer, const wchar_t* operation) { return Listed(printer, L"Fail", operation); }

// A library fault that surfaces as a C++ exception out of the entry point.
void ThrowIfAsked(const std::wstring& printer, const wchar_t* operation) {
  if (Listed(printer, L"Throw", operation)) throw std::runtime_error("simulated library fault");
}

bool IsSimulated(const std::wstring& printer) {
  const std::wstring path = StatePath();
  if (path.empty() || printer.empty()) return false;
  wchar_t keys[kValueCapacity] = {};
  return ::GetPrivateProfileStringW(printer.c_str(), nullptr, L"", keys, kValueCapacity,
                                    path.c_str()) > 0;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size,
                        nullptr, nullptr);
  return result;
}

std::string Hex(const void* bytes, std::uint32_t length) {
  if (bytes == nullptr) return "-";
  static const char digits[] = "0123456789ABCDEF";
  const auto* at = static_cast<const unsigned char*>(bytes);
  std::string text;
  for (std::uint32_t i = 0; i < length; ++i) {
    text += digits[at[i] >> 4];
    text += digits[at[i] & 0xF];
  }
  return text;
}

void Log(const std::string& line) {
  const std::wstring path = Environment(L"SOMV_SIMPRINTER_LOG");
  if (path.empty()) return;
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

int SlotOf(void* device) {
  const auto slot = reinterpret_cast<std::uintptr_t>(device);
  if (slot < 1 || slot > kMaxOpenDevices) return -1;
  return g_openPrinters[slot - 1].empty() ? -1 : static_cast<int>(slot - 1);
}

std::uint32_t LittleEndian32(const unsigned char* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool IsTimerBlock(const void* input, std::uint32_t length, std::uint32_t expected) {
  return input != nullptr && length == expected &&
         LittleEndian32(static_cast<const unsigned char*>(input)) == 28;
}

std::int32_t VersionReply(const std::wstring& printer, void* output, std::uint32_t capacity,
                          std::uint32_t* replyLength) {
  if (output == nullptr) return 0;
  unsigned char reply[kVersionReplyLength] = {};
  reply[8] = static_cast<unsigned char>(ReadNumber(printer, L"Major", 1));
  reply[9] = static_cast<unsigned char>(ReadNumber(printer, L"Minor", 0));
  const unsigned long length = ReadNumber(printer, L"VersionLength", kVersionReplyLength);
  unsigned long delivered = length < kVersionReplyLength ? length : kVersionReplyLength;
  if (delivered > capacity) delivered = capacity;
  std::memcpy(output, reply, delivered);
  if (replyLength != nullptr) {
    *replyLength = static_cast<std::uint32_t>(ReadNumber(printer, L"ReportedLength", length));
  }
  return 1;
}

std::int32_t ReadTimer(const std::wstring& printer, const void* input, std::uint32_t inputLength,
                       void* output, std::uint32_t capacity, std::uint32_t* replyLength) {
  if (!IsTimerBlock(input, inputLength, 12) || output == nullptr || capacity < 2) return 0;
  const auto code = static_cast<std::uint16_t>(ReadNumber(printer, L"TimerCode", 1));
  const unsigned char reply[2] = {static_cast<unsigned char>(code & 0xFF),
                                  static_cast<unsigned char>(code >> 8)};
  // A short reply still reports success, as a faulty library might; and
  // nothing promises that the count is set for this request at all.
  const unsigned long length = ReadNumber(printer, L"ReadLength", 2);
  std::memcpy(output, reply, length < 2 ? length : 2);
  if (replyLength != nullptr && ReadValue(printer, L"ReadCount") != L"none") {
    *replyLength = static_cast<std::uint32_t>(length);
  }
  return 1;
}

std::int32_t WriteTimer(const std::wstring& printer, const void* input, std::uint32_t inputLength) {
  if (!IsTimerBlock(input, inputLength, 16)) return 0;
  const auto* at = static_cast<const unsigned char*>(input);
  wchar_t code[16] = {};
  std::swprintf(code, 16, L"0x%04X", static_cast<unsigned>(at[12] | (at[13] << 8)));
  return ::WritePrivateProfileStringW(printer.c_str(), L"TimerCode", code, StatePath().c_str())
             ? 1
             : 0;
}

std::int32_t Request(const std::wstring& printer, std::uint32_t code, const void* input,
                     std::uint32_t inputLength, void* output, std::uint32_t capacity,
                     std::uint32_t* replyLength) {
  switch (code) {
    case 22:
      if (Fails(printer, L"version")) return 0;
      return VersionReply(printer, output, capacity, replyLength);
    case 11:
      if (Fails(printer, L"read")) return 0;
      return ReadTimer(printer, input, inputLength, output, capacity, replyLength);
    case 12:
      if (Fails(printer, L"write")) return 0;
      return WriteTimer(printer, input, inputLength);
    default:
      return 0;
  }
}

// What the other compiler's runtime raises for a C++ throw: code 0xE06D7363
// with its magic number, the thrown object, its type description and, on
// 64-bit Windows, the image base the descriptions are relative to. With
// RaiseCode=0xC06D007E (or 0xC06D007F) it raises what its delay-load helper
// raises for a library (or function) it needs and cannot find: continuable,
// with the address of the helper's load record.
void RaiseForeignExceptionIfAsked(const std::wstring& printer, const wchar_t* operation) {
  if (!Listed(printer, L"Raise", operation)) return;
  const auto code = static_cast<DWORD>(ReadNumber(printer, L"RaiseCode", 0xE06D7363));
  char line[32] = {};
  std::snprintf(line, sizeof line, "raise 0x%08lX", static_cast<unsigned long>(code));
  Log(line);
  if (code != 0xE06D7363) {
    static const unsigned char loadRecord[64] = {};
    const ULONG_PTR parameter = reinterpret_cast<ULONG_PTR>(loadRecord);
    ::RaiseException(code, 0, 1, &parameter);
    return;
  }
  static int thrownObject = 1501;
  static const unsigned char throwInfo[32] = {};
  const ULONG_PTR parameters[] = {
      0x19930520,
      reinterpret_cast<ULONG_PTR>(&thrownObject),
      reinterpret_cast<ULONG_PTR>(throwInfo),
      reinterpret_cast<ULONG_PTR>(::GetModuleHandleW(nullptr)),
  };
  const DWORD count = sizeof(void*) == 8 ? 4 : 3;
  ::RaiseException(0xE06D7363, EXCEPTION_NONCONTINUABLE, count, parameters);
}

}  // namespace

extern "C" {

std::int32_t SOMV_STATUS_API SmPsw_OpenPrinter3W(const char16_t* printerName, void** device,
                                                 std::uintptr_t reserved1,
                                                 std::uintptr_t reserved2) {
  const std::wstring name =
      printerName != nullptr ? reinterpret_cast<const wchar_t*>(printerName) : L"";
  // A slow printer, so that a test can act while a run is inside the library.
  if (const unsigned long delay = ReadNumber(name, L"OpenDelay", 0)) {
    Log("wait name=" + Utf8(name) + " ms=" + std::to_string(delay));
    ::Sleep(delay);
  }
  std::int32_t result = 0;
  int slot = -1;
  if (device != nullptr && reserved1 == 0 && reserved2 == 0 && IsSimulated(name) &&
      !Fails(name, L"open")) {
    for (int i = 0; i < kMaxOpenDevices && slot < 0; ++i) {
      if (g_openPrinters[i].empty()) slot = i;
    }
  }
  std::uintptr_t handle = 0;
  if (slot >= 0) {
    g_openPrinters[slot] = name;
    handle = static_cast<std::uintptr_t>(slot + 1);
    result = 1;
  } else if (device != nullptr) {
    // A failing open that still writes a handle, as a faulty library might.
    handle = ReadNumber(name, L"FailedOpenHandle", 0);
  }
  if (handle != 0) *device = reinterpret_cast<void*>(handle);
  char tail[96] = {};
  std::snprintf(tail, sizeof tail, " reserved=%llu,%llu -> %d handle=%llu",
                static_cast<unsigned long long>(reserved1),
                static_cast<unsigned long long>(reserved2), result,
                static_cast<unsigned long long>(handle));
  Log("open name=" + Utf8(name) + tail);
  return result;
}

std::int32_t SOMV_STATUS_API SmPsw_ClosePrinter3(void* device) {
  const int slot = SlotOf(device);
  if (slot >= 0) ThrowIfAsked(g_openPrinters[slot], L"close");
  if (slot >= 0) RaiseForeignExceptionIfAsked(g_openPrinters[slot], L"close");
  std::int32_t result = 0;
  if (slot >= 0 && !Fails(g_openPrinters[slot], L"close")) {
    g_openPrinters[slot].clear();
    result = 1;
  }
  char line[96] = {};
  std::snprintf(line, sizeof line, "close handle=%llu -> %d",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(device)), result);
  Log(line);
  return result;
}

std::int32_t SOMV_STATUS_API SmPsw_DeviceRequest3(void* device, std::uint32_t code,
                                                  const void* input, std::uint32_t inputLength,
                                                  void* output, std::uint32_t outputCapacity,
                                                  std::uint32_t* replyLength) {
  // Logged before the call touches them, so tests see what was sent.
  char head[160] = {};
  std::snprintf(head, sizeof head, "request handle=%llu code=%u inlen=%u out=%s cap=%u count=",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(device)), code,
                inputLength, output != nullptr ? "yes" : "no", outputCapacity);
  std::string line = head;
  line += replyLength != nullptr ? std::to_string(*replyLength) : "null";
  line += " in=" + Hex(input, input != nullptr ? inputLength : 0);

  const int slot = SlotOf(device);
  const std::int32_t result =
      slot < 0 ? 0
               : Request(g_openPrinters[slot], code, input, inputLength, output, outputCapacity,
                         replyLength);
  line += " -> " + std::to_string(result);
  Log(line);
  return result;
}

}  // extern "C"
