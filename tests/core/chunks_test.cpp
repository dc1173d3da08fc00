#include "core/chunks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "core/conversion.h"

namespace huecode {
namespace {

constexpr std::int32_t kLongText = 1000000;

TEST(TrimSpaces, RemovesOnlyOuterSpaces) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"", u""},
      {u"   ", u""},
      {u"  a b  ", u"a b"},
      {u"\ta\t", u"\ta\t"},
      {u"\r\na\r\n", u"\r\na\r\n"},
      {u" \u3000段落\u3000 ", u"\u3000段落\u3000"},
      {u"\u00A0x\u00A0", u"\u00A0x\u00A0"},
  };
  for (const auto& [text, trimmed] : cases) {
    EXPECT_EQ(TrimSpaces(text), trimmed);
  }
}

TEST(CountCharacters, SurrogatePairIsOneCharacter) {
  const std::pair<std::u16string_view, std::int32_t> cases[] = {
      {u"", 0},
      {u"abc", 3},
      {u"彩色", 2},
      {u"\U0001F600", 1},
      {u"a\U0001F600b\U00020000", 4},
      {u"\xD800", 1},        // lone high surrogate
      {u"\xDC00", 1},        // lone low surrogate
      {u"\xDC00\xD800", 2},  // halves in the wrong order are two characters
      {u"\xD800\xD800\xDC00", 2},
  };
  for (const auto& [text, count] : cases) {
    EXPECT_EQ(CountCharacters(text), count);
  }
}

// The strict reading takes what StepLength reads as a whole number, the
// whole text and nothing else; the rest is refused with the reason.
TEST(ReadStepCount, WholeNumbersFromOneOrTheReason) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::tuple<std::u16string_view, std::int32_t, StepFault> cases[] = {
      {u"3", 3, StepFault::None},
      {u" 32 ", 32, StepFault::None},
      {u"+7", 7, StepFault::None},
      {u"12", 12, StepFault::None},
      {u"1 2", 12, StepFault::None},  // blanks inside, as the step box has always skipped
      {u"&H3", 3, StepFault::None},
      {u" &h1f ", 31, StepFault::None},
      {u"&O17", 15, StepFault::None},
      {u"&H10", 16, StepFault::None},
      {u"&H7FFFFFFF", kMax, StepFault::None},
      {u"2147483647", kMax, StepFault::None},
      {u"", 0, StepFault::Empty},
      {u" \t ", 0, StepFault::Empty},
      {u"0", 0, StepFault::TooSmall},
      {u"-1", 0, StepFault::TooSmall},
      {u"&H0", 0, StepFault::TooSmall},
      {u"-0", 0, StepFault::TooSmall},
      {u"2147483648", 0, StepFault::TooLarge},
      {u"&H80000000", 0, StepFault::TooLarge},
      {u"99999999999999999999", 0, StepFault::TooLarge},
      {u"1.5", 0, StepFault::NotWhole},
      {u"2.0", 0, StepFault::NotWhole},  // StepLength takes it as 2; with a point it is refused
      {u"1.", 0, StepFault::NotWhole},
      {u"1e3", 0, StepFault::NotWhole},
      {u"abc", 0, StepFault::NotWhole},
      {u"3abc", 0, StepFault::NotWhole},  // StepLength reads 3 and ignores the rest
      {u"&H", 0, StepFault::NotWhole},
      {u"&O8", 0, StepFault::NotWhole},
      {u"&HG", 0, StepFault::NotWhole},
      {u"&X1", 0, StepFault::NotWhole},
      {u"+", 0, StepFault::NotWhole},
      {u"\uFF13", 0, StepFault::NotWhole},  // full-width digits are the page's to make ASCII
  };
  for (const auto& [text, value, fault] : cases) {
    const StepCount read = ReadStepCount(text);
    EXPECT_EQ(read.fault, fault) << std::string(text.begin(), text.end());
    EXPECT_EQ(read.value, value) << std::string(text.begin(), text.end());
  }
}

struct StepCase {
  std::u16string_view stepText;
  std::int32_t n;
  std::int32_t expected;
};

TEST(StepLength, ReadsTheStepBox) {
  const StepCase cases[] = {
      {u"1", kLongText, 1},
      {u"2", kLongText, 2},
      {u"12", kLongText, 12},
      {u"+3", kLongText, 3},
      {u"007", kLongText, 7},
      {u"000000000000000000000000005", kLongText, 5},
      // blanks are ignored wherever they stand
      {u" 1 2", kLongText, 12},
      {u"1\t2\n3 ", kLongText, 123},
      {u" \t\n 4", kLongText, 4},
      {u"1 e 1", kLongText, 10},
      // reading stops at the first character that cannot continue the number
      {u"12abc", kLongText, 12},
      {u"1,000", kLongText, 1},
      {u"1.2.3", kLongText, 1},
      {u"5-3", kLongText, 5},
      {u"7\r8", kLongText, 7},  // a carriage return is not a blank
      // decimals round half to even
      {u"2.5", kLongText, 2},
      {u"3.5", kLongText, 4},
      {u"1.5", kLongText, 2},
      {u"2.6", kLongText, 3},
      {u"2.4999", kLongText, 2},
      {u"4.", kLongText, 4},
      {u".5e1", kLongText, 5},
      // exponents
      {u"1e1", kLongText, 10},
      {u"1E2", kLongText, 100},
      {u"1e+1", kLongText, 10},
      {u"25e-1", kLongText, 2},
      {u"35e-1", kLongText, 4},
      {u"1.5e1", kLongText, 15},
      {u"1e", kLongText, 1},
      {u"3e+", kLongText, 3},
      {u"3ex", kLongText, 3},
      // hexadecimal and octal integers
      {u"&H10", kLongText, 16},
      {u"&HFF", kLongText, 255},
      {u"&Hff", kLongText, 255},
      {u"&HFFFF", kLongText, 65535},
      {u"&H7FFFFFFF", std::numeric_limits<std::int32_t>::max(), 1},
      {u"&H7FFFFFFE", std::numeric_limits<std::int32_t>::max(), 0x7FFFFFFE},
      {u"&H1G", kLongText, 1},
      {u"&O17", kLongText, 15},
      {u"&O20", kLongText, 16},
      {u"&O18", kLongText, 1},
      // no number at the start reads as 0, which gives 1
      {u"", kLongText, 1},
      {u"   ", kLongText, 1},
      {u"abc", kLongText, 1},
      {u"e5", kLongText, 1},
      {u"+", kLongText, 1},
      {u"-", kLongText, 1},
      {u".", kLongText, 1},
      {u"&H", kLongText, 1},
      {u"&O", kLongText, 1},
      {u"&HG", kLongText, 1},
      {u"&O9", kLongText, 1},
      {u"&X10", kLongText, 1},
      {u"0", kLongText, 1},
      {u"0.4", kLongText, 1},
      {u"0.5", kLongText, 1},
      {u"\uFF11\uFF12", kLongText, 1},  // full-width digits are not digits
      {u"\u30002", kLongText, 1},       // nor is the ideographic space a blank
      // negative and out-of-range numbers give 1
      {u"-3", kLongText, 1},
      {u"-1", 1, 1},
      {u"-1", 0, 1},
      {u"-0", kLongText, 1},
      {u"-2147483648", kLongText, 1},
      {u"99999999999", kLongText, 1},
      {u"2147483648", std::numeric_limits<std::int32_t>::max(), 1},
      {u"1e400", kLongText, 1},
      {u"1e99999999999999999999", kLongText, 1},
      {u"-1e400", kLongText, 1},
      {u"&H80000000", std::numeric_limits<std::int32_t>::max(), 1},
      {u"&HFFFFFFFFFFFFFFFFFFFFFFFF", kLongText, 1},
      {u"&O77777777777777777777777", kLongText, 1},
      {u"2147483646", std::numeric_limits<std::int32_t>::max(), 2147483646},
      {u"2147483646.5", std::numeric_limits<std::int32_t>::max(), 2147483646},
      // the step must be smaller than the text length
      {u"4", 4, 1},
      {u"5", 4, 1},
      {u"3", 4, 3},
      {u"1", 1, 1},
      {u"2", 0, 1},
      {u"3.5", 4, 1},
      {u"3.4", 4, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StepLength(c.stepText, c.n), c.expected)
        << "step text u\"" << std::string(c.stepText.begin(), c.stepText.end()) << "\", n " << c.n;
  }
}

TEST(IsBareChunk, SingleControlsAndSpaceRuns) {
  const std::pair<std::u16string_view, bool> cases[] = {
      {u"\t", true},  {u"\n", true},      {u"\r", true},      {u" ", true},         {u"   ", true},
      {u"", true},    {u"\t\t", false},   {u"\r\n", false},   {u" \t", false},      {u"\n ", false},
      {u" a", false}, {u"a", false},      {u"\u3000", false}, {u" \u3000 ", false}, {u"\v", false},
      {u"\f", false}, {u"\u00A0", false},
  };
  for (const auto& [chunk, bare] : cases) {
    EXPECT_EQ(IsBareChunk(chunk), bare) << std::string(chunk.begin(), chunk.end());
  }
}

using ChunkList = std::vector<std::pair<std::u16string, std::int32_t>>;

// The chunks the conversion cuts, each with its 1-based character position.
ChunkList Chunks(std::u16string_view text, std::u16string_view step) {
  const ConversionSettings settings{std::u16string(text), std::u16string(step)};
  const StyledText cut(settings);
  ChunkList chunks;
  cut.forEachChunk(cut.step(), [&](const StyledChunk& chunk) {
    chunks.emplace_back(std::u16string(chunk.text), chunk.position);
  });
  return chunks;
}

TEST(Cutting, TrimsAndCountsCharacters) {
  const ConversionSettings settings{u"  \U0001F600ab c  ", u"2"};
  const StyledText text(settings);
  EXPECT_EQ(Chunks(settings.text, settings.stepText),
            (ChunkList{{u"\U0001F600a", 1}, {u"b ", 3}, {u"c", 5}}));
  EXPECT_EQ(text.segments(), 5);
  EXPECT_EQ(text.step(), 2);
  EXPECT_EQ(text.stats(text.step()).chunks, 3);
}

std::int32_t StepOf(std::u16string_view text, std::u16string_view step) {
  const ConversionSettings settings{std::u16string(text), std::u16string(step)};
  return StyledText(settings).step();
}

TEST(Cutting, StepMeasuredAgainstTheTrimmedLength) {
  // Five characters after trimming, so a step of 5 is too long.
  const std::u16string text = u"   abcde   ";
  EXPECT_EQ(StepOf(text, u"5"), 1);
  EXPECT_EQ(StepOf(text, u"4"), 4);
  // Four surrogate pairs are four characters, not eight code units.
  EXPECT_EQ(StepOf(u"\U0001F600\U0001F600\U0001F600\U0001F600", u"4"), 1);
  EXPECT_EQ(StepOf(u"\U0001F600\U0001F600\U0001F600\U0001F600", u"3"), 3);
}

TEST(Cutting, OneChunkPerStepRoundedUp) {
  const std::tuple<std::u16string_view, std::u16string_view, std::int32_t> cases[] = {
      {u"", u"1", 0},       {u"   ", u"1", 0},    {u"a", u"1", 1},      {u"abcde", u"2", 3},
      {u"abcdef", u"2", 3}, {u"abcdef", u"5", 2}, {u"abcdef", u"6", 6}, {u"abcdef", u"-2", 6},
  };
  for (const auto& [text, step, count] : cases) {
    const ConversionSettings settings{std::u16string(text), std::u16string(step)};
    const StyledText cut(settings);
    EXPECT_EQ(cut.stats(cut.step()).chunks, count)
        << std::string(text.begin(), text.end()) << " / " << std::string(step.begin(), step.end());
    EXPECT_EQ(Chunks(text, step).size(), static_cast<std::size_t>(count));
  }
}

TEST(Cutting, CutsAtCharacterPositions) {
  EXPECT_EQ(Chunks(u"abcde", u"2"), (ChunkList{{u"ab", 1}, {u"cd", 3}, {u"e", 5}}));
  EXPECT_EQ(Chunks(u" a b ", u"1"), (ChunkList{{u"a", 1}, {u" ", 2}, {u"b", 3}}));
  EXPECT_EQ(Chunks(u"ab\r\ncd", u"2"), (ChunkList{{u"ab", 1}, {u"\r\n", 3}, {u"cd", 5}}));
}

TEST(Cutting, NeverSplitsASurrogatePair) {
  const std::u16string_view face = u"\U0001F600";
  const std::u16string text = u"a" + std::u16string(face) + u"b" + std::u16string(face) + u"c";
  EXPECT_EQ(
      Chunks(text, u"1"),
      (ChunkList{
          {u"a", 1}, {std::u16string(face), 2}, {u"b", 3}, {std::u16string(face), 4}, {u"c", 5}}));
  EXPECT_EQ(Chunks(text, u"2"), (ChunkList{{u"a\U0001F600", 1}, {u"b\U0001F600", 3}, {u"c", 5}}));
  EXPECT_EQ(Chunks(text, u"3"), (ChunkList{{u"a\U0001F600b", 1}, {u"\U0001F600c", 4}}));
  EXPECT_EQ(Chunks(u"\U00020000\U00020001\U00020002\U00020003", u"3"),
            (ChunkList{{u"\U00020000\U00020001\U00020002", 1}, {u"\U00020003", 4}}));
}

TEST(Cutting, LoneSurrogatesPassThroughAsCharacters) {
  EXPECT_EQ(Chunks(u"a\xD800"
                   u"b",
                   u"1"),
            (ChunkList{{u"a", 1}, {u"\xD800", 2}, {u"b", 3}}));
  EXPECT_EQ(Chunks(u"\xDC00\xD800", u"1"), (ChunkList{{u"\xDC00", 1}, {u"\xD800", 2}}));
  EXPECT_EQ(Chunks(u"ab\xD800", u"2"), (ChunkList{{u"ab", 1}, {u"\xD800", 3}}));
  EXPECT_EQ(Chunks(u"\xD800\xD800\xDC00x", u"2"),
            (ChunkList{{u"\xD800\xD800\xDC00", 1}, {u"x", 3}}));
}

TEST(Cutting, VisitorCanStopTheWalk) {
  const ConversionSettings settings{u"abcdefg", u"2"};
  std::vector<std::int32_t> positions;
  StyledText(settings).forEachChunk(2, [&](const StyledChunk& chunk) {
    positions.push_back(chunk.position);
    return chunk.position < 3;
  });
  EXPECT_EQ(positions, (std::vector<std::int32_t>{1, 3}));
}

}  // namespace
}  // namespace huecode
