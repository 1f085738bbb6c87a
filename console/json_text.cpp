#include "console/json_text.h"

namespace somv {

std::u16string AsciiJsonString(std::u16string_view text) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string out = u"\"";
  for (const char16_t unit : text) {
    if (unit == u'"' || unit == u'\\') {
      out += u'\\';
      out += unit;
    } else if (unit >= 0x20 && unit <= 0x7E) {
      out += unit;
    } else {
      out += u"\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(unit >> shift) & 0xF];
    }
  }
  return out + u"\"";
}

}  // namespace somv
