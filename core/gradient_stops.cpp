#include "core/gradient_stops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

namespace huecode {

namespace detail {
namespace {

double DecodeSrgb(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// Linear light to 8-bit sRGB by comparison with the 255 points where the
// rounded value changes: exact, and clamped by construction. A coarse table
// gives the starting guess, so that a chunk costs a few comparisons, not a pow.
class EncodeTable {
 public:
  EncodeTable() {
    for (std::size_t k = 0; k < m_thresholds.size(); ++k) {
      m_thresholds[k] = DecodeSrgb((static_cast<double>(k) + 0.5) / 255.0);
    }
    for (std::size_t i = 0; i < m_guess.size(); ++i) {
      const double linear = static_cast<double>(i) / (m_guess.size() - 1);
      m_guess[i] = static_cast<std::uint8_t>(
          std::upper_bound(m_thresholds.begin(), m_thresholds.end(), linear) -
          m_thresholds.begin());
    }
  }

  std::int16_t encode(double linear) const {
    const double scaled = std::clamp(linear, 0.0, 1.0) * (m_guess.size() - 1);
    int value = m_guess[static_cast<std::size_t>(scaled)];
    while (value < 255 && linear >= m_thresholds[static_cast<std::size_t>(value)]) {
      ++value;
    }
    while (value > 0 && linear < m_thresholds[static_cast<std::size_t>(value - 1)]) {
      --value;
    }
    return static_cast<std::int16_t>(value);
  }

 private:
  std::array<double, 255> m_thresholds{};
  std::array<std::uint8_t, 4096> m_guess{};
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

namespace {

constexpr std::array<double, 3> LmsRoots(const Oklab& c) {
  return {c.l + 0.3963377774 * c.a + 0.2158037573 * c.b,
          c.l - 0.1055613458 * c.a - 0.0638541728 * c.b,
          c.l - 0.0894841775 * c.a - 1.2914855480 * c.b};
}

constexpr std::array<std::array<double, 3>, 3> kLmsToLinearRgb{{
    {4.0767416621, -3.3077115913, 0.2309699292},
    {-1.2684380046, 2.6097574011, -0.3413193965},
    {-0.0041960863, -0.7034186147, 1.7076147010},
}};

}  // namespace

ColourTriple FromOklab(const Oklab& colour) {
  std::array<double, 3> lms = LmsRoots(colour);
  for (double& x : lms) {
    x = x * x * x;
  }
  const auto& encoder = Encoder();
  std::array<std::int16_t, 3> rgb{};
  for (std::size_t channel = 0; channel < 3; ++channel) {
    const auto& row = kLmsToLinearRgb[channel];
    rgb[channel] = encoder.encode(row[0] * lms[0] + row[1] * lms[1] + row[2] * lms[2]);
  }
  return {rgb[0], rgb[1], rgb[2]};
}

LinearRgbCurve CurveBetween(const Oklab& from, const Oklab& to) {
  // Each cube root of LMS runs linearly, a + b t; its cube expands to
  // a^3 + 3a^2b t + 3ab^2 t^2 + b^3 t^3.
  const auto a = LmsRoots(from);
  const auto end = LmsRoots(to);
  std::array<std::array<double, 4>, 3> lms{};
  for (std::size_t k = 0; k < 3; ++k) {
    const double b = end[k] - a[k];
    lms[k] = {a[k] * a[k] * a[k], 3 * a[k] * a[k] * b, 3 * a[k] * b * b, b * b * b};
  }
  LinearRgbCurve curve{};
  for (std::size_t channel = 0; channel < 3; ++channel) {
    for (std::size_t power = 0; power < 4; ++power) {
      for (std::size_t k = 0; k < 3; ++k) {
        curve[channel][power] += kLmsToLinearRgb[channel][k] * lms[k][power];
      }
    }
  }
  return curve;
}

ColourTriple EncodeCurveAt(const LinearRgbCurve& curve, double t) {
  const auto& encoder = Encoder();
  std::array<std::int16_t, 3> rgb{};
  for (std::size_t channel = 0; channel < 3; ++channel) {
    const auto& c = curve[channel];
    rgb[channel] = encoder.encode(((c[3] * t + c[2]) * t + c[1]) * t + c[0]);
  }
  return {rgb[0], rgb[1], rgb[2]};
}

std::vector<SegmentPlace> PlaceSegments(const GradientStops& gradient) {
  const std::size_t n = gradient.stops.size();
  // Where each stop sits, for the stops that have a place: the ends always,
  // the middle ones as given, kept within the range and in order.
  std::vector<std::optional<std::int64_t>> placed(n);
  std::int64_t floor = 0;
  for (std::size_t k = 1; k + 1 < n && k < gradient.positions.size(); ++k) {
    if (const auto& position = gradient.positions[k]) {
      floor = std::clamp<std::int64_t>(*position, floor, kPositionScale);
      placed[k] = floor;
    }
  }
  placed.front() = 0;
  placed.back() = kPositionScale;
  std::vector<SegmentPlace> places;
  std::size_t a = 0;
  for (std::size_t b = 1; b < n; ++b) {
    if (!placed[b]) {
      continue;
    }
    // Stops a..b spread evenly over placed[a]..placed[b], scaled by b - a.
    const auto gaps = static_cast<std::int64_t>(b - a);
    const auto at = [&](std::size_t j) {
      const auto along = static_cast<std::int64_t>(j - a);
      return *placed[a] * (gaps - along) + *placed[b] * along;
    };
    for (std::size_t j = a; j < b; ++j) {
      places.push_back({at(j), at(j + 1), kPositionScale * gaps});
    }
    a = b;
  }
  return places;
}

std::int16_t BlendExactly(std::int16_t start, std::int16_t end, std::int64_t num,
                          std::int64_t den) {
  const std::int64_t product = (std::int64_t{end} - start) * num;
  std::int64_t whole = product / den;
  std::int64_t rest = product % den;
  if (rest < 0) {
    whole -= 1;
    rest += den;
  }
  const bool odd = ((start + whole) & 1) != 0;
  if (2 * rest > den || (2 * rest == den && odd)) {
    whole += 1;
  }
  return static_cast<std::int16_t>(start + whole);
}

}  // namespace detail

std::optional<std::size_t> MisplacedStop(const GradientStops& gradient) {
  std::int32_t floor = 0;
  const std::size_t n = std::min(gradient.positions.size(), gradient.stops.size());
  for (std::size_t k = 1; k + 1 < gradient.stops.size() && k < n; ++k) {
    if (const auto& position = gradient.positions[k]) {
      if (*position < floor || *position > kPositionScale) {
        return k;
      }
      floor = *position;
    }
  }
  return std::nullopt;
}

std::vector<ColourTriple> RainbowStops() {
  return {{255, 0, 0}, {255, 127, 0}, {255, 255, 0}, {0, 255, 0}, {0, 0, 255}, {139, 0, 255}};
}

GradientSampler::GradientSampler(GradientStops gradient) : m_gradient(std::move(gradient)) {
  const auto& positions = m_gradient.positions;
  m_shaped = m_gradient.mirror || std::any_of(positions.begin(), positions.end(),
                                              [](const auto& position) { return position; });
  if (m_shaped && m_gradient.stops.size() > 1) {
    m_places = detail::PlaceSegments(m_gradient);
  }
  if (m_gradient.space == ColourSpace::Oklab) {
    for (std::size_t k = 1; k < m_gradient.stops.size(); ++k) {
      m_curves.push_back(detail::CurveBetween(detail::ToOklab(m_gradient.stops[k - 1]),
                                              detail::ToOklab(m_gradient.stops[k])));
    }
  }
}

ColourTriple GradientSampler::evenAt(std::int32_t position, std::int32_t span) const {
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
  const std::int64_t segment =
      segments == 1 ? 0 : std::clamp<std::int64_t>(scaled / span, 0, segments - 1);
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
  return detail::EncodeCurveAt(m_curves[static_cast<std::size_t>(segment)], t);
}

ColourTriple GradientSampler::shapedAt(std::int64_t position, std::int64_t span) const {
  const auto& stops = m_gradient.stops;
  if (stops.empty()) {
    return {};
  }
  if (stops.size() == 1 || span <= 0) {
    return stops.front();
  }
  position = std::clamp<std::int64_t>(position, 0, span);
  if (m_gradient.mirror) {
    position = 2 * std::min(position, span - position);
  }
  // The last segment that starts at or before position / span; a segment of
  // no length is passed over, so a stop at a place shows its own colour.
  std::size_t k = 0;
  while (k + 1 < m_places.size() &&
         m_places[k + 1].from * span <= position * m_places[k + 1].scale) {
    ++k;
  }
  const detail::SegmentPlace& place = m_places[k];
  const std::int64_t num = position * place.scale - place.from * span;
  const std::int64_t den = (place.to - place.from) * span;
  if (num <= 0 && den > 0) {
    return stops[k];
  }
  if (num >= den) {
    return stops[k + 1];
  }
  const ColourTriple from = stops[k];
  const ColourTriple to = stops[k + 1];
  if (m_gradient.space == ColourSpace::Rgb) {
    return {detail::BlendExactly(from.r, to.r, num, den),
            detail::BlendExactly(from.g, to.g, num, den),
            detail::BlendExactly(from.b, to.b, num, den)};
  }
  return detail::EncodeCurveAt(m_curves[k], static_cast<double>(num) / static_cast<double>(den));
}

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  return first == std::string_view::npos
             ? std::string_view()
             : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(std::string_view part) {
  return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

PositionReading ReadStopPosition(std::string_view text) {
  text = TrimBlanks(text);
  if (text.ends_with('%')) {
    text = TrimBlanks(text.substr(0, text.size() - 1));
  }
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || whole.size() > 3 || fraction.size() > 2 || !AllDigits(whole) ||
      !AllDigits(fraction) || (point != std::string_view::npos && fraction.empty())) {
    return {0, PositionFault::NotNumber};
  }
  std::int32_t value = 0;
  for (const char c : whole) {
    value = value * 10 + (c - '0');
  }
  for (std::size_t k = 0; k < 2; ++k) {
    value = value * 10 + (k < fraction.size() ? fraction[k] - '0' : 0);
  }
  return value <= kPositionScale ? PositionReading{value, PositionFault::None}
                                 : PositionReading{0, PositionFault::OutOfRange};
}

std::optional<std::int32_t> ReadPosition(std::string_view text) {
  const PositionReading read = ReadStopPosition(text);
  return read.fault == PositionFault::None ? std::optional(read.value) : std::nullopt;
}

}  // namespace huecode
