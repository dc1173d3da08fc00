#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace huecode {

// A word's code units in a text: from begin up to end.
struct WordSpan {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
};

// Unicode's white space: blanks, tabs, line breaks, the no-break and the
// ideographic space among them.
bool IsWhiteSpace(char32_t c);

// A CJK ideograph, a kana or a hangul syllable: Chinese, Japanese and Korean
// texts run without spaces, so each of these is a word of its own.
bool IsWordOfItsOwn(char32_t c);

// The words of a text: runs of characters that are not white space, each CJK
// ideograph, kana or hangul syllable alone (with the variation selector or
// the sound mark that follows it). A lone surrogate is a character of its own.
std::vector<WordSpan> FindWords(std::u16string_view text);

}  // namespace huecode
