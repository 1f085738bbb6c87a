#pragma once
// Text comparisons of the tool: ordinal over UTF-16 code units, never
// locale-aware, so that the same texts order the same on every machine.
#include <string_view>

namespace somv {

// -1, 0 or 1; code units compared as unsigned 16-bit numbers, a text that
// ends first is the smaller.
int OrdinalCompare(std::u16string_view left, std::u16string_view right);

// Case-sensitive search for `word` anywhere in `text`.
bool ContainsOrdinal(std::u16string_view text, std::u16string_view word);

}  // namespace somv
