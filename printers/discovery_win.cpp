#include "printers/discovery_win.h"

#include <windows.h>
#include <winspool.h>

#include <optional>
#include <vector>

#include "common/spooler_win.h"
#include "common/win_text.h"
#include "settings/settings_win.h"

namespace somv {

namespace {

std::u16string RecordText(const wchar_t* text, const BYTE* begin, const BYTE* end) {
  return TextInReplyBuffer(reinterpret_cast<const char16_t*>(text), begin, end);
}

BOOL EnumerateLocal(EnumPrintersFn enumerate, BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
  return enumerate(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, size, needed, count);
}

// A printer installed after the list was sized makes the filling call fail;
// the list is asked for again with the size it has grown to, a few times.
constexpr int kFillAttempts = 4;

bool FillRecords(EnumPrintersFn enumerate, std::vector<PRINTER_INFO_2W>& records, DWORD& size, DWORD& count) {
  for (int attempt = 0; attempt < kFillAttempts; ++attempt) {
    // Whole records, so that they are aligned; the spooler is told the exact size.
    records.assign((size + sizeof(PRINTER_INFO_2W) - 1) / sizeof(PRINTER_INFO_2W), PRINTER_INFO_2W{});
    DWORD needed = 0;
    count = 0;
    if (EnumerateLocal(enumerate, reinterpret_cast<BYTE*>(records.data()), size, &needed, &count)) return true;
    if (needed <= size) return false;
    size = needed;
  }
  return false;
}

}  // namespace

std::optional<std::vector<InstalledPrinter>> EnumerateLocalPrinters(EnumPrintersFn enumerate) {
  DWORD size = 0;
  DWORD count = 0;
  if (!EnumerateLocal(enumerate, nullptr, 0, &size, &count) && ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return std::nullopt;
  }
  if (size == 0) return std::vector<InstalledPrinter>{};
  std::vector<PRINTER_INFO_2W> records;
  if (!FillRecords(enumerate, records, size, count)) return std::nullopt;
  BYTE* begin = reinterpret_cast<BYTE*>(records.data());
  if (count > size / sizeof(PRINTER_INFO_2W)) count = size / sizeof(PRINTER_INFO_2W);

  std::vector<InstalledPrinter> printers;
  printers.reserve(count);
  const BYTE* end = begin + size;
  for (DWORD i = 0; i < count; ++i) {
    printers.push_back({RecordText(records[i].pPrinterName, begin, end),
                        RecordText(records[i].pDriverName, begin, end)});
  }
  return printers;
}

DiscoveryResult FindSupportedPrinters() { return FindSupportedPrinters(SettingsFilePath()); }

DiscoveryResult FindSupportedPrinters(const std::wstring& settingsPath, EnumPrintersFn enumerate) {
  const std::optional<std::vector<InstalledPrinter>> printers = EnumerateLocalPrinters(enumerate);
  if (!printers) {
    DiscoveryResult failed;
    failed.listingFailed = true;
    return failed;
  }
  if (printers->empty()) return {};
  if (!FileExists(settingsPath)) return {};
  return SelectSupportedPrinters(*printers, [&settingsPath](const std::u16string& driverName) {
    return ToU16(ReadSupportDeviceEntry(settingsPath, ToWide(driverName)));
  });
}

}  // namespace somv
