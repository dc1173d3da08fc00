#include "core/conversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "tests/core/worked_examples.h"

namespace huecode {
namespace {

MarkupTemplate TemplateFor(std::string_view preset) {
  return preset.empty() ? InitialTemplate() : *FindPreset(preset);
}

std::u16string Convert(std::u16string_view text, std::u16string_view step,
                       ColourTriple start = {255, 0, 255}, ColourTriple end = {0, 255, 0}) {
  return GenerateCode({std::u16string(text), std::u16string(step), start, end, InitialTemplate()});
}

TEST(GenerateCode, WorkedExamples) {
  for (const auto& example : test::kWorkedExamples) {
    const ConversionSettings settings{std::u16string(example.text),
                                      std::u16string(example.stepText),
                                      {255, 0, 255},
                                      {0, 255, 0},
                                      TemplateFor(example.preset)};
    EXPECT_EQ(GenerateCode(settings), example.markup)
        << "step u\"" << std::string(example.stepText.begin(), example.stepText.end())
        << "\", preset \"" << example.preset << "\"";
  }
}

TEST(GenerateCode, DefaultSettingsAreTheOpeningWindow) {
  ConversionSettings settings;
  settings.text = u"ab";
  settings.stepText = u"1";
  EXPECT_EQ(GenerateCode(settings), u"[color=#808080]a[/color][color=#00FF00]b[/color]");
}

TEST(GenerateCode, BlankChunksPassThroughBare) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"a\tb", u"[color=#AA55AA]a[/color]\t[color=#00FF00]b[/color]"},
      {u"a\nb", u"[color=#AA55AA]a[/color]\n[color=#00FF00]b[/color]"},
      {u"a\rb", u"[color=#AA55AA]a[/color]\r[color=#00FF00]b[/color]"},
      {u"\ta\t", u"\t[color=#55AA55]a[/color]\t"},
      {u"\r\n", u"\r\n"},
  };
  for (const auto& [text, markup] : cases) {
    EXPECT_EQ(Convert(text, u"1"), markup);
  }
}

TEST(GenerateCode, SpaceOnlyChunksOfAnyLength) {
  // Chunks of two: "ab", "  ", "cd".
  EXPECT_EQ(Convert(u"ab  cd", u"2"), u"[color=#D42AD4]ab[/color]  [color=#2AD42A]cd[/color]");
  // Chunks of three: "a  ", "   ", "  b" (spaces inside a chunk are coloured with it).
  EXPECT_EQ(Convert(u"a       b", u"3"),
            u"[color=#E31CE3]a  [/color]   [color=#39C639]  b[/color]");
}

TEST(GenerateCode, ChunksThatMerelyContainBlanksAreColoured) {
  // Chunks of two: "a ", "\tb", "\r\n", "c\n".
  EXPECT_EQ(Convert(u"a \tb\r\nc\n", u"2"),
            u"[color=#DF20DF]a [/color][color=#9F609F]\tb[/color][color=#609F60]\r\n[/color]"
            u"[color=#20DF20]c\n[/color]");
}

TEST(GenerateCode, EmptyAndSpacesOnlyGiveNothing) {
  for (std::u16string_view text : {u"", u" ", u"      "}) {
    for (std::u16string_view step : {u"", u"0", u"1", u"2", u"-5", u"99999999999"}) {
      EXPECT_EQ(Convert(text, step), u"");
    }
  }
}

TEST(GenerateCode, SingleCharacterHasTheEndColour) {
  for (std::u16string_view step : {u"", u"0", u"1", u"2", u"-1", u"1e400"}) {
    EXPECT_EQ(Convert(u"  x  ", step), u"[color=#00FF00]x[/color]");
  }
}

TEST(GenerateCode, IdeographicSpaceIsAnOrdinaryCharacter) {
  EXPECT_EQ(Convert(u" \u3000 ", u"1"), u"[color=#00FF00]\u3000[/color]");
  EXPECT_EQ(Convert(u"\u3000\u3000", u"1"),
            u"[color=#808080]\u3000[/color][color=#00FF00]\u3000[/color]");
  EXPECT_EQ(Convert(u"\u3000 ", u"1"), u"[color=#00FF00]\u3000[/color]");
}

TEST(GenerateCode, EqualEndPointsColourEveryChunkAlike) {
  EXPECT_EQ(Convert(u"ab c", u"1", {18, 52, 86}, {18, 52, 86}),
            u"[color=#123456]a[/color][color=#123456]b[/color] [color=#123456]c[/color]");
}

TEST(GenerateCode, SurrogatePairsStayWhole) {
  const std::u16string_view text = u"\U0001F600x\U0001F600y\U0001F600";
  EXPECT_EQ(Convert(text, u"1"),
            u"[color=#CC33CC]\U0001F600[/color][color=#996699]x[/color]"
            u"[color=#669966]\U0001F600[/color][color=#33CC33]y[/color]"
            u"[color=#00FF00]\U0001F600[/color]");
  EXPECT_EQ(Convert(text, u"2"),
            u"[color=#CC33CC]\U0001F600x[/color][color=#669966]\U0001F600y[/color]"
            u"[color=#00FF00]\U0001F600[/color]");
  EXPECT_EQ(Convert(text, u"3"),
            u"[color=#CC33CC]\U0001F600x\U0001F600[/color][color=#33CC33]y\U0001F600[/color]");
  // A lone surrogate is written unchanged, as a character of its own.
  EXPECT_EQ(Convert(u"a\xD800", u"1"), u"[color=#808080]a[/color][color=#00FF00]\xD800[/color]");
}

// The template uses private-use characters that generated texts never hold,
// so the tags can be taken apart again.
constexpr char16_t kPrefix = u'\uE000';
constexpr char16_t kMiddle = u'\uE001';
constexpr char16_t kSuffix = u'\uE002';

struct Tagged {
  std::u16string digits;
  std::u16string chunk;
  std::size_t offset;  // in the trimmed text
};

std::u16string RandomText(std::mt19937& random) {
  static const std::u16string kPieces[] = {
      u"a",          u"Z",          u"7",      u" ",      u" ",  u"  ", u"\t",
      u"\r\n",       u"\n",         u"\r",     u"\u3000", u"彩", u"色", u"，",
      u"\U0001F600", u"\U00020BB7", u"\xD800", u"\xDFFF", u"<",  u"[",  u"&",
  };
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::u16string text;
  for (int k = length(random); k > 0; --k) {
    text += kPieces[piece(random)];
  }
  return text;
}

std::u16string RandomStep(std::mt19937& random) {
  static const std::u16string kSteps[] = {u"",    u"0",   u"-2",  u"2.5",        u" 3 ",
                                          u"&H5", u"1e1", u"abc", u"99999999999"};
  std::uniform_int_distribution<int> pick(0, 2 * static_cast<int>(std::size(kSteps)));
  const int k = pick(random);
  return k < static_cast<int>(std::size(kSteps)) ? kSteps[k] : std::u16string(1, u'0' + k % 10);
}

TEST(GenerateCode, RemovingTheTagsGivesBackTheTrimmedText) {
  std::mt19937 random(20240531);
  const ColourTriple start{12, 200, 99};
  const ColourTriple end{240, 3, 99};
  for (int run = 0; run < 3000; ++run) {
    const std::u16string text = RandomText(random);
    const std::u16string step = RandomStep(random);
    const ChunkPlan plan = PlanChunks(text, step);
    const std::u16string output = GenerateCode(
        {text,
         step,
         start,
         end,
         {std::u16string(1, kPrefix), std::u16string(1, kMiddle), std::u16string(1, kSuffix)}});

    std::u16string untagged;
    std::vector<Tagged> tagged;
    for (std::size_t k = 0; k < output.size();) {
      if (output[k] != kPrefix) {
        untagged += output[k++];
        continue;
      }
      const std::size_t middle = output.find(kMiddle, k);
      const std::size_t suffix = output.find(kSuffix, k);
      ASSERT_NE(suffix, std::u16string::npos) << "unclosed tag in run " << run;
      ASSERT_EQ(middle, k + 7) << "run " << run;
      tagged.push_back({output.substr(k + 1, 6), output.substr(middle + 1, suffix - middle - 1),
                        untagged.size()});
      untagged += tagged.back().chunk;
      k = suffix + 1;
    }
    ASSERT_EQ(untagged, TrimSpaces(text)) << "run " << run;

    // Each coloured chunk starts at a multiple of the step, is a full step
    // long unless the text ends, and carries the colour of its position.
    for (const Tagged& t : tagged) {
      const auto before = CountCharacters(std::u16string_view(untagged).substr(0, t.offset));
      const auto length = CountCharacters(t.chunk);
      const auto position = before + 1;
      EXPECT_EQ(before % plan.step, 0) << "run " << run;
      EXPECT_EQ(length, std::min(plan.step, plan.length - before)) << "run " << run;
      EXPECT_FALSE(IsBareChunk(t.chunk)) << "run " << run;
      EXPECT_EQ(t.digits, ColourDigits(GradientColour(start, end, position, plan.length)))
          << "run " << run;
    }
  }
}

}  // namespace
}  // namespace huecode
