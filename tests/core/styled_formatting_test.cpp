#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "core/dialects.h"

namespace huecode {
namespace {

constexpr Styles kBold{true, false, false, false};
constexpr Styles kAll{true, true, true, true};

// Red to blue unless a row says otherwise; a third stop of green between.
struct Row {
  std::string_view dialect;
  Styles styles;
  std::u16string_view text;
  std::int32_t step;
  bool merge;
  bool escape;
  bool viaGreen;
  bool oneColour;
  std::u16string_view markup;
};

const Row kRows[] = {
    {"html", kBold, u"ab", 1, false, false, false, false,
     u"<b><font color=800080>a</font><font color=0000FF>b</font></b>"},
    {"html", kAll, u"a b", 1, false, false, false, false,
     u"<b><i><u><s><font color=AA0055>a</font> <font color=0000FF>b</font></s></u></i></b>"},
    {"ubb",
     {false, true, false, true},
     u"\ta\n",
     1,
     false,
     false,
     false,
     false,
     u"\t[i][s][color=5500AA]a[/color][/s][/i]\n"},
    {"bbcode",
     {false, false, true, false},
     u"ab c",
     1,
     true,
     false,
     false,
     true,
     u"[u][color=#FF0000]ab c[/color][/u]"},
    {"span",
     {true, false, true, true},
     u"<b",
     1,
     false,
     true,
     false,
     false,
     u"<span style=\"color:#800080;font-weight:bold;text-decoration:underline line-through\">&lt;"
     u"</span><span style=\"color:#0000FF;font-weight:bold;text-decoration:underline "
     u"line-through\">b</span>"},
    {"span",
     {false, false, false, true},
     u"a",
     1,
     false,
     false,
     false,
     false,
     u"<span style=\"color:#0000FF;text-decoration:line-through\">a</span>"},
    {"minimessage",
     {true, true, false, false},
     u"abc",
     2,
     false,
     false,
     false,
     false,
     u"<bold><italic><#AA0055>ab<#0000FF>c</italic></bold>"},
    {"ampersand",
     {true, false, true, false},
     u"a b",
     1,
     false,
     false,
     true,
     false,
     u"&#55AA00&l&na &#0000FF&l&nb"},
    {"ampersand", kAll, u"ab", 1, true, false, false, true, u"&#FF0000&l&o&n&mab"},
    {"html", kBold, u"\t", 1, false, false, false, false, u"\t"},
};

TEST(StyledFormatting, EachDialectWritesItsCodesNestedAndCountsThem) {
  for (const Row& row : kRows) {
    StyledSettings settings;
    settings.text = std::u16string(row.text);
    settings.markup = *FindDialect(row.dialect);
    settings.styles = row.styles;
    settings.merge = row.merge;
    settings.escape = row.escape;
    settings.gradient.stops = {{255, 0, 0}, {0, 0, 255}};
    if (row.viaGreen) {
      settings.gradient.stops.insert(settings.gradient.stops.begin() + 1, {0, 255, 0});
    }
    if (row.oneColour) {
      settings.gradient.stops.back() = {255, 0, 0};
    }
    const StyledText text(settings);
    const std::u16string markup = text.markup(row.step);
    EXPECT_EQ(markup, row.markup) << row.dialect;
    EXPECT_EQ(text.stats(row.step).outputCharacters, CountCharacters(markup)) << row.dialect;
    const auto fitted = FitStep(text, CountCharacters(markup));
    ASSERT_TRUE(fitted) << row.dialect;
    EXPECT_LE(*fitted, row.step) << row.dialect;
  }
}

TEST(StyledFormatting, TemplatesWithoutCodesRefuseFormatting) {
  const MarkupTemplate refused[] = {*FindDialect("brelvin"), {u"<", u"|", u">"}};
  for (const MarkupTemplate& markup : refused) {
    EXPECT_FALSE(ComposeStyles(markup, kBold)) << markup.prefix.size();
    EXPECT_TRUE(ComposeStyles(markup, {})) << markup.prefix.size();
    StyledSettings settings;
    settings.markup = markup;
    settings.styles = kBold;
    EXPECT_THROW(StyledText{settings}, std::invalid_argument);
  }
  StyledSettings initial;
  initial.text.push_back(u'a');
  initial.styles = kBold;
  EXPECT_EQ(GenerateStyledCode(initial), u"[b][color=#00FF00]a[/color][/b]");
}

// Where the colour of position k of m lies from a to b, in whole numbers:
// halves go to the even neighbour.
std::int16_t ExactComponent(std::int64_t a, std::int64_t b, std::int64_t num, std::int64_t den) {
  const std::int64_t twice = 2 * (a * den + (b - a) * num);
  std::int64_t q = twice / (2 * den);
  const std::int64_t rest = twice - q * 2 * den;
  if (rest > den || (rest == den && q % 2 != 0)) {
    ++q;
  }
  return static_cast<std::int16_t>(q);
}

TEST(StyledFormatting, EndpointsPlaceColouredChunksBetweenTheFirstAndLastStop) {
  std::mt19937 rng(16);
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    for (int k = static_cast<int>(rng() % 24); k > 0; --k) {
      text += u"ab \t\n"[rng() % 5];
    }
    StyledSettings settings;
    settings.text = text;
    settings.step = static_cast<std::int32_t>(1 + rng() % 3);
    settings.endpoints = true;
    settings.merge = rng() % 2 == 0;
    settings.gradient.stops.resize(2 + rng() % 3);
    for (ColourTriple& stop : settings.gradient.stops) {
      stop = SplitColour(static_cast<ColourValue>(rng() % 0x1000000));
    }
    const StyledText styled(settings);
    const std::u16string_view trimmed = TrimSpaces(text);
    std::vector<std::int64_t> starts;
    for (std::size_t at = 0; at < trimmed.size(); at += static_cast<std::size_t>(styled.step())) {
      if (!IsBareChunk(trimmed.substr(at, static_cast<std::size_t>(styled.step())))) {
        starts.push_back(static_cast<std::int64_t>(at));
      }
    }
    const auto& stops = settings.gradient.stops;
    const auto segments = static_cast<std::int64_t>(stops.size() - 1);
    std::size_t k = 0;
    styled.forEachChunk(styled.step(), [&](const StyledChunk& chunk) {
      if (!chunk.coloured) {
        return;
      }
      while (starts[k] + 1 != chunk.position) {
        ++k;  // merged into the run before
      }
      const std::int64_t den = starts.back() - starts.front();
      const std::int64_t num = (starts[k] - starts.front()) * segments;
      const std::int64_t segment = den == 0 ? 0 : std::min(num / den, segments - 1);
      const auto from = stops[static_cast<std::size_t>(segment)];
      const auto to = stops[static_cast<std::size_t>(segment + 1)];
      const std::int64_t local = den == 0 ? 0 : num - segment * den;
      const std::int64_t span = den == 0 ? 1 : den;
      const ColourTriple exact{ExactComponent(from.r, to.r, local, span),
                               ExactComponent(from.g, to.g, local, span),
                               ExactComponent(from.b, to.b, local, span)};
      ASSERT_EQ(chunk.colour, exact) << round << " chunk " << k;
    });
  }
}

}  // namespace
}  // namespace huecode
