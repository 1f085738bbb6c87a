#include "console/diagnosis_win.h"

#include <windows.h>

#include <vector>

#include "common/library_search_win.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "device/status_api.h"
#include "device/status_library_win.h"
#include "framework/image_header.h"
#include "printers/discovery_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

SettingsFacts SettingsOf(const std::wstring& path) {
  SettingsFacts settings;
  if (path.empty()) return settings;
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

Diagnosis DiagnoseThisMachine(const std::u16string& settingsPath) {
  const std::wstring path = ToWide(settingsPath);
  Diagnosis diagnosis;
  diagnosis.settings = SettingsOf(path);
  // Without the file the profile reader would look elsewhere (a bare name in
  // the Windows directory); discovery lists nothing then.
  const bool readable = !path.empty();
  if (const std::optional<std::vector<InstalledPrinter>> printers = EnumerateLocalPrinters()) {
    diagnosis.printersListed = true;
    diagnosis.printers = DiagnosePrinters(
        *printers,
        [&](const std::u16string& driver) {
          return readable ? ToU16(ReadSupportDeviceEntry(path, ToWide(driver))) : std::u16string();
        },
        [&](const std::u16string& driver) { return readable && HasSupportDeviceEntry(path, ToWide(driver)); });
  }
  diagnosis.statusLibrary = StatusLibraryOf();
  return diagnosis;
}

}  // namespace somv
