#pragma once
// Text to the standard streams: through WriteConsoleW on a console, as UTF-8
// without a byte-order mark when redirected to a file or a pipe.
#include <string_view>

namespace somv {

// False when the stream exists but refused the text (a closed pipe, a full
// disk); a process started without the stream has nothing to refuse.
bool WriteStandardOutput(std::u16string_view text);
bool WriteStandardError(std::u16string_view text);

}  // namespace somv
