#include "printers/discovery_win.h"

#include <windows.h>
#include <winspool.h>

#include <cwchar>
#include <vector>

#include "common/spooler_win.h"
#include "settings/settings_win.h"
#include "common/win_text.h"

namespace somv {
namespace {

// A text of a record; the spooler places them in the buffer behind the
// records, so one that lacks its terminator is cut at the buffer's end.
std::u16string RecordText(const wchar_t* text, const BYTE* begin, const BYTE* end) {
  if (text == nullptr) return {};
  const BYTE* at = reinterpret_cast<const BYTE*>(text);
  if (at < begin || at >= end) return ToU16(text);
  const std::size_t room = static_cast<std::size_t>(end - at) / sizeof(wchar_t);
  return ToU16(std::wstring_view(text, ::wcsnlen(text, room)));
}

// The locally installed printers in the spooler's order; empty when there are
// none or the spooler fails.
std::vector<InstalledPrinter> EnumerateLocalPrinters() {
  DWORD size = 0;
  DWORD count = 0;
  SpoolerEnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &size, &count);
  if (size == 0) return {};

  // Whole records, so that they are aligned; the spooler is told the exact size.
  std::vector<PRINTER_INFO_2W> records((size + sizeof(PRINTER_INFO_2W) - 1) / sizeof(PRINTER_INFO_2W));
  BYTE* begin = reinterpret_cast<BYTE*>(records.data());
  DWORD needed = 0;
  count = 0;
  if (!SpoolerEnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, begin, size, &needed, &count)) return {};
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

}  // namespace

DiscoveryResult FindSupportedPrinters() { return FindSupportedPrinters(SettingsFilePath()); }

DiscoveryResult FindSupportedPrinters(const std::wstring& settingsPath) {
  const std::vector<InstalledPrinter> printers = EnumerateLocalPrinters();
  if (printers.empty()) return {};
  if (!FileExists(settingsPath)) return {};
  return SelectSupportedPrinters(printers, [&settingsPath](const std::u16string& driverName) {
    return ToU16(ReadSupportDeviceEntry(settingsPath, ToWide(driverName)));
  });
}

}  // namespace somv
