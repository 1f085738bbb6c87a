#include "framework/string_block.h"

#include <cstdint>
#include <cstring>

namespace somv {
namespace {

// Units are read byte by byte: a block handed to us need not be aligned.
std::uint16_t UnitAt(const unsigned char* bytes, std::size_t offset) {
  std::uint16_t unit;
  std::memcpy(&unit, bytes + offset, sizeof unit);
  return unit;
}

}  // namespace

bool ReadStringFromBlock(const void* block, std::size_t size, unsigned id, std::u16string& text) {
  if (block == nullptr) return false;
  const auto* bytes = static_cast<const unsigned char*>(block);
  const unsigned wanted = id % kStringsPerBlock;
  std::size_t offset = 0;
  for (unsigned index = 0;; ++index) {
    if (size - offset < 2) return false;  // offset never passes size
    const std::size_t length = UnitAt(bytes, offset);
    offset += 2;
    if (length > (size - offset) / 2) return false;
    if (index == wanted) {
      if (length == 0) return false;
      std::u16string found(length, u'\0');
      std::memcpy(&found[0], bytes + offset, length * 2);
      text = std::move(found);
      return true;
    }
    offset += length * 2;
  }
}

}  // namespace somv
