#include "settings/settings_value.h"

#include <algorithm>

namespace somv {

std::u16string ValueInBuffer(const char16_t* buffer, std::size_t capacity) {
  if (buffer == nullptr || capacity == 0) return {};
  const char16_t* end = buffer + (capacity - 1);
  return std::u16string(buffer, std::find(buffer, end, u'\0'));
}

}  // namespace somv
