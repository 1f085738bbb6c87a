#include "app/relaunch_win.h"

#include <string>

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

// A copy that the system will not delete at restart is not left behind.
bool CopyForThisBoot(const FileCopy& copy) {
  if (!::CopyFileW(WidePtr(copy.source), WidePtr(copy.target), FALSE)) return false;
  if (!::MoveFileExW(WidePtr(copy.target), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    ::DeleteFileW(WidePtr(copy.target));
    return false;
  }
  return true;
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
  // Closed at once: nobody waits for the copy.
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  return true;
}

}  // namespace

bool RelaunchFromTempCopy(HANDLE& mutex, StartProcessFunction startProcess) {
  bool programCopied = true;
  bool settingsCopied = true;
  bool libraryCopied = true;
  bool relaunched = true;

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
  const auto& [program, settings, library] = *plan;

  MakeTargetsNormal(*plan);
  programCopied = CopyForThisBoot(program);
  settingsCopied = CopyForThisBoot(settings);
  libraryCopied = CopyForThisBoot(library);
  if (!programCopied || !settingsCopied || !libraryCopied) return false;
  MakeTargetsNormal(*plan);

  const std::u16string workingDirectory = WorkingDirectoryForCopy();
  if (workingDirectory.empty()) return false;

  ReleaseInstanceMutex(mutex);
  if (!StartCopy(program.target, workingDirectory, startProcess)) {
    // Nobody runs the tool now: run in place as the one instance again.
    mutex = ::CreateMutexW(nullptr, FALSE, WidePtr(kMutexName));
    relaunched = false;
  }
  return relaunched;
}

}  // namespace somv
