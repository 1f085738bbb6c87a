#pragma once
// The one JSON writer under both JSON forms: strings escaped one way, objects
// written field by field.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace somv {

enum class JsonCharacters {
  Ascii,  // every unit outside 0x20-0x7E as \uXXXX, so any code page reads it
  Utf8,   // text beyond ASCII as it is; controls and lone surrogates escaped
};

// `text` quoted. Past `limit` units of output the text is cut (at a whole
// escape) and ends with "...".
std::u16string JsonString(std::u16string_view text, JsonCharacters characters,
                          std::size_t limit = std::u16string::npos);

std::u16string DecimalText(long long value);

class JsonObject {
 public:
  explicit JsonObject(JsonCharacters characters) : m_characters(characters) {}

  JsonObject& Text(std::u16string_view name, std::u16string_view value,
                   std::size_t limit = std::u16string::npos);
  JsonObject& TextOrNull(std::u16string_view name, const std::optional<std::u16string>& value);
  JsonObject& Number(std::u16string_view name, const std::optional<long long>& value);
  JsonObject& Flag(std::u16string_view name, const std::optional<bool>& value);
  // `json` already written: an object, an array or null.
  JsonObject& Raw(std::u16string_view name, std::u16string_view json);
  // `elements` already written, in an array.
  JsonObject& Array(std::u16string_view name, const std::vector<std::u16string>& elements);

  std::u16string Close() const { return m_text + u"}"; }

 private:
  JsonObject& Field(std::u16string_view name, std::u16string_view json);

  JsonCharacters m_characters;
  std::u16string m_text = u"{";
};

}  // namespace somv
