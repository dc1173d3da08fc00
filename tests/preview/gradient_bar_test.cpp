#include <gtest/gtest.h>

#include "preview/previews.h"
#include "recording_surface.h"

namespace huecode {
namespace {

using testing::Call;
using testing::Op;
using testing::RecordingSurface;

std::vector<Call> Lines(const RecordingSurface& surface) {
  std::vector<Call> lines;
  for (const Call& call : surface.calls()) {
    if (call.op == Op::Line) {
      lines.push_back(call);
    }
  }
  return lines;
}

TEST(GradientBar, ClearsThenDrawsOneVerticalLinePerColumnLeftToRight) {
  RecordingSurface surface;
  DrawGradientBar(surface, GradientStops{{{255, 0, 255}, {0, 255, 0}}});
  const auto& calls = surface.calls();
  ASSERT_EQ(calls.size(), 2u + 256u);
  EXPECT_EQ(calls[0].op, Op::Cls);
  EXPECT_EQ(calls[1].op, Op::DrawWidth);
  EXPECT_EQ(calls[1].a, 1.0f);
  for (int column = 0; column <= 255; ++column) {
    const Call& line = calls[2 + column];
    ASSERT_EQ(line.op, Op::Line);
    EXPECT_EQ(line.a, static_cast<float>(column));
    EXPECT_EQ(line.b, 0.0f);
    EXPECT_EQ(line.c, static_cast<float>(column));
    EXPECT_EQ(line.d, 10.0f);
  }
}

struct ColumnCase {
  ColourTriple start;
  ColourTriple end;
  int column;
  ColourTriple expected;
};

class GradientBarColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(GradientBarColumns, ColumnHasTheGradientColour) {
  const ColumnCase& c = GetParam();
  RecordingSurface surface;
  DrawGradientBar(surface, GradientStops{{c.start, c.end}});
  const auto lines = Lines(surface);
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(SplitColour(lines[c.column].colour), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    OpeningColours, GradientBarColumns,
    ::testing::Values(ColumnCase{{255, 0, 255}, {0, 255, 0}, 0, {255, 0, 255}},
                      ColumnCase{{255, 0, 255}, {0, 255, 0}, 1, {254, 1, 254}},
                      ColumnCase{{255, 0, 255}, {0, 255, 0}, 127, {128, 127, 128}},
                      ColumnCase{{255, 0, 255}, {0, 255, 0}, 128, {127, 128, 127}},
                      ColumnCase{{255, 0, 255}, {0, 255, 0}, 255, {0, 255, 0}}));

INSTANTIATE_TEST_SUITE_P(
    OtherColours, GradientBarColumns,
    ::testing::Values(ColumnCase{{0x56, 0x34, 0x12}, {0, 0, 0}, 0, {0x56, 0x34, 0x12}},
                      ColumnCase{{0x56, 0x34, 0x12}, {0, 0, 0}, 255, {0, 0, 0}},
                      ColumnCase{{0, 0, 0}, {255, 255, 255}, 1, {1, 1, 1}},
                      ColumnCase{{10, 200, 30}, {250, 20, 30}, 255, {250, 20, 30}},
                      ColumnCase{{10, 200, 30}, {250, 20, 30}, 51, {58, 164, 30}}));

TEST(GradientBar, EqualColoursGiveOneColourThroughout) {
  RecordingSurface surface;
  DrawGradientBar(surface, GradientStops{{{12, 34, 56}, {12, 34, 56}}});
  for (const Call& line : Lines(surface)) {
    EXPECT_EQ(line.colour, ComposeColour({12, 34, 56}));
  }
}

}  // namespace
}  // namespace huecode
