#pragma once
// Where the running program's companion files are: beside the program.
#include <string>
#include <string_view>

#include "common/path_join.h"

namespace somv {

// The program's directory with its trailing backslash: its path less as many
// units as the program's own name has. Empty when the path is shorter.
std::u16string ProgramDirectory(std::u16string_view programPath, std::u16string_view programName);

}  // namespace somv
