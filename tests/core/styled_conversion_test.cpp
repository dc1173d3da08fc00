#include "core/conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "core/chunks.h"
#include "core/dialects.h"
#include "tests/support/dialect_chunks.h"
#include "tests/support/worked_examples.h"

namespace huecode {
namespace {

MarkupTemplate TemplateFor(std::string_view preset) {
  return preset.empty() ? InitialTemplate() : *FindDialect(preset);
}

// GenerateStyledCode hands the window's own settings to GenerateCode; the
// general path must still agree with it, since every option builds on it.
std::u16string GeneralPath(const StyledSettings& settings) {
  const StyledText text(settings);
  return text.markup(text.step());
}

TEST(StyledConversion, DefaultsWriteExactlyWhatTheWindowWrites) {
  for (const auto& example : test::kWorkedExamples) {
    StyledSettings settings;
    settings.text = example.text;
    settings.stepText = example.stepText;
    settings.markup = TemplateFor(example.preset);
    EXPECT_EQ(GenerateStyledCode(settings), example.markup) << "step " << example.stepText.size();
    EXPECT_EQ(GeneralPath(settings), example.markup) << "step " << example.stepText.size();
  }
}

std::u16string RandomText(std::mt19937& rng, int maxLength) {
  static constexpr std::u16string_view kPool = u"ab \t\r\n中文\u3000\U0001F600\xD800";
  std::u16string text;
  const int length = static_cast<int>(rng() % static_cast<unsigned>(maxLength + 1));
  for (int i = 0; i < length; ++i) {
    text += kPool[rng() % kPool.size()];
  }
  return text;
}

TEST(StyledConversion, DefaultsAgreeWithGenerateCodeOnRandomTexts) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 5000; ++round) {
    ConversionSettings window;
    window.text = RandomText(rng, 40);
    window.stepText = std::u16string(1, static_cast<char16_t>(u'0' + rng() % 7));
    window.start = SplitColour(static_cast<ColourValue>(rng() % 0x1000000));
    window.end = SplitColour(static_cast<ColourValue>(rng() % 0x1000000));
    StyledSettings styled;
    styled.text = window.text;
    styled.stepText = window.stepText;
    styled.gradient.stops = {window.start, window.end};
    ASSERT_EQ(GeneralPath(styled), GenerateCode(window)) << round;
  }
}

TEST(StyledConversion, EachDialectWrapsAChunkInItsOwnForm) {
  ASSERT_EQ(Dialects().size(), std::size(test::kDialectChunks));
  for (const auto& [key, chunk] : test::kDialectChunks) {
    StyledSettings settings;
    settings.text = u"a";
    settings.gradient.stops = {{255, 0, 255}, {255, 0, 255}};
    settings.markup = *FindDialect(key);
    EXPECT_EQ(GenerateStyledCode(settings), chunk) << key;
  }
  EXPECT_FALSE(FindDialect("markdown"));
}

// The markup's tags, parsed back out with the initial template.
struct Tag {
  std::u16string colour;
  std::u16string text;
};

std::vector<Tag> ParseTags(std::u16string_view markup, std::u16string* bareText) {
  std::vector<Tag> tags;
  while (!markup.empty()) {
    if (markup.starts_with(u"[color=#")) {
      const auto close = markup.find(u"[/color]");
      tags.push_back(
          {std::u16string(markup.substr(8, 6)), std::u16string(markup.substr(15, close - 15))});
      *bareText += tags.back().text;
      markup.remove_prefix(close + 8);
    } else {
      *bareText += markup.front();
      markup.remove_prefix(1);
    }
  }
  return tags;
}

TEST(StyledConversion, MergingKeepsTheTextAndNeverRepeatsAColour) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    StyledSettings settings;
    // Letters only inside, so the parser cannot mistake text for tags.
    settings.text = RandomText(rng, 300);
    settings.stepText = std::u16string(1, static_cast<char16_t>(u'1' + rng() % 3));
    settings.gradient.stops = {{static_cast<std::int16_t>(rng() % 8), 0, 0},
                               {static_cast<std::int16_t>(rng() % 8), 0, 0}};
    settings.merge = true;
    std::u16string text;
    const auto tags = ParseTags(GenerateStyledCode(settings), &text);
    ASSERT_EQ(text, TrimSpaces(settings.text)) << round;
    for (std::size_t i = 1; i < tags.size(); ++i) {
      ASSERT_NE(tags[i].colour, tags[i - 1].colour) << round;
    }
  }
}

TEST(StyledConversion, ChunksKnowTheUnitTheyStartAt) {
  StyledSettings settings;
  settings.text = u"aa\U0001F600  bb  ";
  settings.gradient.stops = {{255, 0, 0}, {255, 0, 0}};
  settings.merge = true;
  const StyledText text(settings);
  std::vector<std::pair<std::u16string, std::int32_t>> chunks;
  text.forEachChunk(1, [&](const StyledChunk& chunk) {
    chunks.emplace_back(std::u16string(chunk.text), chunk.position);
  });
  const std::vector<std::pair<std::u16string, std::int32_t>> expected{{u"aa\U0001F600  bb", 1}};
  EXPECT_EQ(chunks, expected);

  settings.gradient.stops = {{255, 0, 0}, {0, 0, 255}};
  settings.text = u"ab  c";
  settings.stepText = u"1";
  const StyledText split(settings);
  chunks.clear();
  split.forEachChunk(2, [&](const StyledChunk& chunk) {
    chunks.emplace_back(std::u16string(chunk.text), chunk.position);
  });
  const std::vector<std::pair<std::u16string, std::int32_t>> cut{{u"ab", 1}, {u"  ", 3}, {u"c", 5}};
  EXPECT_EQ(chunks, cut);
}

TEST(StyledConversion, MergedRunsSpanBlanksButLeaveTrailingBlanksBare) {
  StyledSettings settings;
  settings.gradient.stops = {{255, 0, 0}, {255, 0, 0}};
  settings.merge = true;
  settings.text = u"ab c\t";
  settings.text += u"\td";
  EXPECT_EQ(GenerateStyledCode(settings), u"[color=#FF0000]ab c\t\td[/color]");
  settings.gradient.stops = {{255, 0, 0}, {0, 0, 255}};
  settings.text = u"aa  bb";
  settings.stepText = u"2";
  EXPECT_EQ(GenerateStyledCode(settings), u"[color=#D4002A]aa[/color]  [color=#2A00D4]bb[/color]");
}

std::int64_t OutputCharacters(const StyledSettings& settings, std::int32_t step) {
  StyledSettings fixed = settings;
  fixed.step = step;
  return CountCharacters(GenerateStyledCode(fixed));
}

TEST(StyledConversion, FitTakesTheSmallestStepThatFits) {
  StyledSettings settings;
  settings.text = u"彩色文字 forum \U0001F600 post\r\nsecond line";
  settings.merge = false;
  const StyledText text(settings);
  for (const std::int64_t limit : {0, 60, 100, 150, 200, 400, 10000}) {
    const Fit fit = FitStep(text, limit);
    const auto step = fit.step;
    std::int32_t smallest = 0;
    for (std::int32_t s = 1; s <= text.segments() && smallest == 0; ++s) {
      if (OutputCharacters(settings, s) <= limit) {
        smallest = s;
      }
    }
    // When nothing fits, the output of one chunk for the whole text is the shortest.
    EXPECT_EQ(step.value_or(0), smallest) << limit;
    EXPECT_EQ(fit.length, OutputCharacters(settings, step.value_or(text.segments()))) << limit;
  }
}

TEST(StyledConversion, StatsCountWithoutBuilding) {
  StyledSettings settings;
  settings.text = u"  ab \U0001F600\n ";
  settings.merge = true;
  const StyledText text(settings);
  const ConversionStats stats = text.stats(1);
  EXPECT_EQ(stats.charactersIn, 8);
  EXPECT_EQ(stats.chunks, 5);  // a b space emoji line-feed
  EXPECT_EQ(stats.colouredChunks, 3);
  EXPECT_EQ(stats.outputCharacters, CountCharacters(text.markup(1)));
}

// HTML-safe text: the entities go inside the chunks, while the chunks, their
// colours and the counts of chunks stay those of the text as it is.
TEST(StyledConversion, EscapingWritesEntitiesAndKeepsChunksAndColours) {
  struct Case {
    std::u16string_view text;
    std::int32_t step;
    bool merge;
    std::u16string_view markup;
  };
  const Case cases[] = {
      {u"a<b", 1, false, u"<AA55AA|a><55AA55|&lt;><00FF00|b>"},
      {u"a<b>&c", 3, false, u"<D42AD4|a&lt;b><55AA55|&gt;&amp;c>"},
      {u"& <", 1, false, u"<AA55AA|&amp;> <00FF00|&lt;>"},
      {u"<<", 1, true, u"<808080|&lt;><00FF00|&lt;>"},
      {u"\U0001F600&", 1, false, u"<808080|\U0001F600><00FF00|&amp;>"},
  };
  for (const Case& c : cases) {
    StyledSettings settings;
    settings.text = std::u16string(c.text);
    settings.markup = {u"<", u"|", u">"};
    settings.merge = c.merge;
    settings.escape = true;
    const StyledText text(settings);
    const std::u16string markup = text.markup(c.step);
    EXPECT_EQ(markup, c.markup) << c.step;
    const ConversionStats stats = text.stats(c.step);
    EXPECT_EQ(stats.outputCharacters, CountCharacters(markup));
    settings.escape = false;
    const ConversionStats plain = StyledText(settings).stats(c.step);
    EXPECT_EQ(stats.chunks, plain.chunks);
    EXPECT_EQ(stats.colouredChunks, plain.colouredChunks);
  }
}

// Grapheme boundaries come from outside the core; any that would cut past the
// text or out of order are refused rather than read.
TEST(StyledConversion, GraphemeBoundariesThatDoNotFitTheTextAreRefused) {
  const std::vector<std::uint32_t> wrong[] = {
      {}, {1, 3}, {0, 2}, {0, 4}, {0, 2, 2, 3}, {0, 2, 1, 3},
  };
  for (const auto& boundaries : wrong) {
    StyledSettings settings;
    settings.text = u"abc";
    settings.by = Segmentation::Graphemes;
    settings.graphemes = [&](std::u16string_view) { return boundaries; };
    EXPECT_THROW(StyledText{settings}, std::invalid_argument) << boundaries.size();
  }
  StyledSettings unsegmented;
  unsegmented.by = Segmentation::Graphemes;
  EXPECT_THROW(StyledText{unsegmented}, std::invalid_argument);
}

// A StyledText keeps views of its settings, so it cannot be built from a
// temporary that would be gone before it is used.
static_assert(!std::is_constructible_v<StyledText, StyledSettings&&>);
static_assert(!std::is_constructible_v<StyledText, ConversionSettings&&>);
static_assert(std::is_constructible_v<StyledText, const StyledSettings&>);

}  // namespace
}  // namespace huecode
