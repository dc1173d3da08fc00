#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "core/surrogates.h"

namespace huecode {

namespace detail {

// Code units of the character that starts at offset: a surrogate pair is one
// character of two units, so a chunk boundary never falls between its halves.
// A lone surrogate counts as a character of its own.
constexpr std::size_t CharacterUnits(std::u16string_view text, std::size_t offset) {
  return IsHighSurrogate(text[offset]) && offset + 1 < text.size() &&
                 IsLowSurrogate(text[offset + 1])
             ? 2
             : 1;
}

}  // namespace detail

// A line feed or a carriage return: where a line of the text ends.
constexpr bool IsLineBreak(char16_t c) {
  return c == u'\n' || c == u'\r';
}

// Removes leading and trailing U+0020 only: tabs, line breaks and the
// ideographic space U+3000 (paragraph indentation in Chinese) stay.
std::u16string_view TrimSpaces(std::u16string_view text);

// Characters in the text, a surrogate pair counting as one. Saturates at INT32_MAX.
std::int32_t CountCharacters(std::u16string_view text);

// The chunk length for a text of n characters, from the step box's text.
// The text is read as a number the way the step box has always been read:
// blanks skipped anywhere, sign, digits, one point, an E or D exponent, or
// &H / &O integers; a number that rounds to 0, is negative, does not fit 32
// bits, or is not smaller than n gives 1.
std::int32_t StepLength(std::u16string_view stepText, std::int32_t n);

// A chunk written without a colour tag: exactly one tab, line feed or
// carriage return, or nothing but spaces. Cut by user-perceived characters, a
// chunk of one such character that is CR LF is a line break as well. Every
// bare chunk starts at or below U+0020, so most are settled by their first unit.
inline bool IsBareChunk(std::u16string_view chunk, bool oneGrapheme = false) {
  if (chunk.empty()) {
    return true;
  }
  const char16_t first = chunk.front();
  if (first > u' ') {
    return false;
  }
  if (chunk.size() == 1) {
    return first == u' ' || first == u'\t' || first == u'\n' || first == u'\r';
  }
  if (oneGrapheme && chunk.size() == 2 && first == u'\r' && chunk[1] == u'\n') {
    return true;
  }
  return chunk.find_first_not_of(u' ') == std::u16string_view::npos;
}

}  // namespace huecode
