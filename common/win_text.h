#pragma once
// The portable logic speaks std::u16string; Win32 speaks wchar_t, which is
// the same 16-bit unit under this compiler. These convert at the boundary.
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

namespace somv {

inline std::u16string ToU16(const wchar_t* text) {
  if (text == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

inline std::u16string ToU16(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline const wchar_t* WidePtr(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline const wchar_t* WidePtr(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

}  // namespace somv
