#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/conversion.h"
#include "preview/previews.h"
#include "recording_surface.h"
#include "tests/preview/preview_of.h"
#include "tests/support/reference.h"

namespace huecode {
namespace {

using testing::Call;
using testing::Op;
using testing::Printed;
using testing::RecordingSurface;

constexpr ColourTriple kMagenta{255, 0, 255};
constexpr ColourTriple kGreen{0, 255, 0};

ConversionSettings Settings(std::u16string text, std::u16string step) {
  ConversionSettings settings;
  settings.text = std::move(text);
  settings.stepText = std::move(step);
  settings.start = kMagenta;
  settings.end = kGreen;
  return settings;
}

std::vector<Printed> Preview(std::u16string text, std::u16string step,
                             RecordingSurface surface = RecordingSurface()) {
  test::DrawPreviewOf(surface, Settings(std::move(text), std::move(step)));
  return surface.printed();
}

ColourValue Rgb(std::int16_t r, std::int16_t g, std::int16_t b) {
  return ComposeColour({r, g, b});
}

std::u16string Letters(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) {
    text += static_cast<char16_t>(u'a' + i % 26);
  }
  return text;
}

TEST(EffectPreview, SetsTheFontSizeAndClearsBeforeTheFirstChunk) {
  RecordingSurface surface;
  test::DrawPreviewOf(surface, Settings(u"abc", u"1"));
  const auto& calls = surface.calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].op, Op::FontSizeWrite);
  EXPECT_EQ(calls[0].a, 10.0f);
  EXPECT_EQ(calls[1].op, Op::Cls);
  // Each chunk: the size is read, then colour, x and y are set, then it is printed.
  const std::vector<Op> chunk{Op::FontSizeRead, Op::ForeColor, Op::CurrentX, Op::CurrentY,
                              Op::Print};
  ASSERT_EQ(calls.size(), 2u + 3 * chunk.size());
  for (std::size_t i = 2; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].op, chunk[(i - 2) % chunk.size()]) << "call " << i;
  }
}

TEST(EffectPreview, EmptyOrBlankTextClearsAndDrawsNothing) {
  for (const std::u16string text : {u"", u" ", u"      "}) {
    RecordingSurface surface;
    test::DrawPreviewOf(surface, Settings(text, u"3"));
    ASSERT_EQ(surface.calls().size(), 2u);
    EXPECT_EQ(surface.calls()[0].op, Op::FontSizeWrite);
    EXPECT_EQ(surface.calls()[1].op, Op::Cls);
  }
}

TEST(EffectPreview, ThreeLettersAtStepOneStandInConsecutiveCells) {
  const std::vector<Printed> expected{{u"a", Rgb(170, 85, 170), 0, 0},
                                      {u"b", Rgb(85, 170, 85), 200, 0},
                                      {u"c", Rgb(0, 255, 0), 400, 0}};
  EXPECT_EQ(Preview(u"abc", u"1"), expected);
  EXPECT_EQ(Preview(u"  abc ", u"1"), expected) << "outer spaces are trimmed as in the markup";
}

TEST(EffectPreview, FourCharactersAtStepThreeMakeTwoChunks) {
  const std::vector<Printed> expected{{u"abc", Rgb(191, 64, 191), 0, 0},
                                      {u"d", Rgb(0, 255, 0), 600, 0}};
  EXPECT_EQ(Preview(u"abcd", u"3"), expected);
}

TEST(EffectPreview, UnusableStepsGiveOneChunkPerCharacter) {
  for (const std::u16string step : {u"", u"0", u"4", u"99", u"-2", u"abc", u"99999999999"}) {
    const auto printed = Preview(u"abcd", step);
    ASSERT_EQ(printed.size(), 4u) << "step text of " << step.size() << " units";
    for (std::size_t i = 0; i < printed.size(); ++i) {
      EXPECT_EQ(printed[i].text, std::u16string(1, u"abcd"[i]));
      EXPECT_EQ(printed[i].x, 200.0f * i);
    }
  }
}

TEST(EffectPreview, SingleCharacterIsDrawnAtTheOriginInTheEndColour) {
  for (const std::u16string step : {u"", u"0", u"1", u"7", u"-3"}) {
    const std::vector<Printed> expected{{u"x", Rgb(0, 255, 0), 0, 0}};
    EXPECT_EQ(Preview(u"x", step), expected);
  }
}

struct CellCase {
  std::int32_t index;
  float x;
  float y;
};

TEST(EffectPreview, CharactersWrapAfterThirtyEightCells) {
  const auto printed = Preview(Letters(100), u"1");
  ASSERT_EQ(printed.size(), 100u);
  for (const CellCase& cell : {CellCase{1, 0, 0}, CellCase{38, 7400, 0}, CellCase{39, 0, 200},
                               CellCase{76, 7400, 200}, CellCase{77, 0, 400}}) {
    EXPECT_EQ(printed[cell.index - 1].x, cell.x) << "index " << cell.index;
    EXPECT_EQ(printed[cell.index - 1].y, cell.y) << "index " << cell.index;
  }
}

TEST(EffectPreview, ChunkNearTheRowEndRunsOnAndTheNextKeepsItsOwnCell) {
  const std::u16string text = Letters(45);
  const auto printed = Preview(text, u"5");
  ASSERT_EQ(printed.size(), 9u);
  EXPECT_EQ(printed[7],
            (Printed{text.substr(35, 5), ComposeColour(GradientColour(kMagenta, kGreen, 36, 45)),
                     7000, 0}));
  EXPECT_EQ(printed[8].text, text.substr(40, 5));
  EXPECT_EQ(printed[8].x, 400.0f) << "index 41 is column 3 of row 1";
  EXPECT_EQ(printed[8].y, 200.0f);
}

TEST(EffectPreview, LineBreaksArePrintedInPlaceOnTheSameRow) {
  const auto printed = Preview(u"ab\r\ncd", u"1");
  const std::u16string texts[] = {u"a", u"b", u"\r", u"\n", u"c", u"d"};
  ASSERT_EQ(printed.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(printed[i].text, texts[i]);
    EXPECT_EQ(printed[i].x, 200.0f * i);
    EXPECT_EQ(printed[i].y, 0.0f);
  }
}

TEST(EffectPreview, BlankChunksArePrintedInTheirColourToo) {
  const auto printed = Preview(u"a \tb", u"1");
  ASSERT_EQ(printed.size(), 4u);
  EXPECT_EQ(printed[1], (Printed{u" ", Rgb(128, 128, 128), 200, 0}));
  EXPECT_EQ(printed[2].text, u"\t");
}

struct SizeCase {
  float reported;
  std::int32_t column;
  float x;
};

TEST(EffectPreview, ColumnsFollowTheReportedFontSizeRoundedHalfToEven) {
  for (const SizeCase& c :
       {SizeCase{9.75f, 2, 195}, SizeCase{9.75f, 38, 7215}, SizeCase{8.625f, 2, 172},
        SizeCase{8.625f, 3, 345}, SizeCase{8.625f, 4, 518}, SizeCase{12.0f, 38, 8880}}) {
    RecordingSurface surface;
    surface.RealiseFontSizeAs(c.reported);
    const auto printed = Preview(Letters(40), u"1", surface);
    ASSERT_EQ(printed.size(), 40u);
    EXPECT_EQ(printed[c.column - 1].x, c.x) << c.reported << " pt, column " << c.column;
  }
}

TEST(EffectPreview, SurrogatePairIsOneCharacterInOneCell) {
  const std::u16string face = u"\U0001F600";
  const std::vector<Printed> one{{u"a", Rgb(170, 85, 170), 0, 0},
                                 {face, Rgb(85, 170, 85), 200, 0},
                                 {u"b", Rgb(0, 255, 0), 400, 0}};
  EXPECT_EQ(Preview(u"a" + face + u"b", u"1"), one);

  const std::vector<Printed> two{{face + face, Rgb(170, 85, 170), 0, 0},
                                 {face, Rgb(0, 255, 0), 400, 0}};
  EXPECT_EQ(Preview(face + face + face, u"2"), two);
}

struct StopCase {
  float scaleHeight;
  std::size_t printed;
};

TEST(EffectPreview, StopsAtTheFirstChunkStartingBelowTheSurface) {
  constexpr std::size_t kRow = 38;
  for (const StopCase& c : {StopCase{2115, 11 * kRow}, StopCase{2200, 11 * kRow},
                            StopCase{2201, 12 * kRow}, StopCase{150, kRow}, StopCase{0, 0}}) {
    const auto printed = Preview(std::u16string(1000, u'x'), u"1", RecordingSurface(c.scaleHeight));
    EXPECT_EQ(printed.size(), c.printed) << "height " << c.scaleHeight;
  }
}

TEST(EffectPreview, RowsPastTheSixteenBitLimitKeepTheirPlace) {
  const auto printed = Preview(std::u16string(7000, u'x'), u"1", RecordingSurface(1e9f));
  ASSERT_EQ(printed.size(), 7000u);
  EXPECT_EQ(printed[6231].y, 163 * 200.0f);
  EXPECT_EQ(printed[6232].y, 164 * 200.0f) << "index 6233 no longer fits 16 bits";
  EXPECT_EQ(printed[6999].y, 184 * 200.0f);
}

// Against the plain restatement of the rules: the chunks of the trimmed
// text, blank ones too, each in the colour of its position.
TEST(EffectPreview, DrawsTheReferenceChunksInTheirColours) {
  const std::u16string texts[] = {
      u"Hello, world! 你好，世界",
      u"  a \t b\r\nc  d   e ",
      u"\U0001F600x\U0001F601y\U0001F602z \U0001F603",
      u"abcdefghijklmnopqrstuvwxyz0123456789",
  };
  // Each step text with the whole number the step box reads it as.
  const std::pair<std::u16string, std::int64_t> steps[] = {
      {u"", 0}, {u"1", 1}, {u"2", 2}, {u"3", 3}, {u"5", 5}, {u"7", 7}, {u"2.5", 2}, {u"1 0", 10}};
  const reference::ReferenceColour start{0x12, 0xEE, 0x40};
  const reference::ReferenceColour end{0xF0, 0x08, 0x99};
  for (const std::u16string& text : texts) {
    const std::u16string trimmed = reference::TrimOuterSpaces(text);
    const std::int64_t n = reference::CharacterCount(trimmed);
    for (const auto& [step, number] : steps) {
      ConversionSettings settings = Settings(text, step);
      settings.start = {0x12, 0xEE, 0x40};
      settings.end = {0xF0, 0x08, 0x99};
      RecordingSurface surface(1e9f);
      test::DrawPreviewOf(surface, settings);
      const auto chunks = reference::ReferenceChunks(trimmed, reference::ReferenceStep(number, n));
      const auto& printed = surface.printed();
      ASSERT_EQ(printed.size(), chunks.size());
      for (std::size_t k = 0; k < chunks.size(); ++k) {
        EXPECT_EQ(printed[k].text, chunks[k].text);
        EXPECT_EQ(printed[k].colour, reference::ReferencePacked(start, end, chunks[k].position, n));
      }
    }
  }
}

}  // namespace
}  // namespace huecode
