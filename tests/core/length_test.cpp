#include "core/length.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/conversion.h"

namespace huecode {
namespace {

// The bytes one character takes in an encoding by the C library's iconv, or
// nothing when the encoding has no bytes for it.
std::optional<std::size_t> EncodedBytes(char32_t c, const char* encoding) {
  const std::unique_ptr<void, int (*)(iconv_t)> cd(iconv_open(encoding, "UTF-32LE"), iconv_close);
  char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                static_cast<char>((c >> 16) & 0xFF), static_cast<char>(c >> 24)};
  char out[16];
  char* inAt = in;
  char* outAt = out;
  std::size_t inLeft = sizeof in;
  std::size_t outLeft = sizeof out;
  if (iconv(cd.get(), &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  return sizeof out - outLeft;
}

// As a GBK form sends it: a character GBK lacks goes as &#N;.
std::int64_t ReferenceLength(const std::u16string& text, const char* encoding) {
  std::int64_t bytes = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    char32_t c = text[k];
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++k] - 0xDC00);
    }
    bytes += static_cast<std::int64_t>(
        EncodedBytes(c, encoding).value_or(("&#" + std::to_string(c) + ";").size()));
  }
  return bytes;
}

const GbkTable& Gbk() {
  static const GbkTable table = [] {
    GbkTable bits{};
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if ((c < 0xD800 || c > 0xDFFF) && EncodedBytes(c, "GBK") == 2u) {
        bits[c >> 3] |= static_cast<std::uint8_t>(1u << (c & 7));
      }
    }
    return bits;
  }();
  return table;
}

TEST(Length, CountsCharactersUtf8AndGbkBytes) {
  // GBK: ASCII and the euro sign one byte, its table two, anything else a
  // numeric reference such as &#54620;. A lone surrogate is U+FFFD.
  struct Row {
    std::u16string text;
    std::int64_t characters, utf8, gbk;
  };
  const std::vector<Row> rows{{u"A", 1, 1, 1},
                              {u"中文", 2, 6, 4},
                              {u"€", 1, 3, 1},
                              {u"·。", 2, 5, 4},
                              {u"한", 1, 3, 8},
                              {u"ÿ", 1, 2, 6},
                              {u"\U0001F600", 1, 4, 9},
                              {std::u16string{0xD800} + u"A", 2, 4, 9},
                              {u"[color=#FF00FF]彩[/color]", 24, 26, 25}};
  for (const Row& row : rows) {
    EXPECT_EQ(MeasureLength(row.text, {}), row.characters);
    EXPECT_EQ(MeasureLength(row.text, {LengthUnit::Utf8Bytes}), row.utf8);
    EXPECT_EQ(MeasureLength(row.text, {LengthUnit::GbkBytes, &Gbk()}), row.gbk);
  }
}

// Every unit, against the markup written at every step and measured by iconv.
TEST(Length, FitTakesTheSmallestStepThatFitsInEveryUnit) {
  struct Row {
    std::u16string text;
    bool escape;
    std::vector<std::int64_t> limits;
  };
  const std::vector<Row> rows{
      {u"x    x       xxxx", false, {40, 63, 86, 100}},
      {u"彩色 文字 & <论坛> \U0001F600\U0001F600 board", true, {0, 80, 150, 240, 400}},
  };
  const std::vector<std::pair<LengthMeasure, const char*>> units{
      {{LengthUnit::Utf8Bytes}, "UTF-8"}, {{LengthUnit::GbkBytes, &Gbk()}, "GBK"}};
  for (const Row& row : rows) {
    StyledSettings settings;
    settings.text = row.text;
    settings.escape = row.escape;
    const StyledText text(settings);
    for (const auto& [measure, encoding] : units) {
      std::vector<std::int64_t> lengths;
      for (std::int32_t step = 1; step <= text.segments(); ++step) {
        lengths.push_back(ReferenceLength(text.markup(step), encoding));
        EXPECT_EQ(text.outputLength(step, measure), lengths.back()) << encoding << step;
      }
      for (const std::int64_t limit : row.limits) {
        const auto first = std::find_if(lengths.begin(), lengths.end(),
                                        [limit](std::int64_t length) { return length <= limit; });
        const Fit fit = FitStep(text, limit, measure);
        EXPECT_EQ(
            fit.step.value_or(0),
            first == lengths.end() ? 0 : static_cast<std::int32_t>(first - lengths.begin()) + 1)
            << encoding << limit;
        EXPECT_EQ(fit.length, first == lengths.end() ? lengths.back() : *first)
            << encoding << limit;
      }
    }
  }
}

}  // namespace
}  // namespace huecode
