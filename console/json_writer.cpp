#include "console/json_writer.h"

namespace somv {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::u16string Escaped(char16_t unit) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string out = u"\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(unit >> shift) & 0xF];
  return out;
}

}  // namespace

std::u16string JsonString(std::u16string_view text, JsonCharacters characters, std::size_t limit) {
  const bool ascii = characters == JsonCharacters::Ascii;
  std::u16string out = u"\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    std::u16string piece;
    if (unit == u'"' || unit == u'\\') {
      piece = {u'\\', unit};
    } else if (unit >= 0x20 && unit <= 0x7E) {
      piece = {unit};
    } else if (ascii || unit < 0x80) {
      piece = Escaped(unit);
    } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      piece = {unit, text[++i]};
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      piece = Escaped(unit);  // alone it would not survive the UTF-8 output
    } else {
      piece = {unit};
    }
    if (limit != std::u16string::npos && out.size() + piece.size() + 4 > limit) return out + u"...\"";
    out += piece;
  }
  return out + u"\"";
}

std::u16string DecimalText(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

JsonObject& JsonObject::Field(std::u16string_view name, std::u16string_view json) {
  if (m_text.size() > 1) m_text += u", ";
  m_text += u"\"";
  m_text += name;
  m_text += u"\": ";
  m_text += json;
  return *this;
}

JsonObject& JsonObject::Text(std::u16string_view name, std::u16string_view value, std::size_t limit) {
  return Field(name, JsonString(value, m_characters, limit));
}

JsonObject& JsonObject::TextOrNull(std::u16string_view name, const std::optional<std::u16string>& value) {
  return Field(name, value ? JsonString(*value, m_characters) : u"null");
}

JsonObject& JsonObject::Number(std::u16string_view name, const std::optional<long long>& value) {
  return Field(name, value ? DecimalText(*value) : u"null");
}

JsonObject& JsonObject::Flag(std::u16string_view name, const std::optional<bool>& value) {
  return Field(name, !value ? u"null" : *value ? u"true" : u"false");
}

JsonObject& JsonObject::Raw(std::u16string_view name, std::u16string_view json) { return Field(name, json); }

JsonObject& JsonObject::Array(std::u16string_view name, const std::vector<std::u16string>& elements) {
  std::u16string json = u"[";
  for (const std::u16string& element : elements) json += (json.size() > 1 ? u", " : u"") + element;
  return Field(name, json + u"]");
}

}  // namespace somv
