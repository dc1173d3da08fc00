#include "icu/grapheme.h"

#include <gtest/gtest.h>

#include "core/conversion.h"

namespace huecode {
namespace {

struct SegmentCase {
  std::u16string_view text;
  std::vector<std::uint32_t> graphemes;
  std::vector<std::uint32_t> characters;
};

// Where the core's chunks of one character each begin, then the text's size.
std::vector<std::uint32_t> CharacterBoundaries(std::u16string_view text) {
  StyledSettings settings;
  settings.text = std::u16string(text);
  std::vector<std::uint32_t> boundaries;
  const StyledText cut(settings);
  cut.forEachChunk(1, [&](const StyledChunk& chunk) {
    boundaries.push_back(static_cast<std::uint32_t>(chunk.text.data() - settings.text.data()));
  });
  boundaries.push_back(static_cast<std::uint32_t>(text.size()));
  return boundaries;
}

TEST(Grapheme, UserPerceivedCharactersStayWhole) {
  const SegmentCase cases[] = {
      {u"", {0}, {0}},
      {u"ab", {0, 1, 2}, {0, 1, 2}},
      {u"e\u0301x", {0, 2, 3}, {0, 1, 2, 3}},               // e with a combining acute accent
      {u"\U0001F1E8\U0001F1F3!", {0, 4, 5}, {0, 2, 4, 5}},  // a flag: two regional indicators
      // man, ZWJ, woman, ZWJ, girl: one family
      {u"\U0001F468\u200D\U0001F469\u200D\U0001F467a", {0, 8, 9}, {0, 2, 3, 5, 6, 8, 9}},
      {u"\r\n", {0, 2}, {0, 1, 2}},
      {u"\xD800x", {0, 1, 2}, {0, 1, 2}},  // a lone surrogate is a character of its own
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GraphemeBoundaries(c.text), c.graphemes) << c.text.size();
    EXPECT_EQ(CharacterBoundaries(c.text), c.characters) << c.text.size();
  }
}

TEST(Grapheme, GraphemeChunksColourWholeClusters) {
  StyledSettings settings;
  settings.text = u"e\u0301\U0001F1E8\U0001F1F3";
  settings.by = Segmentation::Graphemes;
  settings.graphemes = &GraphemeBoundaries;
  EXPECT_EQ(GenerateStyledCode(settings),
            u"[color=#808080]e\u0301[/color][color=#00FF00]\U0001F1E8\U0001F1F3[/color]");
}

TEST(Grapheme, ACrLfClusterIsALineBreakAndStaysBare) {
  StyledSettings settings;
  settings.text = u"ab\r\ncd";
  settings.by = Segmentation::Graphemes;
  settings.graphemes = &GraphemeBoundaries;
  EXPECT_EQ(GenerateStyledCode(settings),
            u"[color=#CC33CC]a[/color][color=#996699]b[/color]\r\n[color=#33CC33]c[/color]"
            u"[color=#00FF00]d[/color]");
}

}  // namespace
}  // namespace huecode
