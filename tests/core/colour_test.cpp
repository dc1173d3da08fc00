#include "core/colour.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace huecode {
namespace {

struct SplitCase {
  ColourValue value;
  ColourTriple expected;
};

TEST(SplitColour, TakesTheBytesOfBbGgRr) {
  const SplitCase cases[] = {
      {0x00FF00FF, {255, 0, 255}},      {0x0000FF00, {0, 255, 0}},
      {0x00123456, {0x56, 0x34, 0x12}}, {0, {0, 0, 0}},
      {0x00FFFFFF, {255, 255, 255}},    {0x00010203, {3, 2, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitColour(c.value), c.expected) << std::hex << c.value;
    EXPECT_EQ(ComposeColour(c.expected), c.value) << std::hex << c.value;
  }
}

struct GradientCase {
  std::int16_t start;
  std::int16_t end;
  std::int32_t position;
  std::int32_t span;
  std::int16_t expected;
};

TEST(GradientComponent, RoundsHalvesToTheEvenNeighbour) {
  const GradientCase cases[] = {
      {255, 0, 1, 2, 128}, {0, 255, 1, 2, 128},  // 127.5
      {0, 1, 1, 2, 0},     {1, 0, 1, 2, 0},      // 0.5
      {2, 3, 1, 2, 2},     {3, 4, 1, 2, 4},      // 2.5 and 3.5
      {0, 3, 1, 2, 2},     {0, 5, 1, 2, 2},     {0, 7, 1, 2, 4},     {10, 0, 1, 4, 8},
      {10, 0, 3, 4, 2},  // 7.5 and 2.5 going down
      {0, 255, 1, 3, 85},  {255, 0, 1, 3, 170}, {0, 255, 2, 3, 170}, {100, 100, 7, 9, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GradientComponent(c.start, c.end, c.position, c.span), c.expected)
        << c.start << " -> " << c.end << " at " << c.position << "/" << c.span;
  }
}

TEST(GradientComponent, EndsAtStartAndEnd) {
  for (std::int16_t start : {0, 1, 127, 200, 255}) {
    for (std::int16_t end : {0, 2, 128, 254, 255}) {
      for (std::int32_t span : {1, 2, 7, 255, 1000000, std::numeric_limits<std::int32_t>::max()}) {
        EXPECT_EQ(GradientComponent(start, end, 0, span), start);
        EXPECT_EQ(GradientComponent(start, end, span, span), end);
      }
    }
  }
}

TEST(GradientComponent, LongTextsKeepExactProducts) {
  // 255 * 2^30 does not fit 32 bits; a wrapped product would give nonsense.
  constexpr std::int32_t kSpan = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(GradientComponent(0, 255, 1 << 30, kSpan), 128);
  EXPECT_EQ(GradientComponent(255, 0, 1 << 30, kSpan), 127);
  EXPECT_EQ(GradientComponent(255, 0, kSpan - 1, kSpan), 0);
}

TEST(GradientComponent, SaturatesOutsideTheSixteenBitRange) {
  EXPECT_EQ(GradientComponent(0, 255, std::numeric_limits<std::int32_t>::max(), 1),
            std::numeric_limits<std::int16_t>::max());
  EXPECT_EQ(GradientComponent(255, 0, std::numeric_limits<std::int32_t>::max(), 1),
            std::numeric_limits<std::int16_t>::min());
}

TEST(GradientColour, FiveStepsFromMagentaToGreen) {
  const ColourTriple start{255, 0, 255};
  const ColourTriple end{0, 255, 0};
  const ColourTriple expected[] = {
      {204, 51, 204}, {153, 102, 153}, {102, 153, 102}, {51, 204, 51}, {0, 255, 0}};
  for (std::int32_t position = 1; position <= 5; ++position) {
    EXPECT_EQ(GradientColour(start, end, position, 5), expected[position - 1]) << position;
  }
}

TEST(GradientColour, BarColumnsOutOf255) {
  const ColourTriple start{255, 0, 255};
  const ColourTriple end{0, 255, 0};
  const std::pair<std::int32_t, ColourTriple> cases[] = {
      {0, {255, 0, 255}},     {1, {254, 1, 254}}, {127, {128, 127, 128}},
      {128, {127, 128, 127}}, {255, {0, 255, 0}},
  };
  for (const auto& [column, colour] : cases) {
    EXPECT_EQ(GradientColour(start, end, column, 255), colour) << column;
  }
}

TEST(ColourDigits, EveryComponentValue) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  for (std::int16_t v = 0; v <= 255; ++v) {
    const std::u16string pair{kDigits[v / 16], kDigits[v % 16]};
    EXPECT_EQ(ColourDigits({v, 0, 0}).substr(0, 2), pair) << v;
    EXPECT_EQ(ColourDigits({0, v, 0}).substr(2, 2), pair) << v;
    EXPECT_EQ(ColourDigits({0, 0, v}).substr(4, 2), pair) << v;
  }
}

}  // namespace
}  // namespace huecode
