#pragma once
// Reads an integer the way "%d" does: leading white space, an optional sign,
// then decimal digits up to the first other character.
#include <string_view>

namespace somv {

// False, with `value` unchanged, when no digit follows the optional sign, or
// when the number does not fit in an int (such text is no number the user
// meant, and "%d" gives no defined result for it).
bool ScanDecimalInt(std::u16string_view text, int& value);

}  // namespace somv
