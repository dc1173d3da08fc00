#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace huecode::fuzz {

// Reads a fuzzer's bytes front to back: single bytes for small numbers and
// little-endian byte pairs for UTF-16 code units. Reading past the end gives
// zeros and empty strings, so every input is a valid one.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

  std::int32_t int32() {
    std::uint32_t value = 0;
    for (int k = 0; k < 4; ++k) {
      value |= static_cast<std::uint32_t>(byte()) << (8 * k);
    }
    return static_cast<std::int32_t>(value);
  }

  std::u16string units(std::size_t count) {
    std::u16string text;
    while (text.size() < count && m_pos + 1 < m_size) {
      text.push_back(static_cast<char16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8)));
      m_pos += 2;
    }
    return text;
  }

  std::u16string restAsUnits() { return units(m_size); }

  std::string_view restAsBytes() {
    const std::string_view rest(reinterpret_cast<const char*>(m_data) + m_pos, m_size - m_pos);
    m_pos = m_size;
    return rest;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

inline bool IsSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// Surrogates that are not half of a high-low pair.
inline std::size_t CountLoneSurrogates(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t c = text[k];
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < text.size() && text[k + 1] >= 0xDC00 &&
        text[k + 1] <= 0xDFFF) {
      ++k;
    } else if (IsSurrogate(c)) {
      ++count;
    }
  }
  return count;
}

}  // namespace huecode::fuzz

// A failed property aborts, which libFuzzer reports as a crash with the input.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "property failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)
