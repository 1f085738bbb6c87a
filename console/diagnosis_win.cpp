#include "console/diagnosis_win.h"

#include <windows.h>

#include <vector>

#include "common/library_search_win.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "common/wow64_win.h"
#include "console/console_run_win.h"
#include "device/status_api.h"
#include "device/status_library_win.h"
#include "framework/image_header.h"
#include "printers/discovery_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

SettingsFacts SettingsOf(const std::wstring& path) {
  SettingsFacts settings;
  settings.path = ToU16(path);
  settings.exists = FileExists(path);
  if (!settings.exists) return settings;
  settings.encoding = ReadSettingsEncoding(path);
  for (const std::wstring& driver : SupportDeviceDrivers(path)) {
    settings.entries.push_back({ToU16(driver), ToU16(ReadSupportDeviceEntry(path, driver))});
  }
  settings.diagnosticMode = IsDebugUIEnabled(path);
  return settings;
}

// Enough for the headers of any image a linker writes.
constexpr DWORD kHeaderBytes = 4096;

std::optional<std::uint16_t> MachineOfFile(const std::wstring& path) {
  const UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<unsigned char> header(kHeaderBytes);
  DWORD read = 0;
  if (!file || !::ReadFile(file.Get(), header.data(), kHeaderBytes, &read, nullptr)) return std::nullopt;
  return ImageMachine(header.data(), read);
}

// Loaded as the device connection loads it, looked at, released.
void BindingOf(StatusLibraryFacts& library) {
  const UniqueModule module(LoadStatusLibraryModule(ToWide(library.path)));
  library.loads = static_cast<bool>(module);
  if (!library.loads) return;
  for (const char* name : {kOpenPrinterExport, kClosePrinterExport, kDeviceRequestExport}) {
    if (::GetProcAddress(module.Get(), name) == nullptr) library.missingEntryPoints.push_back(name);
  }
}

StatusLibraryFacts StatusLibraryOf() {
  StatusLibraryFacts library;
  library.path = ToU16(StatusLibraryFullPath());
  library.present = FileExists(ToWide(library.path));
  if (library.present) library.machine = MachineOfFile(ToWide(library.path));
  // A library of the other bitness is not loaded: the load could only fail.
  if (library.present && (!library.machine || *library.machine == ThisBuildMachine())) BindingOf(library);
  if (!library.loads) library.otherBuildPresent = FileExists(OtherBuildStatusLibraryPath());
  return library;
}

}  // namespace

Diagnosis DiagnoseThisMachine(const std::wstring& settingsPath) {
  Diagnosis diagnosis;
  diagnosis.settings = SettingsOf(settingsPath);
  // Without the file the profile reader would look elsewhere (an empty path
  // names the Windows directory's own file); discovery lists nothing then.
  const bool readable = diagnosis.settings.exists;
  if (const std::optional<std::vector<InstalledPrinter>> printers = EnumerateLocalPrinters()) {
    diagnosis.printersListed = true;
    diagnosis.printers = DiagnosePrinters(
        *printers,
        [&](const std::u16string& driver) {
          return readable ? ToU16(ReadSupportDeviceEntry(settingsPath, ToWide(driver))) : std::u16string();
        },
        [&](const std::u16string& driver) { return readable && HasSupportDeviceEntry(settingsPath, ToWide(driver)); });
  }
  diagnosis.statusLibrary = StatusLibraryOf();
  diagnosis.process = {RunsElevated(), IsWow64() != FALSE};
  return diagnosis;
}

}  // namespace somv
