#include "console/console_run_win.h"

#include <windows.h>

#include <string>
#include <thread>

#include "common/path_join.h"
#include "common/tool_mutexes_win.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "common/wow64_win.h"
#include "console/console_output_win.h"
#include "console/diagnosis_win.h"
#include "console/event_log_win.h"
#include "console/run_guards_win.h"
#include "device/firmware_gate_win.h"
#include "printers/discovery_win.h"
#include "settings/launch_dir_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

std::string FirstBytes(const std::u16string& path, std::size_t count) {
  const UniqueKernelHandle file(::CreateFileW(WidePtr(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes(count, '\0');
  DWORD read = 0;
  if (!file || !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(count), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

// A relative path is taken from the current directory: the profile reader
// would look for a bare file name in the Windows directory instead.
std::u16string SettingsPath(const std::optional<std::u16string>& named) {
  if (!named) return ToU16(GetProgramFolderFilePath(WidePtr(kSettingsFileName)));
  wchar_t full[kPathCapacity] = {};
  const DWORD length = ::GetFullPathNameW(WidePtr(*named), kPathCapacity, full, nullptr);
  if (length == 0 || length >= kPathCapacity) return {};
  return ToU16(full);
}

// A library that refuses may want administrator rights, which this program
// never asks for: the answer then says where they come from.
bool RunsElevated() {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  const UniqueKernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

bool WithToolMutexes(std::chrono::steady_clock::time_point waitUntil, const std::function<void()>& whileHeld) {
  for (;;) {
    const ToolMutexes mutexes = TakeToolMutexes();
    if (mutexes.Held()) {
      whileHeld();
      return true;
    }
    if (std::chrono::steady_clock::now() >= waitUntil || StopRequested()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
}

}  // namespace

ConsoleEntryPoints SystemEntryPoints(std::chrono::steady_clock::time_point started) {
  ConsoleEntryPoints entry;
  entry.settingsPath = SettingsPath;
  entry.fileExists = [](const std::u16string& path) { return FileExists(ToWide(path)); };
  entry.firstBytes = FirstBytes;
  entry.findPrinters = [](const std::u16string& path) { return FindSupportedPrinters(ToWide(path)); };
  entry.minimumsOf = [](const std::u16string& path) { return MinimumsFromSettingsFile(ToWide(path)); };
  entry.bindStatusLibrary = [](DeviceConnection& connection) { return connection.LoadStatusLibrary() != 0; };
  entry.releaseStatusLibrary = [](DeviceConnection& connection) { connection.FreeStatusLibrary(); };
  entry.diagnose = DiagnoseThisMachine;
  entry.runsElevated = RunsElevated;
  entry.underWow64 = [] { return IsWow64() != FALSE; };
  entry.withToolMutexes = [started](int waitSeconds, const std::function<void()>& whileHeld) {
    return WithToolMutexes(started + std::chrono::seconds(waitSeconds), whileHeld);
  };
  entry.registerEventSource = RegisterTheEventSource;
  entry.recordEvent = RecordTimerEvent;
  entry.stopRequested = StopRequested;
  entry.writeOutput = WriteStandardOutput;
  entry.writeError = WriteStandardError;
  return entry;
}

}  // namespace somv
