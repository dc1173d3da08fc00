#include "core/colour.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace huecode {

std::int16_t GradientComponent(std::int16_t start, std::int16_t end, std::int32_t position,
                               std::int32_t span) {
  // Equal components take the negative sign; the difference is then 0 anyway.
  const std::int64_t sign = start >= end ? -1 : 1;
  const std::int64_t distance = std::abs(static_cast<std::int32_t>(start) - end);
  const double x = static_cast<double>(start) +
                   static_cast<double>(sign * distance * position) / static_cast<double>(span);
  // nearbyint rounds in the default mode, to nearest with halves to even:
  // 127.5 becomes 128 and 0.5 becomes 0.
  const double rounded = std::nearbyint(x);
  if (!(rounded >= std::numeric_limits<std::int16_t>::min())) {
    return std::numeric_limits<std::int16_t>::min();
  }
  if (rounded > std::numeric_limits<std::int16_t>::max()) {
    return std::numeric_limits<std::int16_t>::max();
  }
  return static_cast<std::int16_t>(rounded);
}

ColourTriple GradientColour(ColourTriple start, ColourTriple end, std::int32_t position,
                            std::int32_t span) {
  return {GradientComponent(start.r, end.r, position, span),
          GradientComponent(start.g, end.g, position, span),
          GradientComponent(start.b, end.b, position, span)};
}

std::u16string ColourDigits(ColourTriple colour) {
  std::u16string digits(6, u'\0');
  digits.resize(
      static_cast<std::size_t>(detail::WriteColourDigits(digits.data(), colour) - digits.data()));
  return digits;
}

std::optional<ColourTriple> ReadColour(std::string_view text) {
  if (!text.empty() && text.front() == '#') {
    text.remove_prefix(1);
  }
  if (text.size() != 6) {
    return std::nullopt;
  }
  std::int16_t components[3] = {};
  for (std::size_t k = 0; k < 3; ++k) {
    const int high = detail::HexDigitValue(static_cast<unsigned char>(text[2 * k]));
    const int low = detail::HexDigitValue(static_cast<unsigned char>(text[2 * k + 1]));
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    components[k] = static_cast<std::int16_t>(high * 16 + low);
  }
  return ColourTriple{components[0], components[1], components[2]};
}

}  // namespace huecode
