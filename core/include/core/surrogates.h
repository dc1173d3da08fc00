#pragma once

#include <array>

namespace huecode {

// UTF-16's surrogates: a high one followed by a low one is one character
// beyond U+FFFF; either alone is no character at all.
constexpr bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

constexpr char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// A character beyond U+FFFF as its high and its low surrogate.
constexpr std::array<char16_t, 2> SplitSurrogates(char32_t c) {
  const char32_t beyond = c - 0x10000;
  return {static_cast<char16_t>(0xD800 + (beyond >> 10)),
          static_cast<char16_t>(0xDC00 + (beyond & 0x3FF))};
}

}  // namespace huecode
