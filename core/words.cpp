#include "core/words.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/chunks.h"

namespace huecode {

namespace {

using Range = std::pair<char32_t, char32_t>;

// Unicode 15.1's White_Space property.
constexpr std::array<Range, 10> kWhiteSpace{{
    {0x0009, 0x000D},
    {0x0020, 0x0020},
    {0x0085, 0x0085},
    {0x00A0, 0x00A0},
    {0x1680, 0x1680},
    {0x2000, 0x200A},
    {0x2028, 0x2029},
    {0x202F, 0x202F},
    {0x205F, 0x205F},
    {0x3000, 0x3000},
}};

// Ideographs (the unified blocks, their extensions and the compatibility
// ideographs, with U+3005..U+3007), hiragana, katakana and hangul syllables.
constexpr std::array<Range, 15> kOwnWords{{
    {0x3005, 0x3007},
    {0x3041, 0x3096},
    {0x309D, 0x309F},
    {0x30A1, 0x30FA},
    {0x30FC, 0x30FF},
    {0x31F0, 0x31FF},
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
    {0xFF66, 0xFF9D},
    {0x20000, 0x2A6DF},
    {0x2A700, 0x2EE5F},
    {0x2F800, 0x2FA1F},
    {0x30000, 0x323AF},
}};

// Marks that belong to the character before them: kana sound marks and
// variation selectors.
constexpr std::array<Range, 4> kAttached{{
    {0x3099, 0x309A},
    {0xFE00, 0xFE0F},
    {0xFF9E, 0xFF9F},
    {0xE0100, 0xE01EF},
}};

template <std::size_t N>
bool InRanges(const std::array<Range, N>& ranges, char32_t c) {
  const auto after =
      std::upper_bound(ranges.begin(), ranges.end(), c,
                       [](char32_t value, const Range& r) { return value < r.first; });
  return after != ranges.begin() && c <= std::prev(after)->second;
}

char32_t CodePointAt(std::u16string_view text, std::size_t offset) {
  return detail::CharacterUnits(text, offset) == 2
             ? CombineSurrogates(text[offset], text[offset + 1])
             : text[offset];
}

}  // namespace

bool IsWhiteSpace(char32_t c) {
  return InRanges(kWhiteSpace, c);
}

bool IsWordOfItsOwn(char32_t c) {
  return InRanges(kOwnWords, c);
}

std::vector<WordSpan> FindWords(std::u16string_view text) {
  std::vector<WordSpan> words;
  bool open = false;     // the last word may still grow
  bool ownWord = false;  // the last word is one ideograph, kana or syllable
  for (std::size_t offset = 0; offset < text.size();) {
    const char32_t c = CodePointAt(text, offset);
    const auto next = offset + detail::CharacterUnits(text, offset);
    const auto end = static_cast<std::uint32_t>(next);
    if (IsWhiteSpace(c)) {
      open = false;
    } else if (IsWordOfItsOwn(c)) {
      words.push_back({static_cast<std::uint32_t>(offset), end});
      open = true;
      ownWord = true;
    } else if (open && (!ownWord || InRanges(kAttached, c))) {
      words.back().end = end;
    } else {
      words.push_back({static_cast<std::uint32_t>(offset), end});
      open = true;
      ownWord = false;
    }
    offset = next;
  }
  return words;
}

}  // namespace huecode
