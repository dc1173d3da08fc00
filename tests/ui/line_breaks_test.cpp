#include "ui/line_breaks.h"

#include <gtest/gtest.h>

namespace huecode {
namespace {

struct Case {
  std::u16string_view text;
  std::u16string_view expected;
};

class LineBreaksTest : public ::testing::TestWithParam<Case> {};

TEST_P(LineBreaksTest, EveryLineBreakBecomesCrLf) {
  EXPECT_EQ(WithCrLfLineBreaks(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineBreaksTest,
    ::testing::Values(Case{u"", u""}, Case{u"abc", u"abc"}, Case{u"a\r\nb", u"a\r\nb"},
                      Case{u"a\nb", u"a\r\nb"}, Case{u"a\rb", u"a\r\nb"},
                      Case{u"a\u2029b", u"a\r\nb"}, Case{u"a\u2028b", u"a\r\nb"},
                      // A CR LF pair is one break; LF CR is two.
                      Case{u"\n\r", u"\r\n\r\n"}, Case{u"\r\r\n\n", u"\r\n\r\n\r\n"},
                      Case{u"\r", u"\r\n"}, Case{u"a\n", u"a\r\n"},
                      // Everything else passes untouched, no-break space and tabs included.
                      Case{u"\t\u00A0\u3000文字\U0001F600", u"\t\u00A0\u3000文字\U0001F600"}));

}  // namespace
}  // namespace huecode
