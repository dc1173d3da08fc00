#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
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

// The step box's text read as a number (see StepLength): nothing for a
// number too large for a double; whether it had a digit, whether it was
// written as an integer (no point, no exponent) and whether the reading took
// the whole text, blanks aside.
struct StepNumber {
  std::optional<double> value;
  bool anyDigit = false;
  bool integer = true;
  bool whole = false;
};

StepNumber ReadStep(std::u16string_view stepText);

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

inline constexpr std::int32_t kMinStep = 1;
inline constexpr std::int32_t kMaxStep = std::numeric_limits<std::int32_t>::max();

enum class StepFault { None, Empty, NotWhole, TooSmall, TooLarge };

struct StepCount {
  std::int32_t value = 0;
  StepFault fault = StepFault::None;
};

// The step box's text read by the same rules as StepLength, but strictly, for
// a front end that would rather refuse than round or clamp: the whole text
// must be an integer from kMinStep to kMaxStep, in digits with an optional
// sign or as &H / &O digits, else the fault says why (blanks only, another
// text, a point or an exponent, too small, too large).
StepCount ReadStepCount(std::u16string_view stepText);

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
