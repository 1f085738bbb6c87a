#pragma once
// Where the companion files are: the current directory, or the program's own
// directory when it runs as the temporary copy.
#include <string>

namespace somv {

// True for the temporary copy, and also when the temporary directory cannot
// be obtained.
bool IsRunningFromTempCopy();

// Full path of `name` in the launch directory; empty when that directory
// cannot be obtained or the path would not fit in 260 units.
std::wstring GetLaunchFilePath(const std::wstring& name);

// The running program file's full path; empty when it does not fit in 260
// units.
std::u16string OwnProgramPath();

// Full path of `name` beside the running program file, whatever its name and
// the current directory; empty when that does not fit in 260 units. For
// programs started from anywhere by scripts.
std::wstring GetProgramFolderFilePath(const std::wstring& name);

}  // namespace somv
