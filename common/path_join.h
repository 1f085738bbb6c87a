#pragma once
// How a path is put together from what the platform told us. Every path
// lives in a 260-unit buffer on Windows: a path that would not fit comes back
// empty, and an empty path names no file.
#include <cstddef>
#include <string>
#include <string_view>

namespace somv {

inline constexpr std::size_t kPathCapacity = 260;  // terminator included

// `directory` followed directly by `name`; empty when the two with a
// terminator would not fit in `capacity` units.
std::u16string JoinWithinCapacity(std::u16string_view directory, std::u16string_view name,
                                  std::size_t capacity = kPathCapacity);

// `directory` ending in a backslash, one added where it lacks one; empty
// stays empty, and so does a directory that would not fit in `capacity`
// units with the backslash and a terminator.
std::u16string WithTrailingBackslash(std::u16string_view directory, std::size_t capacity = kPathCapacity);

// Everything up to and including the last backslash; empty without one.
std::u16string DirectoryOfPath(std::u16string_view path);

}  // namespace somv
