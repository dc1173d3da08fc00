#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace huecode {

// The units a board's length limit counts: characters (a surrogate pair is
// one), UTF-8 bytes, or GBK bytes as a browser posting a GBK form sends them.
enum class LengthUnit { Characters, Utf8Bytes, GbkBytes };

// Which code points of the Basic Multilingual Plane GBK writes in two bytes,
// one bit each (bit c & 7 of byte c >> 3). The core carries no encoding
// tables: a front end fills this from its platform's own GBK decoder.
using GbkTable = std::array<std::uint8_t, 8192>;

// A length rule: the unit, and for GBK bytes the table (none counts every
// character beyond ASCII as a numeric reference).
struct LengthMeasure {
  LengthUnit unit = LengthUnit::Characters;
  const GbkTable* gbk = nullptr;
};

// The length of a text in the measure's unit. Every unit adds up character
// by character, so the length of a whole is the sum of its pieces' lengths
// as long as no piece splits a surrogate pair. A lone surrogate counts as
// U+FFFD, which is what leaves the page for it.
std::int64_t MeasureLength(std::u16string_view text, const LengthMeasure& measure);

}  // namespace huecode
