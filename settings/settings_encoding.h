#pragma once
// How a settings file is encoded, as its first bytes tell the profile
// reader: a UTF-16 mark makes it read wide text; anything else is read in the
// system's ANSI code page, a UTF-8 mark included, whose bytes then belong to
// the file's first line.
#include <cstddef>

namespace somv {

enum class SettingsEncoding { Ansi, Utf16Le, Utf8WithMark };

// Enough of the file's start to tell.
inline constexpr std::size_t kEncodingMarkBytes = 3;

// `start` holds the first `size` bytes of the file (fewer for a short file).
SettingsEncoding EncodingOfFileStart(const unsigned char* start, std::size_t size);

}  // namespace somv
