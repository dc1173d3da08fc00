#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace huecode {

// One colour as the window holds it: three signed 16-bit components, 0..255.
struct ColourTriple {
  std::int16_t r = 0;
  std::int16_t g = 0;
  std::int16_t b = 0;

  friend constexpr bool operator==(const ColourTriple&, const ColourTriple&) = default;
};

// A colour as the colour dialog returns it and painting takes it: 0x00BBGGRR.
using ColourValue = std::int32_t;

constexpr ColourTriple SplitColour(ColourValue value) {
  const auto b = value / 65536;
  const auto g = (value - 65536 * b) / 256;
  const auto r = value - 65536 * b - 256 * g;
  return {static_cast<std::int16_t>(r), static_cast<std::int16_t>(g), static_cast<std::int16_t>(b)};
}

constexpr ColourValue ComposeColour(ColourTriple c) {
  return c.r + 256 * c.g + 65536 * c.b;
}

// start + (end - start) * position / span in double precision, rounded half to even.
// Results outside the 16-bit range (impossible for components 0..255 and
// 0 <= position <= span) saturate instead of wrapping.
std::int16_t GradientComponent(std::int16_t start, std::int16_t end, std::int32_t position,
                               std::int32_t span);

ColourTriple GradientColour(ColourTriple start, ColourTriple end, std::int32_t position,
                            std::int32_t span);

namespace detail {

inline constexpr std::u16string_view kHexDigits = u"0123456789ABCDEF";

// Two upper-case hexadecimal digits for the low byte of the value.
template <typename Char>
constexpr Char* WriteHexByte(Char* out, unsigned value) {
  *out++ = static_cast<Char>(kHexDigits[(value >> 4) & 0xF]);
  *out++ = static_cast<Char>(kHexDigits[value & 0xF]);
  return out;
}

// The colour digits as a chunk carries them: two upper-case digits per
// component. A component outside 0..255 (which no gradient between byte
// colours gives) would have three or more digits, and those pad to nothing.
// Returns the end of what was written, at most six units.
template <typename Char>
constexpr Char* WriteColourDigits(Char* out, ColourTriple colour) {
  for (const std::int16_t component : {colour.r, colour.g, colour.b}) {
    if (component >= 0 && component <= 255) {
      out = WriteHexByte(out, static_cast<unsigned>(component));
    }
  }
  return out;
}

// The value of one hexadecimal digit in either case, or -1.
constexpr int HexDigitValue(char32_t c) {
  if (c >= U'0' && c <= U'9') {
    return static_cast<int>(c - U'0');
  }
  if (c >= U'A' && c <= U'F') {
    return static_cast<int>(c - U'A') + 10;
  }
  if (c >= U'a' && c <= U'f') {
    return static_cast<int>(c - U'a') + 10;
  }
  return -1;
}

}  // namespace detail

// The six digits RRGGBB that a coloured chunk carries.
std::u16string ColourDigits(ColourTriple colour);

// RRGGBB, six hexadecimal digits in either case, optionally after '#'.
std::optional<ColourTriple> ReadColour(std::string_view text);

}  // namespace huecode
