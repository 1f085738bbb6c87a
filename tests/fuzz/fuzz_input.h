#pragma once
// Takes a fuzzer's bytes apart into the pieces a reader is handed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace somv::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  std::size_t Left() const { return m_size - m_at; }

  std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }

  std::uint32_t Uint32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return value;
  }

  // UTF-16 units up to the unit `end` (consumed, not returned) or the input's end.
  std::u16string Text(char16_t end = u'\n') {
    std::u16string text;
    while (Left() >= 2) {
      const char16_t unit = static_cast<char16_t>(m_data[m_at] | (m_data[m_at + 1] << 8));
      m_at += 2;
      if (unit == end) break;
      text += unit;
    }
    return text;
  }

  // The rest, in a buffer of exactly that size, so that a read past its end
  // is caught.
  std::vector<std::uint8_t> Rest() {
    std::vector<std::uint8_t> rest(m_data + m_at, m_data + m_size);
    m_at = m_size;
    return rest;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at = 0;
};

// A check that aborts, so that libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                  \
  do {                                                                         \
    if (!(condition)) {                                                        \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                            \
    }                                                                          \
  } while (0)

}  // namespace somv::fuzz
