#include "settings/launch_dir_win.h"

#include <windows.h>

#include "common/names.h"
#include "common/path_join.h"
#include "common/win_text.h"
#include "settings/launch_path.h"

namespace somv {
namespace {

std::u16string ProgramName() { return ThisBuild().program; }

std::wstring FromProgramDirectory(const std::wstring& name) {
  const std::u16string directory = ProgramDirectory(OwnProgramPath(), ProgramName());
  if (directory.empty()) return {};
  return ToWide(JoinWithinCapacity(directory, ToU16(name)));
}

std::wstring FromCurrentDirectory(const std::wstring& name) {
  wchar_t directory[kPathCapacity] = {};
  const DWORD length = ::GetCurrentDirectoryW(kPathCapacity, directory);
  if (length == 0 || length >= kPathCapacity) return {};
  const std::u16string withBackslash = WithTrailingBackslash(ToU16(directory));
  if (withBackslash.empty()) return {};
  return ToWide(JoinWithinCapacity(withBackslash, ToU16(name)));
}

}  // namespace

std::u16string OwnProgramPath() {
  wchar_t path[kPathCapacity] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, kPathCapacity);
  if (length == 0 || length >= kPathCapacity) return {};
  return ToU16(path);
}

bool IsRunningFromTempCopy() {
  wchar_t temp[kPathCapacity] = {};
  const DWORD length = ::GetTempPathW(kPathCapacity, temp);
  if (length == 0) return true;
  // A temporary directory too long for the buffer cannot hold a copy of us.
  if (length >= kPathCapacity) return false;

  // A module path cut to fit is longer than any copy path, and older systems
  // leave it without a terminator.
  const std::u16string module = OwnProgramPath();
  const std::u16string copyPath = JoinWithinCapacity(ToU16(temp), ProgramName());
  if (copyPath.empty() || module.empty()) return false;
  return ::lstrcmpiW(WidePtr(copyPath), WidePtr(module)) == 0;
}

std::wstring GetLaunchFilePath(const std::wstring& name) {
  return IsRunningFromTempCopy() ? FromProgramDirectory(name) : FromCurrentDirectory(name);
}

std::wstring GetProgramFolderFilePath(const std::wstring& name) {
  const std::u16string directory = DirectoryOfPath(OwnProgramPath());
  if (directory.empty()) return {};
  return ToWide(JoinWithinCapacity(directory, ToU16(name)));
}

}  // namespace somv
