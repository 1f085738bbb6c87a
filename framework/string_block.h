#pragma once
// A string resource block: sixteen counted UTF-16 strings, each a 16-bit
// length followed by that many units. Blocks come from a library we do not
// build ourselves, so every length is checked against the block's size.
#include <cstddef>
#include <string>

namespace somv {

inline constexpr unsigned kStringsPerBlock = 16;

// Resource name of the block that holds string `id`.
inline constexpr unsigned StringBlockId(unsigned id) { return id / kStringsPerBlock + 1; }

// Copies string `id` out of `block` (the block StringBlockId(id) names) into
// `text`. False, with `text` unchanged, when the string is absent (length 0)
// or the block ends before it does.
bool ReadStringFromBlock(const void* block, std::size_t size, unsigned id, std::u16string& text);

}  // namespace somv
