#include "common/ordinal.h"

namespace somv {

int OrdinalCompare(std::u16string_view left, std::u16string_view right) {
  const int order = left.compare(right);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool ContainsOrdinal(std::u16string_view text, std::u16string_view word) {
  return text.find(word) != std::u16string_view::npos;
}

}  // namespace somv
