#pragma once
// Text to the standard streams: through WriteConsoleW on a console, as UTF-8
// without a byte-order mark when redirected to a file or a pipe.
#include <string_view>

namespace somv {

void WriteStandardOutput(std::u16string_view text);
void WriteStandardError(std::u16string_view text);

}  // namespace somv
