#include "settings/settings_encoding.h"

namespace somv {

SettingsEncoding EncodingOfFileStart(const unsigned char* start, std::size_t size) {
  if (start == nullptr) return SettingsEncoding::Ansi;
  if (size >= 2 && start[0] == 0xFF && start[1] == 0xFE) return SettingsEncoding::Utf16Le;
  if (size >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF) return SettingsEncoding::Utf8WithMark;
  return SettingsEncoding::Ansi;
}

}  // namespace somv
