#include "core/length.h"

#include "core/surrogates.h"

namespace huecode {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEuro = 0x20AC;  // GBK's one single byte beyond ASCII

// A character a GBK form cannot carry goes as the reference &#N;.
std::int64_t ReferenceBytes(char32_t c) {
  std::int64_t digits = 1;
  for (char32_t rest = c / 10; rest > 0; rest /= 10) {
    ++digits;
  }
  return 3 + digits;
}

std::int64_t Utf8Bytes(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

std::int64_t GbkBytes(char32_t c, const GbkTable* table) {
  if (c < 0x80 || c == kEuro) {
    return 1;
  }
  const bool inTable = c < 0x10000 && table && ((*table)[c >> 3] & (1u << (c & 7))) != 0;
  return inTable ? 2 : ReferenceBytes(c);
}

}  // namespace

std::int64_t MeasureLength(std::u16string_view text, const LengthMeasure& measure) {
  std::int64_t length = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    char32_t c = text[k];
    if (IsHighSurrogate(c) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
      c = CombineSurrogates(c, text[++k]);
    } else if (IsSurrogate(c)) {
      c = kReplacement;
    }
    switch (measure.unit) {
      case LengthUnit::Characters:
        length += 1;
        break;
      case LengthUnit::Utf8Bytes:
        length += Utf8Bytes(c);
        break;
      case LengthUnit::GbkBytes:
        length += GbkBytes(c, measure.gbk);
        break;
    }
  }
  return length;
}

}  // namespace huecode
