#include "app/relaunch_win.h"

#include <array>
#include <optional>
#include <string>
#include <tuple>

#include "app/relaunch_plan.h"
#include "common/names.h"
#include "common/win_text.h"
#include "framework/unique_handle.h"
#include "settings/launch_dir_win.h"
#include "settings/launch_path.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

static_assert(sizeof(STARTUPINFOW) == ThisBuild().startupInfoSize,
              "the start-up record has the size this build's platform expects");

// Empty when the platform gave nothing or more than a path buffer holds.
std::u16string PathFrom(DWORD length, const wchar_t* buffer) {
  if (length == 0 || length >= kPathCapacity) return {};
  return ToU16(buffer);
}

std::u16string TempDirectory() {
  wchar_t buffer[kPathCapacity] = {};
  return PathFrom(::GetTempPathW(kPathCapacity, buffer), buffer);
}

// The current directory with a trailing backslash, or empty when it does not
// fit in a path buffer that way.
std::u16string WorkingDirectoryForCopy() {
  wchar_t buffer[kPathCapacity] = {};
  return WithTrailingBackslash(PathFrom(::GetCurrentDirectoryW(kPathCapacity, buffer), buffer));
}

std::u16string ExistingLaunchFile(const char16_t* name) {
  const std::wstring path = GetLaunchFilePath(WidePtr(name));
  return FileExists(path) ? ToU16(path) : std::u16string();
}

// A read-only leftover of an earlier run must not stop the copy.
void MakeTargetsNormal(const TempCopyPlan& plan) {
  for (const FileCopy& copy : plan) {
    if (FileExists(ToWide(copy.target))) {
      ::SetFileAttributesW(WidePtr(copy.target), FILE_ATTRIBUTE_NORMAL);
    }
  }
}

// Larger files are no companion of ours; reading them whole is not tried.
constexpr LONGLONG kLargestCopiedFile = 64LL * 1024 * 1024;

// The copy's program must have started and the copy must hold its own files
// within this time, or this process lets go of them anyway.
constexpr DWORD kCopyReadyMilliseconds = 5000;

// Sharing reading only keeps every other process from writing, renaming or
// deleting the file for as long as the handle is open; the loader's own
// open of a program still succeeds, as it asks only to read and execute.
UniqueKernelHandle OpenSharingReadOnly(const std::u16string& path, DWORD access, DWORD disposition) {
  const HANDLE file = ::CreateFileW(WidePtr(path), access, FILE_SHARE_READ, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::optional<std::string> ReadWholeFile(HANDLE file) {
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart > kLargestCopiedFile) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

bool WriteWholeFile(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return bytes.empty() ||
         (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size());
}

// The writing handle must be closed before the copy can start, and no handle
// that denies writing can be opened while it is; what another process wrote
// in between is found by the comparison.
UniqueKernelHandle WriteAndHold(const std::u16string& target, const std::string& bytes) {
  {
    const UniqueKernelHandle writer = OpenSharingReadOnly(target, GENERIC_WRITE, CREATE_ALWAYS);
    if (!writer) return {};
    if (!WriteWholeFile(writer.Get(), bytes)) return {};
  }
  UniqueKernelHandle held = OpenSharingReadOnly(target, GENERIC_READ, OPEN_EXISTING);
  if (!held || ReadWholeFile(held.Get()) != bytes) return {};
  return held;
}

// The target held against change with exactly the source's bytes, or nothing.
UniqueKernelHandle WriteHeldCopy(const FileCopy& copy) {
  std::optional<std::string> bytes;
  {
    // Shared as CopyFileW shares its source: nobody writes it while it is read.
    const HANDLE source = ::CreateFileW(WidePtr(copy.source), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    const UniqueKernelHandle owner(source == INVALID_HANDLE_VALUE ? nullptr : source);
    if (owner) bytes = ReadWholeFile(owner.Get());
  }
  if (!bytes) return {};
  UniqueKernelHandle held = WriteAndHold(copy.target, *bytes);
  // What is there now may be half written or another process's.
  if (!held) ::DeleteFileW(WidePtr(copy.target));
  return held;
}

// A copy that the system will not delete at restart is not left behind.
UniqueKernelHandle CopyForThisBoot(const FileCopy& copy) {
  UniqueKernelHandle held = WriteHeldCopy(copy);
  if (!held) return {};
  if (!::MoveFileExW(WidePtr(copy.target), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    held.Reset();
    ::DeleteFileW(WidePtr(copy.target));
    return {};
  }
  return held;
}

void ReleaseInstanceMutex(HANDLE& mutex) {
  if (mutex == nullptr) return;
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
  mutex = nullptr;
}

bool StartCopy(const std::u16string& programTarget, const std::u16string& workingDirectory,
               StartProcessFunction startProcess) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process = {};
  // The command line must be writable; the application name fixes which
  // program runs whatever the command line's spaces say.
  std::wstring commandLine = ToWide(QuotedCommandLine(programTarget));
  if (!startProcess(WidePtr(programTarget), commandLine.data(), nullptr, nullptr, FALSE, 0,
                    nullptr, WidePtr(workingDirectory), &startup, &process)) {
    return false;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  // The copy takes hold of its files before its first window waits for input.
  ::WaitForInputIdle(processHandle.Get(), kCopyReadyMilliseconds);
  return true;
}

}  // namespace

bool RelaunchFromTempCopy(HANDLE& mutex, StartProcessFunction startProcess) {
  const std::u16string tempDirectory = TempDirectory();
  if (tempDirectory.empty()) return false;
  const std::u16string programPath = OwnProgramPath();
  if (programPath.empty()) return false;
  const std::u16string settingsSource = ExistingLaunchFile(kSettingsFileName);
  if (settingsSource.empty()) return false;
  const std::u16string librarySource = ExistingLaunchFile(ThisBuild().resourceLibrary);
  if (librarySource.empty()) return false;

  const std::optional<TempCopyPlan> plan =
      PlanTempCopies(tempDirectory, programPath, settingsSource, librarySource, ThisBuild());
  if (!plan) return false;

  MakeTargetsNormal(*plan);
  // All three are tried whatever the earlier ones gave; held until this returns.
  std::array<UniqueKernelHandle, std::tuple_size_v<TempCopyPlan>> held;
  for (std::size_t index = 0; index < held.size(); ++index) {
    held[index] = CopyForThisBoot((*plan)[index]);
  }
  for (const UniqueKernelHandle& copy : held) {
    if (!copy) return false;
  }
  MakeTargetsNormal(*plan);

  const std::u16string workingDirectory = WorkingDirectoryForCopy();
  if (workingDirectory.empty()) return false;

  ReleaseInstanceMutex(mutex);
  if (StartCopy((*plan)[0].target, workingDirectory, startProcess)) return true;
  // Nobody runs the tool now: run in place as the one instance again.
  mutex = ::CreateMutexW(nullptr, FALSE, WidePtr(kMutexName));
  return false;
}

HeldCompanionFiles HoldCompanionFiles() {
  const auto hold = [](const char16_t* name) {
    const std::wstring path = GetLaunchFilePath(WidePtr(name));
    return path.empty() ? UniqueKernelHandle() : OpenSharingReadOnly(ToU16(path), GENERIC_READ, OPEN_EXISTING);
  };
  return {hold(kSettingsFileName), hold(ThisBuild().resourceLibrary)};
}

}  // namespace somv
