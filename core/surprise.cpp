#include "core/surprise.h"

#include <cmath>
#include <numbers>

#include "core/gradient_stops.h"

namespace huecode {

namespace {

// Whether the colour lies inside sRGB before rounding: each linear channel
// of the straight line from it to itself is its constant term.
bool InGamut(const detail::Oklab& colour) {
  const detail::LinearRgbCurve curve = detail::CurveBetween(colour, colour);
  for (const auto& channel : curve) {
    if (channel[0] < -1e-9 || channel[0] > 1 + 1e-9) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<ColourTriple> HueCircle(double lightness, double chroma, std::size_t hues) {
  std::vector<ColourTriple> circle;
  for (std::size_t k = 0; k < hues; ++k) {
    const double angle = 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(hues);
    const auto at = [&](double c) {
      return detail::Oklab{lightness, c * std::cos(angle), c * std::sin(angle)};
    };
    // The largest chroma up to the asked one that sRGB shows, by bisection.
    double low = 0;
    double high = chroma;
    if (!InGamut(at(high))) {
      for (int round = 0; round < 30; ++round) {
        const double middle = (low + high) / 2;
        (InGamut(at(middle)) ? low : high) = middle;
      }
      high = low;
    }
    circle.push_back(detail::FromOklab(at(high)));
  }
  return circle;
}

}  // namespace huecode
