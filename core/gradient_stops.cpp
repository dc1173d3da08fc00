#include "core/gradient_stops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace huecode {

namespace detail {
namespace {

double DecodeSrgb(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// Linear light to 8-bit sRGB by search among the 255 points where the
// rounded value changes: exact, clamped by construction, and far cheaper per
// chunk than a pow.
class EncodeTable {
 public:
  EncodeTable() {
    for (std::size_t k = 0; k < m_thresholds.size(); ++k) {
      m_thresholds[k] = DecodeSrgb((static_cast<double>(k) + 0.5) / 255.0);
    }
  }
  std::int16_t encode(double linear) const {
    return static_cast<std::int16_t>(
        std::upper_bound(m_thresholds.begin(), m_thresholds.end(), linear) - m_thresholds.begin());
  }

 private:
  std::array<double, 255> m_thresholds{};
};

const EncodeTable& Encoder() {
  static const EncodeTable table;
  return table;
}

}  // namespace

// Conversion matrices published with the OKLab colour space (Björn Ottosson, 2020).
Oklab ToOklab(ColourTriple colour) {
  const double r = DecodeSrgb(colour.r / 255.0);
  const double g = DecodeSrgb(colour.g / 255.0);
  const double b = DecodeSrgb(colour.b / 255.0);
  const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
  const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
  const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
  return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
          1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
          0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

ColourTriple FromOklab(const Oklab& colour) {
  const auto cube = [](double x) { return x * x * x; };
  const double l = cube(colour.l + 0.3963377774 * colour.a + 0.2158037573 * colour.b);
  const double m = cube(colour.l - 0.1055613458 * colour.a - 0.0638541728 * colour.b);
  const double s = cube(colour.l - 0.0894841775 * colour.a - 1.2914855480 * colour.b);
  const auto& encoder = Encoder();
  return {encoder.encode(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
          encoder.encode(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
          encoder.encode(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

}  // namespace detail

std::vector<ColourTriple> RainbowStops() {
  return {{255, 0, 0}, {255, 127, 0}, {255, 255, 0}, {0, 255, 0}, {0, 0, 255}, {139, 0, 255}};
}

GradientSampler::GradientSampler(GradientStops gradient) : m_gradient(std::move(gradient)) {
  if (m_gradient.space == ColourSpace::Oklab) {
    for (const ColourTriple stop : m_gradient.stops) {
      m_oklab.push_back(detail::ToOklab(stop));
    }
  }
}

ColourTriple GradientSampler::at(std::int32_t position, std::int32_t span) const {
  const auto& stops = m_gradient.stops;
  if (stops.empty()) {
    return {};
  }
  if (stops.size() == 1 || span <= 0) {
    return stops.front();
  }
  // Scaling the position by the number of segments keeps it an integer, so
  // each segment is the same exact two-stop formula and a stop that falls on
  // a chunk comes out exactly.
  const auto segments = static_cast<std::int64_t>(stops.size() - 1);
  const std::int64_t scaled = static_cast<std::int64_t>(position) * segments;
  const std::int64_t segment = std::clamp<std::int64_t>(scaled / span, 0, segments - 1);
  const auto local = static_cast<std::int32_t>(scaled - segment * span);
  const ColourTriple from = stops[static_cast<std::size_t>(segment)];
  const ColourTriple to = stops[static_cast<std::size_t>(segment + 1)];
  if (m_gradient.space == ColourSpace::Rgb) {
    return GradientColour(from, to, local, span);
  }
  if (local == 0) {
    return from;
  }
  if (local == span) {
    return to;
  }
  const double t = static_cast<double>(local) / span;
  const detail::Oklab& a = m_oklab[static_cast<std::size_t>(segment)];
  const detail::Oklab& b = m_oklab[static_cast<std::size_t>(segment + 1)];
  return detail::FromOklab({a.l + (b.l - a.l) * t, a.a + (b.a - a.a) * t, a.b + (b.b - a.b) * t});
}

}  // namespace huecode
