#include "framework/decimal_scan.h"

#include <climits>

namespace somv {
namespace {

bool IsScanSpace(char16_t unit) {
  return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

}  // namespace

bool ScanDecimalInt(std::u16string_view text, int& value) {
  std::size_t at = 0;
  while (at < text.size() && IsScanSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
    negative = text[at] == u'-';
    ++at;
  }
  if (at == text.size() || !IsDigit(text[at])) return false;
  // Wide enough that INT_MIN's magnitude fits before the sign is applied.
  long long magnitude = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    magnitude = magnitude * 10 + (text[at] - u'0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (!negative && magnitude > INT_MAX) return false;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

}  // namespace somv
