#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "cli/input.h"
#include "options/utf8.h"
#include "tests/cli/utf8_decoding.h"

namespace huecode {
namespace {

using test::Decoding;
using test::Utf8Decoding;

struct MalformedCase {
  const char* name;
  std::string bytes;
  std::size_t offset;
  Utf8Fault fault;
};

class MalformedUtf8 : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedUtf8, ReportsTheFaultAtTheStartOfTheBadCharacter) {
  const MalformedCase& c = GetParam();
  const Utf8Decoding decoded = Decoding(c.bytes);
  ASSERT_TRUE(decoded.error.has_value());
  EXPECT_EQ(decoded.error->offset, c.offset);
  EXPECT_EQ(decoded.error->fault, c.fault) << DescribeUtf8Fault(decoded.error->fault);
  EXPECT_TRUE(decoded.text.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedUtf8,
    ::testing::Values(
        MalformedCase{"TruncatedTwoByte", "ab\xC3", 2, Utf8Fault::Truncated},
        MalformedCase{"TruncatedThreeByte", "\xE5\xAD", 0, Utf8Fault::Truncated},
        MalformedCase{"TruncatedFourByteAfterText", "x\xF0\x9F\x98", 1, Utf8Fault::Truncated},
        MalformedCase{"BadContinuationAscii", "a\xE4\x41", 1, Utf8Fault::BadContinuation},
        MalformedCase{"BadContinuationLeadByte", "\xC3\xC3\xA9", 0, Utf8Fault::BadContinuation},
        MalformedCase{"BadContinuationInFourth", "\xF0\x9F\x98\x20", 0, Utf8Fault::BadContinuation},
        MalformedCase{"StrayContinuation", "ok\x80", 2, Utf8Fault::UnexpectedContinuation},
        MalformedCase{"OverlongSlashC0", "/\xC0\xAF", 1, Utf8Fault::Overlong},
        MalformedCase{"OverlongC1", "\xC1\xBF", 0, Utf8Fault::Overlong},
        MalformedCase{"OverlongThreeByteNul", "\xE0\x80\x80", 0, Utf8Fault::Overlong},
        MalformedCase{"OverlongThreeByteMax", "\xE0\x9F\xBF", 0, Utf8Fault::Overlong},
        MalformedCase{"OverlongFourByte", "\xF0\x8F\xBF\xBF", 0, Utf8Fault::Overlong},
        MalformedCase{"HighSurrogate", "a\xED\xA0\x80", 1, Utf8Fault::Surrogate},
        MalformedCase{"LowSurrogate", "\xED\xBF\xBF", 0, Utf8Fault::Surrogate},
        MalformedCase{"SurrogatePairAsCesu", "\xED\xA0\xBD\xED\xB8\x80", 0, Utf8Fault::Surrogate},
        MalformedCase{"AboveMaxWithF4", "\xF4\x90\x80\x80", 0, Utf8Fault::BeyondUnicode},
        MalformedCase{"AboveMaxWithF5", "\xF5\x80\x80\x80", 0, Utf8Fault::BeyondUnicode},
        MalformedCase{"InvalidFE", "abc\xFE", 3, Utf8Fault::InvalidLeadByte},
        MalformedCase{"InvalidFF", "\xFF", 0, Utf8Fault::InvalidLeadByte},
        MalformedCase{"OffsetCountsBytesNotCharacters", "\xE5\xBD\xA9\xE8\x89\xB2\xFF", 6,
                      Utf8Fault::InvalidLeadByte}),
    [](const ::testing::TestParamInfo<MalformedCase>& tested) { return tested.param.name; });

struct WellFormedCase {
  const char* name;
  std::string bytes;
  std::u16string text;
};

class WellFormedUtf8 : public ::testing::TestWithParam<WellFormedCase> {};

TEST_P(WellFormedUtf8, DecodesAndEncodesBack) {
  const WellFormedCase& c = GetParam();
  const Utf8Decoding decoded = Decoding(c.bytes);
  ASSERT_FALSE(decoded.error.has_value()) << decoded.error->offset;
  EXPECT_EQ(decoded.text, c.text);
  EXPECT_EQ(EncodeUtf8(decoded.text), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WellFormedUtf8,
    ::testing::Values(
        WellFormedCase{"Empty", "", u""},
        WellFormedCase{"AsciiWithNul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        WellFormedCase{"TwoByteBounds", "\xC2\x80\xDF\xBF", u"\u0080\u07FF"},
        WellFormedCase{"ThreeByteBounds", "\xE0\xA0\x80\xEF\xBF\xBF", u"\u0800\uFFFF"},
        WellFormedCase{"AroundSurrogates", "\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},
        WellFormedCase{"Chinese", "\xE5\xBD\xA9\xE8\x89\xB2", u"彩色"},
        WellFormedCase{"FourByteEmoji", "\xF0\x9F\x98\x80", u"\U0001F600"},
        WellFormedCase{"FourByteBounds", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
                       u"\U00010000\U0010FFFF"}),
    [](const ::testing::TestParamInfo<WellFormedCase>& tested) { return tested.param.name; });

// Read in blocks of any size, a stream decodes as its bytes do whole, less
// one final line break: characters and line breaks split across blocks, and
// faults at the same byte offset (a character cut by the final line break is
// truncated, as the bytes without it are).
TEST(ReadDecodedStream, DecodesAsTheWholeBytesWhereverTheBlocksEnd) {
  const std::string inputs[] = {
      "",
      "\n",
      "ab\r\n",
      "ab\n\n",
      "plain ASCII, longer than eight bytes\r\n",
      "\xE5\xBD\xA9\xE8\x89\xB2 [color=#FF00FF]x\xF0\x9F\x98\x80[/color]\n",
      "ab\xC3\n",
      "twelve bytes\xE4\x41",
      "ok\x80 more",
      "x\xF0\x9F\x98",
      "\xE5\xBD\xA9\xE8\x89\xB2\xFF\xE5"};
  for (const std::string& bytes : inputs) {
    const auto whole = DecodeUtf8(DropTrailingLineBreak(bytes));
    for (const std::size_t block : {1, 2, 3, 4, 5, 9, 64}) {
      const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
      ASSERT_TRUE(file);
      std::fwrite(bytes.data(), 1, bytes.size(), file.get());
      std::rewind(file.get());
      const auto read = ReadDecodedStream(file.get(), "the test", block);
      ASSERT_TRUE(read.has_value());
      ASSERT_EQ(read->fault.has_value(), !whole.has_value()) << bytes << " in blocks of " << block;
      if (whole) {
        EXPECT_EQ(read->text, *whole) << bytes << " in blocks of " << block;
      } else {
        EXPECT_EQ(read->fault->offset, whole.error().offset) << bytes << " / " << block;
        EXPECT_EQ(read->fault->fault, whole.error().fault) << bytes << " / " << block;
      }
    }
  }
}

TEST(EscapeForTerminal, KeepsTextAndEscapesControlsAndBadBytes) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"plain 彩色 \xF0\x9F\x98\x80", "plain 彩色 \xF0\x9F\x98\x80"},
      {"a\nb\tc\rd", R"(a\x0Ab\x09c\x0Dd)"},
      {"\x1B[31mred\x7F", R"(\x1B[31mred\x7F)"},
      {"\xC2\x9B"
       "2J",
       R"(\u009B2J)"},
      {"\xFF\xC3(\xED\xA0\x80", R"(\xFF\xC3(\xED\xA0\x80)"},
      {"end\xE5\xBD", R"(end\xE5\xBD)"},
      {std::string_view("nul\0x", 5), R"(nul\x00x)"},
  };
  for (const auto& [bytes, escaped] : cases) {
    EXPECT_EQ(EscapeForTerminal(bytes), escaped) << bytes;
  }
}

TEST(EncodeUtf8, WritesLoneSurrogatesAsReplacementCharacter) {
  EXPECT_EQ(EncodeUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(EncodeUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace huecode
