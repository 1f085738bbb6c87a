#include "console/console_run_win.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/ordinal.h"
#include "common/path_join.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "common/wow64_win.h"
#include "console/printer_road.h"
#include "device/firmware_gate_win.h"
#include "printers/discovery_win.h"
#include "settings/launch_dir_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

// The profile reader takes a UTF-8 byte-order mark as part of the first
// line, so Windows finds no section at the file's start; Wine does.
bool StartsWithUtf8Mark(const std::wstring& path) {
  const UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  unsigned char start[3] = {};
  DWORD read = 0;
  return file && ::ReadFile(file.Get(), start, sizeof start, &read, nullptr) && read == 3 && start[0] == 0xEF &&
         start[1] == 0xBB && start[2] == 0xBF;
}

}  // namespace

// A relative path is taken from the current directory: the profile reader
// would look for a bare file name in the Windows directory instead.
std::wstring SettingsPathOf(const ConsoleInvocation& invocation) {
  if (!invocation.settingsPath) return GetProgramFolderFilePath(WidePtr(kSettingsFileName));
  wchar_t full[kPathCapacity] = {};
  const DWORD length = ::GetFullPathNameW(WidePtr(*invocation.settingsPath), kPathCapacity, full, nullptr);
  if (length == 0 || length >= kPathCapacity) return {};
  return full;
}

namespace {

std::optional<std::vector<PrinterRow>> SelectedRows(const ConsoleInvocation& invocation,
                                                    const DiscoveryResult& found) {
  if (invocation.command == ConsoleCommand::List || invocation.allPrinters) return found.rows;
  for (const PrinterRow& candidate : found.rows) {
    if (OrdinalCompare(candidate.strPrinterName, invocation.printerName) == 0) {
      return std::vector<PrinterRow>{candidate};
    }
  }
  return std::nullopt;
}

}  // namespace

bool RunsElevated() {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  const UniqueKernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

namespace {

// The library is released before the connection goes, so that a handle a
// refused close left recorded is forgotten, not offered to the library again.
class BoundStatusLibrary {
 public:
  BoundStatusLibrary() : m_bound(m_connection.LoadStatusLibrary() != 0) {}
  ~BoundStatusLibrary() { m_connection.FreeStatusLibrary(); }
  BoundStatusLibrary(const BoundStatusLibrary&) = delete;
  BoundStatusLibrary& operator=(const BoundStatusLibrary&) = delete;

  DeviceConnection m_connection;
  const bool m_bound;
};

void TakeEachRoad(const ConsoleInvocation& invocation, const std::vector<PrinterRow>& rows,
                  const std::wstring& settingsPath, ConsoleResult& result, const PrinterRunHooks& hooks) {
  BoundStatusLibrary library;
  if (!library.m_bound) {
    result.error = RunError::StatusLibrary;
    const bool onePrinter = !invocation.allPrinters && invocation.command != ConsoleCommand::List;
    result.errorSubject = onePrinter ? invocation.printerName : u"";
    result.underWow64 = IsWow64() != FALSE;
    return;
  }
  const MinimumFirmwareReader readMinimum = MinimumsFromSettingsFile(settingsPath);
  PrinterTask task;
  task.plan = result.Converging();
  task.write = invocation.command == ConsoleCommand::Set && !invocation.check;
  task.setting = invocation.setting;
  const RoadWatch watch{[&] { return !hooks.stopRequested(); }, hooks.stepTaken};
  for (const PrinterRow& row : rows) {
    if (hooks.stopRequested()) return;
    result.printers.push_back(TakePrinterRoad(library.m_connection, readMinimum, row, task, watch));
    hooks.printerDone(result.printers.back());
  }
}

}  // namespace

void RunPrinters(const ConsoleInvocation& invocation, ConsoleResult& result, const PrinterRunHooks& hooks) {
  const std::wstring settingsPath = SettingsPathOf(invocation);
  if (!FileExists(settingsPath)) {
    result.error = RunError::SettingsMissing;
    result.errorSubject = settingsPath.empty() ? invocation.settingsPath.value_or(kSettingsFileName)
                                               : ToU16(settingsPath);
    return;
  }
  if (StartsWithUtf8Mark(settingsPath)) result.settingsWithUtf8Mark = ToU16(settingsPath);
  result.elevated = RunsElevated();
  const DiscoveryResult found = FindSupportedPrinters(settingsPath);
  if (hooks.stopRequested()) {
    result.error = RunError::Stopped;
    return;
  }
  if (found.listingFailed) {
    result.error = RunError::PrintersUnavailable;
    return;
  }
  const std::optional<std::vector<PrinterRow>> rows = SelectedRows(invocation, found);
  if (!rows) {
    result.error = RunError::PrinterNotFound;
    result.errorSubject = invocation.printerName;
    return;
  }
  if (!rows->empty()) TakeEachRoad(invocation, *rows, settingsPath, result, hooks);
  if (result.error != RunError::None) return;
  result.error = hooks.stopRequested() ? RunError::Stopped : ErrorAfterPrinters(result);
}

}  // namespace somv
