#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/colour.h"

namespace huecode {

enum class ColourSpace { Rgb, Oklab };

// The gradient every front end opens with: magenta to green.
inline constexpr ColourTriple kDefaultStart{255, 0, 255};
inline constexpr ColourTriple kDefaultEnd{0, 255, 0};

// The most stops a gradient may have: a rainbow needs six, and past a few
// dozen the segments are shorter than most texts.
inline constexpr std::size_t kMaxStops = 64;

// Where a stop sits along the gradient, in hundredths of a percent of its
// length: 0 is the start, kPositionScale the end.
inline constexpr std::int32_t kPositionScale = 10000;

// A gradient through two or more stops. With two stops in RGB it is exactly
// the window's gradient.
struct GradientStops {
  std::vector<ColourTriple> stops{kDefaultStart, kDefaultEnd};
  ColourSpace space = ColourSpace::Rgb;
  // One entry per stop, or none. A middle stop without a position sits evenly
  // between its positioned neighbours, so without any the stops are evenly
  // spaced; the first and the last stop always sit at the ends. Positions that
  // fall outside 0..kPositionScale or below an earlier one are taken as the
  // nearest allowed (see MisplacedStop).
  std::vector<std::optional<std::int32_t>> positions{};
  // From the first stop to the last at the middle, and back through the stops
  // in reverse to the first at the end.
  bool mirror = false;
};

// The index of the first middle stop whose position is outside
// 0..kPositionScale or below an earlier stop's, or nothing when all are in order.
std::optional<std::size_t> MisplacedStop(const GradientStops& gradient);

enum class PositionFault { None, NotNumber, OutOfRange };

struct PositionReading {
  std::int32_t value = 0;  // in hundredths of a percent
  PositionFault fault = PositionFault::None;
};

// A stop's position as typed, in percent: digits with at most two decimals
// and an optional '%', from 0 to 100, blanks around them allowed. A text of
// another form is not a number; a number past 100 is out of range.
PositionReading ReadStopPosition(std::string_view text);

// The same, nothing for any text that does not read.
std::optional<std::int32_t> ReadPosition(std::string_view text);

// Red, orange, yellow, green, blue, violet.
std::vector<ColourTriple> RainbowStops();

namespace detail {

struct Oklab {
  double l = 0;
  double a = 0;
  double b = 0;
};

Oklab ToOklab(ColourTriple colour);
// Rounded to the nearest 8-bit sRGB value and clamped to 0..255.
ColourTriple FromOklab(const Oklab& colour);

// Along a straight line in OKLab each linear-light RGB channel is a cubic in
// the line's parameter t: coefficients of 1, t, t^2, t^3 per channel.
using LinearRgbCurve = std::array<std::array<double, 4>, 3>;

// One segment between neighbouring stops: it runs from from/scale to
// to/scale of the gradient's length. Each segment has a scale of its own,
// so that evenly spaced stops are placed exactly.
struct SegmentPlace {
  std::int64_t from = 0;
  std::int64_t to = 0;
  std::int64_t scale = 1;
};

std::vector<SegmentPlace> PlaceSegments(const GradientStops& gradient);

// start + (end - start) * num / den, rounded half to even, exactly, for
// 0 < num < den; the same value the window's double arithmetic gives.
std::int16_t BlendExactly(std::int16_t start, std::int16_t end, std::int64_t num, std::int64_t den);
LinearRgbCurve CurveBetween(const Oklab& from, const Oklab& to);
ColourTriple EncodeCurveAt(const LinearRgbCurve& curve, double t);

}  // namespace detail

// Samples one gradient many times; the stops are converted to OKLab once.
class GradientSampler {
 public:
  explicit GradientSampler(GradientStops gradient);

  // The colour at position 0..span. Each segment between neighbouring stops
  // is a two-stop gradient of its own, positioned and rounded as the window's.
  ColourTriple at(std::int32_t position, std::int32_t span) const {
    return m_shaped ? shapedAt(position, span) : evenAt(position, span);
  }

 private:
  ColourTriple evenAt(std::int32_t position, std::int32_t span) const;
  // With positions or mirrored: the segment found by comparing fractions.
  ColourTriple shapedAt(std::int64_t position, std::int64_t span) const;

  GradientStops m_gradient;
  bool m_shaped = false;
  std::vector<detail::SegmentPlace> m_places;    // only when shaped
  std::vector<detail::LinearRgbCurve> m_curves;  // one per segment, for OKLab
};

}  // namespace huecode
