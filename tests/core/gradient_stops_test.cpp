#include "core/gradient_stops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string_view>
#include <tuple>

namespace huecode {
namespace {

constexpr ColourTriple kMagenta{255, 0, 255};
constexpr ColourTriple kGreen{0, 255, 0};

TEST(GradientStops, TwoRgbStopsAreTheWindowsGradient) {
  const GradientSampler sampler(GradientStops{{kMagenta, kGreen}, ColourSpace::Rgb});
  for (const std::int32_t span : {1, 2, 5, 7, 255, 1000}) {
    for (std::int32_t position = 0; position <= span; ++position) {
      ASSERT_EQ(sampler.at(position, span), GradientColour(kMagenta, kGreen, position, span))
          << position << "/" << span;
    }
  }
}

TEST(ReadStopPosition, PercentWithTwoDecimalsOrTheReason) {
  const std::tuple<std::string_view, std::int32_t, PositionFault> cases[] = {
      {"25", 2500, PositionFault::None},        {" 12.5 % ", 1250, PositionFault::None},
      {"12.5%", 1250, PositionFault::None},     {"0", 0, PositionFault::None},
      {"100", 10000, PositionFault::None},      {"33.33", 3333, PositionFault::None},
      {"100.01", 0, PositionFault::OutOfRange}, {"999", 0, PositionFault::OutOfRange},
      {"1000", 0, PositionFault::NotNumber},    {"-1", 0, PositionFault::NotNumber},
      {"33.333", 0, PositionFault::NotNumber},  {"half", 0, PositionFault::NotNumber},
      {"5.", 0, PositionFault::NotNumber},      {".5", 0, PositionFault::NotNumber},
      {"%", 0, PositionFault::NotNumber},       {"", 0, PositionFault::NotNumber},
      {"1 0", 0, PositionFault::NotNumber},     {"50%%", 0, PositionFault::NotNumber},
  };
  for (const auto& [text, value, fault] : cases) {
    const PositionReading read = ReadStopPosition(text);
    EXPECT_EQ(read.fault, fault) << text;
    EXPECT_EQ(read.value, value) << text;
    EXPECT_EQ(ReadPosition(text),
              fault == PositionFault::None ? std::optional(value) : std::nullopt)
        << text;
  }
}

struct StopCase {
  std::vector<ColourTriple> stops;
  std::int32_t span;
  std::int32_t position;
  ColourTriple expected;
};

const ColourTriple kRed{255, 0, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0};

TEST(GradientStops, StopsLandExactlyOnTheirPositionsInEverySpace) {
  const StopCase cases[] = {
      {{kRed, kBlue}, 10, 0, kRed},
      {{kRed, kBlue}, 10, 10, kBlue},
      {{kRed, kWhite, kBlue}, 10, 5, kWhite},  // one via stop, in the middle
      {{kRed, kWhite, kBlue}, 10, 10, kBlue},
      {{kRed, kWhite, kBlue}, 9, 9, kBlue},
      {{kRed, kWhite, kBlack, kBlue, kRed}, 8, 2, kWhite},  // three via stops
      {{kRed, kWhite, kBlack, kBlue, kRed}, 8, 4, kBlack},
      {{kRed, kWhite, kBlack, kBlue, kRed}, 8, 6, kBlue},
      {{kRed, kWhite, kBlack, kBlue, kRed}, 8, 8, kRed},
  };
  for (const ColourSpace space : {ColourSpace::Rgb, ColourSpace::Oklab}) {
    for (const auto& c : cases) {
      EXPECT_EQ(GradientSampler(GradientStops{c.stops, space}).at(c.position, c.span), c.expected)
          << c.stops.size() << " stops at " << c.position << "/" << c.span;
    }
  }
}

TEST(GradientStops, EachRgbSegmentIsATwoStopGradient) {
  const StopCase cases[] = {
      {{kRed, kWhite, kBlue}, 4, 1, {255, 128, 128}},  // 127.5 rounds to even 128
      {{kRed, kWhite, kBlue}, 4, 3, {128, 128, 255}},
      {{kRed, kWhite, kBlue}, 3, 1, {255, 170, 170}},  // 2/3 of the way into the first segment
      {{kRed, kWhite, kBlue}, 3, 2, {170, 170, 255}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GradientSampler(GradientStops{c.stops, ColourSpace::Rgb}).at(c.position, c.span),
              c.expected)
        << c.position << "/" << c.span;
  }
}

double Chroma(ColourTriple c) {
  const auto lab = detail::ToOklab(c);
  return std::hypot(lab.a, lab.b);
}

TEST(GradientStops, OklabMidpointOfMagentaToGreenIsNotGrey) {
  const GradientSampler rgb(GradientStops{{kMagenta, kGreen}, ColourSpace::Rgb});
  const GradientSampler oklab(GradientStops{{kMagenta, kGreen}, ColourSpace::Oklab});
  EXPECT_EQ(rgb.at(1, 2), (ColourTriple{128, 128, 128}));
  // The straight OKLab line between these near-complementary hues passes
  // close to the neutral axis, yet clearly off it, where RGB's lands on it.
  EXPECT_LT(Chroma(rgb.at(1, 2)), 0.001);
  EXPECT_GT(Chroma(oklab.at(1, 2)), 0.015);
}

TEST(GradientStops, OklabLightnessOfBlackToWhiteNeverFalls) {
  const GradientSampler oklab(GradientStops{{{0, 0, 0}, {255, 255, 255}}, ColourSpace::Oklab});
  ColourTriple previous = oklab.at(0, 255);
  EXPECT_EQ(previous, (ColourTriple{0, 0, 0}));
  for (std::int32_t position = 1; position <= 255; ++position) {
    const ColourTriple colour = oklab.at(position, 255);
    EXPECT_GE(detail::ToOklab(colour).l, detail::ToOklab(previous).l) << position;
    EXPECT_TRUE(colour.r == colour.g && colour.g == colour.b) << position;
    previous = colour;
  }
  EXPECT_EQ(previous, (ColourTriple{255, 255, 255}));
}

TEST(GradientStops, OklabRoundTripsEverySrgbLevel) {
  for (std::int16_t v = 0; v <= 255; ++v) {
    for (const ColourTriple c : {ColourTriple{v, 0, 0}, ColourTriple{0, v, 0},
                                 ColourTriple{0, 0, v}, ColourTriple{v, v, v}}) {
      ASSERT_EQ(detail::FromOklab(detail::ToOklab(c)), c) << v;
    }
  }
}

TEST(GradientStops, OklabCurveMatchesConvertingEachPointOnTheLine) {
  const std::pair<ColourTriple, ColourTriple> pairs[] = {
      {kMagenta, kGreen}, {kBlack, kWhite}, {kRed, kBlue}, {{10, 99, 221}, {255, 240, 0}}};
  for (const auto& [from, to] : pairs) {
    const detail::Oklab a = detail::ToOklab(from);
    const detail::Oklab b = detail::ToOklab(to);
    const detail::LinearRgbCurve curve = detail::CurveBetween(a, b);
    for (int k = 0; k <= 997; ++k) {
      const double t = k / 997.0;
      const detail::Oklab point{a.l + (b.l - a.l) * t, a.a + (b.a - a.a) * t,
                                a.b + (b.b - a.b) * t};
      ASSERT_EQ(detail::EncodeCurveAt(curve, t), detail::FromOklab(point)) << k;
    }
  }
}

TEST(GradientStops, OklabResultsAreClampedToBytes) {
  const detail::Oklab outOfGamut{1.2, 0.4, -0.4};
  const ColourTriple c = detail::FromOklab(outOfGamut);
  for (const std::int16_t component : {c.r, c.g, c.b}) {
    EXPECT_GE(component, 0);
    EXPECT_LE(component, 255);
  }
}

}  // namespace
}  // namespace huecode
