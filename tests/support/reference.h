#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Plain, slow restatements of the conversion's rules, written independently of
// the production code, against which the tests and the fuzz targets compare
// its results.
namespace huecode::reference {

// start + (end - start) * position / span, rounded half to even, in exact
// integer arithmetic rather than the floating-point formula.
inline std::int64_t ExactGradient(std::int64_t start, std::int64_t end, std::int64_t position,
                                  std::int64_t span) {
  const std::int64_t numerator = (end - start) * position;
  std::int64_t quotient = numerator / span;
  std::int64_t remainder = numerator % span;
  if (remainder < 0) {
    quotient -= 1;
    remainder += span;
  }
  const std::int64_t whole = start + quotient;
  if (2 * remainder > span || (2 * remainder == span && whole % 2 != 0)) {
    return whole + 1;
  }
  return whole;
}

struct ReferenceColour {
  std::int64_t r = 0;
  std::int64_t g = 0;
  std::int64_t b = 0;
};

// The six colour digits of the gradient at the position: two upper-case
// hexadecimal digits per component, components outside 0..255 left out.
inline std::u16string ReferenceDigits(ReferenceColour start, ReferenceColour end,
                                      std::int64_t position, std::int64_t span) {
  std::u16string digits;
  for (const auto& [from, to] :
       {std::pair{start.r, end.r}, std::pair{start.g, end.g}, std::pair{start.b, end.b}}) {
    const std::int64_t value = ExactGradient(from, to, position, span);
    if (value >= 0 && value <= 255) {
      digits += u"0123456789ABCDEF"[value / 16];
      digits += u"0123456789ABCDEF"[value % 16];
    }
  }
  return digits;
}

inline std::size_t UnitsOfCharacter(std::u16string_view text, std::size_t offset) {
  const char16_t c = text[offset];
  return c >= 0xD800 && c <= 0xDBFF && offset + 1 < text.size() && text[offset + 1] >= 0xDC00 &&
                 text[offset + 1] <= 0xDFFF
             ? 2
             : 1;
}

inline std::int64_t CharacterCount(std::u16string_view text) {
  std::int64_t count = 0;
  for (std::size_t offset = 0; offset < text.size(); offset += UnitsOfCharacter(text, offset)) {
    ++count;
  }
  return count;
}

inline std::u16string TrimOuterSpaces(std::u16string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && text[first] == u' ') {
    ++first;
  }
  while (last > first && text[last - 1] == u' ') {
    --last;
  }
  return std::u16string(text.substr(first, last - first));
}

// The chunk length for a text of n characters, from the whole number the
// step box reads: one that is below 1 or not below n cuts one character each.
inline std::int32_t ReferenceStep(std::int64_t number, std::int64_t n) {
  return number >= 1 && number < n ? static_cast<std::int32_t>(number) : 1;
}

// The colour of the gradient at the position, packed as 0x00BBGGRR.
inline std::int64_t ReferencePacked(ReferenceColour start, ReferenceColour end,
                                    std::int64_t position, std::int64_t span) {
  return ExactGradient(start.r, end.r, position, span) +
         256 * ExactGradient(start.g, end.g, position, span) +
         65536 * ExactGradient(start.b, end.b, position, span);
}

struct ReferenceChunk {
  std::size_t offset = 0;     // in code units
  std::int64_t position = 0;  // 1-based, in characters
  std::u16string text;
  bool bare = false;
};

// Cuts the trimmed text into chunks of step characters, a surrogate pair
// counting as one character.
inline std::vector<ReferenceChunk> ReferenceChunks(std::u16string_view text, std::int32_t step) {
  std::vector<ReferenceChunk> chunks;
  std::size_t offset = 0;
  std::int64_t position = 1;
  while (offset < text.size()) {
    std::size_t end = offset;
    for (std::int32_t k = 0; k < step && end < text.size(); ++k) {
      end += UnitsOfCharacter(text, end);
    }
    const std::u16string_view chunk = text.substr(offset, end - offset);
    const bool bare = chunk == u"\t" || chunk == u"\n" || chunk == u"\r" ||
                      chunk.find_first_not_of(u' ') == std::u16string_view::npos;
    chunks.push_back({offset, position, std::u16string(chunk), bare});
    offset = end;
    position += step;
  }
  return chunks;
}

}  // namespace huecode::reference
