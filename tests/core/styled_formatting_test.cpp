#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "core/dialects.h"

namespace huecode {
namespace {

// Red to blue; options: m merge, e escape, g a green stop between, 1 red
// only, p the ends on the first and last stop.
// Styles: b bold, i italic, u underline, s strikethrough.
struct Row {
  std::string_view dialect, styles, options;
  std::u16string_view text;
  std::int32_t step;
  std::u16string_view markup;
};

const Row kRows[] = {
    {"html", "b", "", u"ab", 1, u"<b><font color=800080>a</font><font color=0000FF>b</font></b>"},
    {"html", "bius", "", u"a b", 1,
     u"<b><i><u><s><font color=AA0055>a</font> <font color=0000FF>b</font></s></u></i></b>"},
    {"html", "b", "", u"\t", 1, u"\t"},
    {"ubb", "b", "p", u"ab", 1, u"[b][color=FF0000]a[/color][color=0000FF]b[/color][/b]"},
    {"ubb", "is", "", u"\ta\n", 1, u"\t[i][s][color=5500AA]a[/color][/s][/i]\n"},
    {"bbcode", "u", "m1", u"ab c", 1, u"[u][color=#FF0000]ab c[/color][/u]"},
    {"span", "bus", "e", u"<b", 1,
     u"<span style=\"color:#800080;font-weight:bold;text-decoration:underline line-through\">&lt;"
     u"</span><span style=\"color:#0000FF;font-weight:bold;text-decoration:underline "
     u"line-through\">b</span>"},
    {"span", "s", "", u"a", 1,
     u"<span style=\"color:#0000FF;text-decoration:line-through\">a</span>"},
    {"minimessage", "bi", "", u"abc", 2, u"<bold><italic><#AA0055>ab<#0000FF>c</italic></bold>"},
    {"ampersand", "bu", "g", u"a b", 1, u"&#55AA00&l&na &#0000FF&l&nb"},
    {"ampersand", "bius", "m1", u"ab", 1, u"&#FF0000&l&o&n&mab"},
};

TEST(StyledFormatting, EachDialectWritesItsCodesNestedAndCountsThem) {
  for (const Row& row : kRows) {
    StyledSettings settings;
    settings.text = std::u16string(row.text);
    settings.markup = *FindDialect(row.dialect);
    const auto has = [](std::string_view letters, char letter) {
      return letters.find(letter) != std::string_view::npos;
    };
    settings.styles = {has(row.styles, 'b'), has(row.styles, 'i'), has(row.styles, 'u'),
                       has(row.styles, 's')};
    settings.merge = has(row.options, 'm');
    settings.escape = has(row.options, 'e');
    settings.endpoints = has(row.options, 'p');
    settings.gradient.stops = {{255, 0, 0}, {0, 0, 255}};
    if (has(row.options, 'g')) {
      settings.gradient.stops.insert(settings.gradient.stops.begin() + 1, {0, 255, 0});
    }
    if (has(row.options, '1')) {
      settings.gradient.stops.back() = {255, 0, 0};
    }
    const StyledText text(settings);
    const std::u16string markup = text.markup(row.step);
    EXPECT_EQ(markup, row.markup) << row.dialect;
    EXPECT_EQ(text.stats(row.step).outputCharacters, CountCharacters(markup)) << row.dialect;
  }
}

// a + (b - a) * num / den in whole numbers, halves to the even neighbour.
std::int16_t ExactComponent(std::int64_t a, std::int64_t b, std::int64_t num, std::int64_t den) {
  const std::int64_t twice = 2 * (a * den + (b - a) * num);
  std::int64_t q = twice / (2 * den);
  const std::int64_t rest = twice - q * 2 * den;
  q += rest > den || (rest == den && q % 2 != 0);
  return static_cast<std::int16_t>(q);
}

TEST(StyledFormatting, EndpointsPlaceColouredChunksBetweenTheFirstAndLastStop) {
  std::mt19937 rng(16);
  for (int round = 0; round < 3000; ++round) {
    StyledSettings settings;
    for (int k = static_cast<int>(rng() % 24); k > 0; --k) {
      settings.text += u"ab \t\n"[rng() % 5];
    }
    settings.step = static_cast<std::int32_t>(1 + rng() % 3);
    settings.endpoints = true;
    settings.gradient.stops.resize(2 + rng() % 3);
    for (ColourTriple& stop : settings.gradient.stops) {
      stop = SplitColour(static_cast<ColourValue>(rng() % 0x1000000));
    }
    const StyledText styled(settings);
    const auto step = static_cast<std::size_t>(styled.step());
    const std::u16string_view trimmed = TrimSpaces(settings.text);
    std::vector<std::int64_t> starts;  // of the coloured chunks, c1 < ... < cm
    for (std::size_t at = 0; at < trimmed.size(); at += step) {
      if (!IsBareChunk(trimmed.substr(at, step))) {
        starts.push_back(static_cast<std::int64_t>(at));
      }
    }
    std::vector<ColourTriple> expected;
    const auto& stops = settings.gradient.stops;
    const auto segments = static_cast<std::int64_t>(stops.size() - 1);
    for (const std::int64_t start : starts) {
      // (ck - c1) / (cm - c1) along the stops, one coloured chunk at the first.
      const std::int64_t den = std::max<std::int64_t>(starts.back() - starts.front(), 1);
      const std::int64_t num = (start - starts.front()) * segments;
      const std::int64_t segment = std::min(num / den, segments - 1);
      const ColourTriple from = stops[static_cast<std::size_t>(segment)];
      const ColourTriple to = stops[static_cast<std::size_t>(segment + 1)];
      const std::int64_t local = num - segment * den;
      expected.push_back({ExactComponent(from.r, to.r, local, den),
                          ExactComponent(from.g, to.g, local, den),
                          ExactComponent(from.b, to.b, local, den)});
    }
    std::vector<ColourTriple> written;
    styled.forEachChunk(styled.step(), [&](const StyledChunk& chunk) {
      if (chunk.coloured) {
        written.push_back(chunk.colour);
      }
    });
    ASSERT_EQ(written, expected) << round;
  }
}

}  // namespace
}  // namespace huecode
