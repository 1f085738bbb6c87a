#pragma once
// JSON texts in ASCII only: whatever code page a caller decodes the output
// with, the line reads the same.
#include <string>
#include <string_view>

namespace somv {

// `text` as a quoted JSON string: every unit below 0x20 or above 0x7E as
// \uXXXX (a surrogate pair as two escapes), quote and backslash escaped.
std::u16string AsciiJsonString(std::u16string_view text);

}  // namespace somv
