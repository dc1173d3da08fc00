#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace huecode {

// The characters that end a block of a multi-line box, each kind kept apart so
// that the box can hand its text back exactly as it came: a CR LF pair counts
// as one line end, and the paragraph separator and the two frame marks end a
// block just as CR and LF do. The line separator U+2028 stays inside its
// block, so it is ordinary text here.
enum class LineEnd { CrLf, Lf, Cr, ParagraphSeparator, FrameStart, FrameEnd };

inline constexpr std::array<std::u16string_view, 6> kLineEndTexts{u"\r\n",   u"\n",     u"\r",
                                                                  u"\u2029", u"\uFDD0", u"\uFDD1"};

constexpr std::u16string_view LineEndText(LineEnd end) {
  return kLineEndTexts[static_cast<std::size_t>(end)];
}

struct TextLine {
  std::u16string_view text;        // without any line end
  LineEnd before = LineEnd::CrLf;  // the line end in front of it; none for the first line
};

// The text cut at every line end. Joining the lines, each after its line end
// (the first after none), gives the text back.
std::vector<TextLine> SplitAtLineEnds(std::u16string_view text);

}  // namespace huecode
