#pragma once
// A value as the profile reader leaves it in a buffer of fixed capacity: the
// text before the first terminator, at most capacity - 1 units, whatever the
// reader wrote behind it.
#include <cstddef>
#include <string>

namespace somv {

inline constexpr unsigned kSettingsValueCapacity = 128;  // terminator included

std::u16string ValueInBuffer(const char16_t* buffer, std::size_t capacity);

}  // namespace somv
