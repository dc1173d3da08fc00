#include "core/conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "core/dialects.h"
#include "tests/support/reference.h"
#include "tests/support/worked_examples.h"

namespace huecode {
namespace {

MarkupTemplate TemplateFor(std::string_view preset) {
  return preset.empty() ? InitialTemplate() : *FindDialect(preset);
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

// Beyond the worked examples, in the opening colours: bare blanks, chunks
// that merely contain blanks, ideographic spaces, surrogate pairs.
TEST(GenerateCode, MoreTextsInTheOpeningColours) {
  const std::array<std::u16string_view, 3> cases[] = {
      {u"a\nb", u"1", u"[color=#AA55AA]a[/color]\n[color=#00FF00]b[/color]"},
      {u"a\rb", u"1", u"[color=#AA55AA]a[/color]\r[color=#00FF00]b[/color]"},
      {u"\ta\t", u"1", u"\t[color=#55AA55]a[/color]\t"},
      {u"\r\n", u"1", u"\r\n"},
      // Chunks "ab", "  ", "cd"; then "a  ", "   ", "  b".
      {u"ab  cd", u"2", u"[color=#D42AD4]ab[/color]  [color=#2AD42A]cd[/color]"},
      {u"a       b", u"3", u"[color=#E31CE3]a  [/color]   [color=#39C639]  b[/color]"},
      // Chunks "a ", "\tb", "\r\n", "c\n".
      {u"a \tb\r\nc\n", u"2",
       u"[color=#DF20DF]a [/color][color=#9F609F]\tb[/color][color=#609F60]\r\n[/color]"
       u"[color=#20DF20]c\n[/color]"},
      {u" \u3000 ", u"1", u"[color=#00FF00]\u3000[/color]"},
      {u"\u3000\u3000", u"1", u"[color=#808080]\u3000[/color][color=#00FF00]\u3000[/color]"},
      {u"\u3000 ", u"1", u"[color=#00FF00]\u3000[/color]"},
      {u"\U0001F600x\U0001F600y\U0001F600", u"1",
       u"[color=#CC33CC]\U0001F600[/color][color=#996699]x[/color]"
       u"[color=#669966]\U0001F600[/color][color=#33CC33]y[/color][color=#00FF00]\U0001F600[/"
       u"color]"},
      {u"\U0001F600x\U0001F600y\U0001F600", u"2",
       u"[color=#CC33CC]\U0001F600x[/color][color=#669966]\U0001F600y[/color]"
       u"[color=#00FF00]\U0001F600[/color]"},
      {u"\U0001F600x\U0001F600y\U0001F600", u"3",
       u"[color=#CC33CC]\U0001F600x\U0001F600[/color][color=#33CC33]y\U0001F600[/color]"},
      // A lone surrogate is written unchanged, as a character of its own.
      {u"a\xD800", u"1", u"[color=#808080]a[/color][color=#00FF00]\xD800[/color]"},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    EXPECT_EQ(Convert(cases[k][0], cases[k][1]), cases[k][2]) << "case " << k;
  }
  for (std::u16string_view step : {u"", u"0", u"1", u"2", u"-1", u"1e400"}) {
    EXPECT_EQ(Convert(u"  x  ", step), u"[color=#00FF00]x[/color]");
  }
}

TEST(GenerateCode, EmptyAndSpacesOnlyGiveNothing) {
  for (std::u16string_view text : {u"", u" ", u"      "}) {
    for (std::u16string_view step : {u"", u"0", u"1", u"2", u"-5", u"99999999999"}) {
      EXPECT_EQ(Convert(text, step), u"");
    }
  }
}

TEST(GenerateCode, EqualEndPointsColourEveryChunkAlike) {
  EXPECT_EQ(Convert(u"ab c", u"1", {18, 52, 86}, {18, 52, 86}),
            u"[color=#123456]a[/color][color=#123456]b[/color] [color=#123456]c[/color]");
}

TEST(GenerateCode, ComponentsBeyondTwoDigitsAreLeftOut) {
  // A component's three- or four-digit hexadecimal text has no two-digit form.
  EXPECT_EQ(Convert(u"ab", u"1", {300, 0, -5}, {300, 255, -5}),
            u"[color=#80]a[/color][color=#FF]b[/color]");
  EXPECT_EQ(Convert(u"a b", u"1", {0, 0, 0}, {0, 0, 1000}),
            u"[color=#0000]a[/color] [color=#0000]b[/color]");
}

// The template uses private-use characters that generated texts never hold,
// so the tags can be taken apart again.
constexpr char16_t kPrefix = u'\uE000';
constexpr char16_t kMiddle = u'\uE001';
constexpr char16_t kSuffix = u'\uE002';

const MarkupTemplate kTaggedTemplate{std::u16string(1, kPrefix), std::u16string(1, kMiddle),
                                     std::u16string(1, kSuffix)};

struct Tagged {
  std::u16string digits;
  std::u16string chunk;
  std::size_t offset;  // in the text without tags
};

struct Untagged {
  std::u16string text;
  std::vector<Tagged> tagged;
  bool wellFormed = true;
};

Untagged RemoveTags(std::u16string_view output) {
  Untagged result;
  for (std::size_t k = 0; k < output.size();) {
    if (output[k] != kPrefix) {
      result.text += output[k++];
      continue;
    }
    const std::size_t middle = output.find(kMiddle, k);
    const std::size_t suffix = output.find(kSuffix, k);
    if (middle != k + 7 || suffix == std::u16string_view::npos) {
      result.wellFormed = false;
      return result;
    }
    result.tagged.push_back({std::u16string(output.substr(k + 1, 6)),
                             std::u16string(output.substr(middle + 1, suffix - middle - 1)),
                             result.text.size()});
    result.text += result.tagged.back().chunk;
    k = suffix + 1;
  }
  return result;
}

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

// A step text and the whole number the step box reads it as.
struct StepText {
  std::u16string text;
  std::int64_t number;
};

StepText RandomStep(std::mt19937& random) {
  static const StepText kSteps[] = {{u"", 0},     {u"0", 0},   {u"-2", -2},
                                    {u"2.5", 2},  {u" 3 ", 3}, {u"&H5", 5},
                                    {u"1e1", 10}, {u"abc", 0}, {u"99999999999", 99999999999}};
  std::uniform_int_distribution<int> pick(0, 2 * static_cast<int>(std::size(kSteps)));
  const int k = pick(random);
  return k < static_cast<int>(std::size(kSteps))
             ? kSteps[k]
             : StepText{std::u16string(1, u'0' + k % 10), k % 10};
}

ColourTriple RandomColour(std::mt19937& random) {
  std::uniform_int_distribution<int> component(0, 255);
  return {static_cast<std::int16_t>(component(random)),
          static_cast<std::int16_t>(component(random)),
          static_cast<std::int16_t>(component(random))};
}

reference::ReferenceColour Plain(ColourTriple c) {
  return {c.r, c.g, c.b};
}

// Against the plain restatement of the rules: the same chunks, the same bare
// ones left untagged, each tagged one with the colour of its position.
TEST(GenerateCode, RemovingTheTagsGivesBackTheTrimmedText) {
  std::mt19937 random(20240531);
  for (int run = 0; run < 3000; ++run) {
    const std::u16string text = RandomText(random);
    const StepText step = RandomStep(random);
    const ColourTriple start = RandomColour(random);
    const ColourTriple end = run % 5 == 0 ? start : RandomColour(random);
    const std::u16string trimmed = reference::TrimOuterSpaces(text);
    const auto n = static_cast<std::int32_t>(reference::CharacterCount(trimmed));
    std::vector<reference::ReferenceChunk> coloured;
    for (reference::ReferenceChunk& chunk :
         reference::ReferenceChunks(trimmed, reference::ReferenceStep(step.number, n))) {
      if (!chunk.bare) {
        coloured.push_back(std::move(chunk));
      }
    }
    const Untagged untagged =
        RemoveTags(GenerateCode({text, step.text, start, end, kTaggedTemplate}));
    ASSERT_TRUE(untagged.wellFormed) << "run " << run;
    ASSERT_EQ(untagged.text, trimmed) << "run " << run;
    ASSERT_EQ(untagged.tagged.size(), coloured.size()) << "run " << run;
    for (std::size_t k = 0; k < coloured.size(); ++k) {
      const Tagged& t = untagged.tagged[k];
      EXPECT_EQ(t.offset, coloured[k].offset) << "run " << run;
      EXPECT_EQ(t.chunk, coloured[k].text) << "run " << run;
      EXPECT_EQ(t.digits,
                reference::ReferenceDigits(Plain(start), Plain(end), coloured[k].position, n))
          << "run " << run;
    }
  }
}

// Long texts reach positions and spans where a colour computed incrementally
// could drift from the formula, and halves that must round to even.
TEST(GenerateCode, LongTextsFollowTheGradientFormula) {
  const std::pair<ColourTriple, ColourTriple> gradients[] = {
      {{255, 0, 255}, {0, 255, 0}},
      {{0, 1, 254}, {255, 0, 255}},
      {{17, 200, 3}, {18, 199, 250}},
      {{90, 90, 90}, {90, 90, 90}},
  };
  const std::pair<std::int32_t, std::int32_t> texts[] = {
      {1000, 1}, {1000, 3}, {65537, 1}, {65537, 7}, {65537, 256}, {999983, 1}, {1000000, 13},
  };
  for (const auto& [n, stepLength] : texts) {
    const std::u16string text(static_cast<std::size_t>(n), u'x');
    const std::string digits = std::to_string(stepLength);
    const std::u16string step(digits.begin(), digits.end());
    for (const auto& [start, end] : gradients) {
      const Untagged untagged = RemoveTags(GenerateCode({text, step, start, end, kTaggedTemplate}));
      ASSERT_TRUE(untagged.wellFormed);
      ASSERT_EQ(untagged.tagged.size(),
                static_cast<std::size_t>((n + stepLength - 1) / stepLength));
      std::size_t wrong = 0;
      for (const Tagged& t : untagged.tagged) {
        const auto position = static_cast<std::int32_t>(t.offset) + 1;
        wrong += t.digits != reference::ReferenceDigits(Plain(start), Plain(end), position, n);
      }
      EXPECT_EQ(wrong, 0u) << "n " << n << ", step " << stepLength;
    }
  }
}

}  // namespace
}  // namespace huecode
