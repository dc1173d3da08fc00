#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "icu/grapheme.h"
#include "preview/previews.h"
#include "recording_surface.h"
#include "tests/preview/preview_of.h"

namespace huecode {
namespace {

using testing::Call;
using testing::Op;
using testing::Printed;
using testing::RecordingSurface;

std::u16string Letters(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) {
    text += static_cast<char16_t>(u'a' + i % 26);
  }
  return text;
}

struct Drawing {
  std::vector<Op> ops;
  std::vector<Printed> printed;
  friend bool operator==(const Drawing&, const Drawing&) = default;
};

Drawing Record(const RecordingSurface& surface) {
  Drawing drawing;
  for (const Call& call : surface.calls()) {
    drawing.ops.push_back(call.op);
  }
  drawing.printed = surface.printed();
  return drawing;
}

Drawing WindowPreview(const std::u16string& text, const std::u16string& step) {
  RecordingSurface surface;
  test::DrawPreviewOf(surface, ConversionSettings{text, step});
  return Record(surface);
}

Drawing StyledPreview(const StyledSettings& settings) {
  RecordingSurface surface;
  test::DrawPreviewOf(surface, settings);
  return Record(surface);
}

StyledSettings Styled(std::u16string text) {
  StyledSettings settings;
  settings.text = std::move(text);
  return settings;
}

struct PreviewCase {
  const char* name;
  std::u16string text;
  std::u16string step;
};

void PrintTo(const PreviewCase& c, std::ostream* os) {
  *os << c.name;
}

class StyledPreviewGrid : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(StyledPreviewGrid, WindowSettingsDrawTheWindowsPreview) {
  const PreviewCase& c = GetParam();
  StyledSettings settings = Styled(c.text);
  settings.stepText = c.step;
  EXPECT_EQ(StyledPreview(settings), WindowPreview(c.text, c.step));
}

// With the step given outright the command line's own chunking draws; on the
// same chunks it must put every print where the window's preview puts it, in
// the same colour, blanks included, and stop at the same row.
TEST_P(StyledPreviewGrid, OwnChunkingUsesTheSameGridAndColours) {
  const PreviewCase& c = GetParam();
  StyledSettings settings = Styled(c.text);
  const std::u16string_view trimmed = TrimSpaces(c.text);
  settings.step = StepLength(c.step, CountCharacters(trimmed));
  const Drawing window = WindowPreview(c.text, c.step);
  EXPECT_EQ(StyledPreview(settings), window);
  EXPECT_FALSE(window.printed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, StyledPreviewGrid,
    ::testing::Values(PreviewCase{"ThreeLetters", u"abc", u"1"},
                      PreviewCase{"BlanksAndBreaks", u"  ab \t cd\r\n\r\nef  ", u"1"},
                      PreviewCase{"StepThree", Letters(100), u"3"},
                      PreviewCase{"SurrogatePairs", u"\U0001F600a\U0001F601 b\U0001F602", u"2"},
                      PreviewCase{"PastTheBottomEdge", Letters(5000), u"1"},
                      PreviewCase{"LongChunksPastTheBottomEdge", Letters(20000), u"7"}),
    [](const ::testing::TestParamInfo<PreviewCase>& tested) { return tested.param.name; });

TEST(StyledPreview, AGraphemeClusterTakesOneCell) {
  const std::u16string family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467";
  const std::u16string flag = u"\U0001F1EB\U0001F1F7";
  StyledSettings settings = Styled(family + flag + u"e\u0301x");
  settings.by = Segmentation::Graphemes;
  settings.graphemes = &GraphemeBoundaries;
  settings.gradient.stops = {{0, 0, 0}, {0, 0, 4}};
  const std::vector<Printed> expected{{family, ComposeColour({0, 0, 1}), 0, 0},
                                      {flag, ComposeColour({0, 0, 2}), 200, 0},
                                      {u"e\u0301", ComposeColour({0, 0, 3}), 400, 0},
                                      {u"x", ComposeColour({0, 0, 4}), 600, 0}};
  EXPECT_EQ(StyledPreview(settings).printed, expected);
}

TEST(StyledPreview, AMergedRunIsPrintedFromItsFirstCell) {
  StyledSettings settings = Styled(u"ab cd");
  settings.merge = true;
  settings.gradient.stops = {{9, 9, 9}, {9, 9, 9}};
  EXPECT_EQ(StyledPreview(settings).printed,
            (std::vector<Printed>{{u"ab cd", ComposeColour({9, 9, 9}), 0, 0}}));

  // A new run starts in the cell of its first character.
  settings.text = Letters(40);
  settings.gradient.stops = {{0, 0, 0}, {0, 0, 1}};
  const std::vector<Printed> printed = StyledPreview(settings).printed;
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_EQ(printed[0].text + printed[1].text, Letters(40));
  const auto second = static_cast<int>(printed[0].text.size());  // 0-based cell of the run
  const int row = second / 38;
  EXPECT_EQ(printed[1].x, static_cast<float>(second % 38 * 200));
  EXPECT_EQ(printed[1].y, static_cast<float>(row * 200));
}

TEST(StyledPreview, ChunksTakeTheColoursOfTheirStops) {
  StyledSettings settings = Styled(u"abcde");
  settings.gradient.stops = RainbowStops();
  for (const ColourSpace space : {ColourSpace::Rgb, ColourSpace::Oklab}) {
    settings.gradient.space = space;
    const std::vector<Printed> printed = StyledPreview(settings).printed;
    ASSERT_EQ(printed.size(), 5u);
    for (std::size_t k = 0; k < printed.size(); ++k) {
      EXPECT_EQ(printed[k].colour, ComposeColour(settings.gradient.stops[k + 1])) << k;
    }
  }
}

TEST(StyledPreview, EmptyTextClearsAndDrawsNothing) {
  StyledSettings settings = Styled(u"   ");
  settings.merge = true;
  EXPECT_EQ(StyledPreview(settings).ops, (std::vector<Op>{Op::FontSizeWrite, Op::Cls}));
}

std::vector<Call> BarCalls(const GradientStops& gradient) {
  RecordingSurface surface;
  DrawGradientBar(surface, gradient);
  return surface.calls();
}

TEST(StyledGradientBar, TwoRgbStopsDrawTheWindowsBar) {
  for (const auto& [start, end] :
       {std::pair<ColourTriple, ColourTriple>{{255, 0, 255}, {0, 255, 0}},
        {{0, 0, 0}, {255, 255, 255}},
        {{18, 52, 86}, {18, 52, 86}}}) {
    RecordingSurface window;
    DrawGradientBar(window, GradientStops{{start, end}});
    const std::vector<Call> styled = BarCalls({{start, end}, ColourSpace::Rgb});
    ASSERT_EQ(styled.size(), window.calls().size());
    for (std::size_t k = 0; k < styled.size(); ++k) {
      const Call& a = styled[k];
      const Call& b = window.calls()[k];
      EXPECT_TRUE(a.op == b.op && a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d &&
                  a.colour == b.colour)
          << "call " << k;
    }
  }
}

TEST(StyledGradientBar, ColumnsRunThroughEveryStop) {
  const std::vector<ColourTriple> stops{{255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {9, 9, 9}};
  for (const ColourSpace space : {ColourSpace::Rgb, ColourSpace::Oklab}) {
    const std::vector<Call> calls = BarCalls({stops, space});
    ASSERT_EQ(calls.size(), 2u + 256);
    EXPECT_EQ(calls[0].op, Op::Cls);
    EXPECT_EQ(calls[1].op, Op::DrawWidth);
    for (std::size_t column = 0; column < 256; ++column) {
      const Call& line = calls[2 + column];
      EXPECT_EQ(line.op, Op::Line);
      EXPECT_EQ(line.a, static_cast<float>(column));
      EXPECT_EQ(line.c, static_cast<float>(column));
    }
    // 255 columns in three segments: the stops fall on columns 0, 85, 170 and 255.
    for (std::size_t k = 0; k < stops.size(); ++k) {
      EXPECT_EQ(calls[2 + 85 * k].colour, ComposeColour(stops[k])) << k;
    }
  }
  // OKLab and RGB agree on the stops, not between them.
  EXPECT_NE(BarCalls({stops, ColourSpace::Rgb})[2 + 42].colour,
            BarCalls({stops, ColourSpace::Oklab})[2 + 42].colour);
}

}  // namespace
}  // namespace huecode
