#include "ui/line_breaks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace huecode {
namespace {

using Lines = std::vector<std::pair<LineEnd, std::u16string_view>>;

struct Case {
  std::u16string_view text;
  Lines expected;  // the first line's line end is CrLf, meaning none
};

class SplitAtLineEndsTest : public ::testing::TestWithParam<Case> {};

TEST_P(SplitAtLineEndsTest, CutsAtEveryLineEndAndKeepsItsKind) {
  const Case& c = GetParam();
  Lines lines;
  std::u16string joined;
  for (const TextLine& line : SplitAtLineEnds(c.text)) {
    lines.emplace_back(line.before, line.text);
    if (lines.size() > 1) {
      joined += LineEndText(line.before);
    }
    joined += line.text;
  }
  EXPECT_EQ(lines, c.expected);
  EXPECT_EQ(joined, c.text);
}

constexpr LineEnd kCrLf = LineEnd::CrLf;
constexpr LineEnd kLf = LineEnd::Lf;
constexpr LineEnd kCr = LineEnd::Cr;

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitAtLineEndsTest,
    ::testing::Values(Case{u"", {{kCrLf, u""}}}, Case{u"abc", {{kCrLf, u"abc"}}},
                      Case{u"a\r\nb", {{kCrLf, u"a"}, {kCrLf, u"b"}}},
                      Case{u"a\nb", {{kCrLf, u"a"}, {kLf, u"b"}}},
                      Case{u"a\rb", {{kCrLf, u"a"}, {kCr, u"b"}}},
                      Case{u"a\u2029b", {{kCrLf, u"a"}, {LineEnd::ParagraphSeparator, u"b"}}},
                      Case{u"\uFDD0x\uFDD1",
                           {{kCrLf, u""}, {LineEnd::FrameStart, u"x"}, {LineEnd::FrameEnd, u""}}},
                      // LF CR is two line ends; a CR LF pair is one, after a lone CR too.
                      Case{u"\n\r", {{kCrLf, u""}, {kLf, u""}, {kCr, u""}}},
                      Case{u"\r\r\n\n", {{kCrLf, u""}, {kCr, u""}, {kCrLf, u""}, {kLf, u""}}},
                      Case{u"a\n", {{kCrLf, u"a"}, {kLf, u""}}},
                      // The line separator, tabs and no-break spaces are text.
                      Case{u"a\u2028b\t\u00A0\u3000文字\U0001F600",
                           {{kCrLf, u"a\u2028b\t\u00A0\u3000文字\U0001F600"}}}));

}  // namespace
}  // namespace huecode
