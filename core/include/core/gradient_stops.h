#pragma once

#include <array>
#include <cstdint>
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

// A gradient through two or more evenly spaced stops. With two stops in RGB
// it is exactly the window's gradient.
struct GradientStops {
  std::vector<ColourTriple> stops{kDefaultStart, kDefaultEnd};
  ColourSpace space = ColourSpace::Rgb;
};

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
LinearRgbCurve CurveBetween(const Oklab& from, const Oklab& to);
ColourTriple EncodeCurveAt(const LinearRgbCurve& curve, double t);

}  // namespace detail

// Samples one gradient many times; the stops are converted to OKLab once.
class GradientSampler {
 public:
  explicit GradientSampler(GradientStops gradient);

  // The colour at position 0..span. Each segment between neighbouring stops
  // is a two-stop gradient of its own, positioned and rounded as the window's.
  ColourTriple at(std::int32_t position, std::int32_t span) const;

 private:
  GradientStops m_gradient;
  std::vector<detail::LinearRgbCurve> m_curves;  // one per segment, for OKLab
};

}  // namespace huecode
