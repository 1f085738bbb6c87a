#pragma once
// Where the status library lies: subdirectory 3 of the spooler's driver
// directory, which the spooler hands over in a 128-unit buffer.
#include <cstddef>
#include <string>
#include <string_view>

namespace somv {

inline constexpr std::size_t kDriverDirectoryCapacity = 128;  // terminator included

// The driver directory text followed by "\3\" and `fileName`. Empty when the
// buffer holds no terminator within `bufferUnits`, the directory is not
// absolute (a drive's "X:\" or a share's "\\server\share": anything else would
// be searched for, from the current directory among other places) or the
// path would not fit in 260 units.
std::u16string StatusLibraryPath(const char16_t* driverDirectory, std::size_t bufferUnits,
                                 std::u16string_view fileName);

}  // namespace somv
