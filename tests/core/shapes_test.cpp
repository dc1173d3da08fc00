// Stops at positions, a gradient per line, there and back, and words, each
// against colours worked out here from the gradient's formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/conversion.h"
#include "core/surprise.h"
#include "core/words.h"
#include "tests/support/reference.h"

namespace huecode {
namespace {

using reference::ReferenceColour;
using reference::ReferenceDigits;

constexpr ReferenceColour kStart{255, 0, 255};
constexpr ReferenceColour kEnd{0, 255, 0};

// [color=#RRGGBB]text[/color] for each coloured piece, bare pieces as they are.
struct Piece {
  std::u16string text;
  std::u16string digits;  // empty for a bare piece
};

std::u16string Tagged(const std::vector<Piece>& pieces) {
  std::u16string out;
  for (const Piece& piece : pieces) {
    if (piece.digits.empty()) {
      out.append(piece.text);
    } else {
      out.append(u"[color=#")
          .append(piece.digits)
          .append(u"]")
          .append(piece.text)
          .append(u"[/color]");
    }
  }
  return out;
}

StyledSettings Settings(std::u16string text) {
  StyledSettings settings;
  settings.text = std::move(text);
  return settings;
}

std::u16string Markup(const StyledSettings& settings) {
  const StyledText text(settings);
  return text.markup(text.step());
}

struct PositionCase {
  const char* what;
  std::vector<ColourTriple> stops;
  std::vector<std::optional<std::int32_t>> positions;  // in hundredths of a percent
  std::u16string text;
  std::vector<std::u16string> digits;  // of each character, with --endpoints
};

TEST(Shapes, StopsSitWhereTheyArePlaced) {
  const ColourTriple black{0, 0, 0}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
  const PositionCase cases[] = {
      // 0, 25, 50, 75 and 100 % of the way; the middle ones a third and two
      // thirds of the way from red to blue.
      {"quarter",
       {black, red, blue},
       {{}, 2500, {}},
       u"abcde",
       {u"000000", u"FF0000", u"AA0055", u"5500AA", u"0000FF"}},
      {"at 0", {black, red, blue}, {{}, 0, {}}, u"abc", {u"FF0000", u"800080", u"0000FF"}},
      {"at 100", {black, red, blue}, {{}, 10000, {}}, u"abc", {u"000000", u"800000", u"0000FF"}},
      {"two at one place",
       {black, red, green, blue},
       {{}, 5000, 5000, {}},
       u"abcde",
       {u"000000", u"800000", u"00FF00", u"008080", u"0000FF"}},
      // The unplaced stop sits halfway between 20 % and 100 %: at 60 %.
      {"even between placed",
       {black, red, green, blue},
       {{}, 2000, {}, {}},
       u"abcdef",
       {u"000000", u"FF0000", u"808000", u"00FF00", u"008080", u"0000FF"}},
  };
  for (const auto& c : cases) {
    StyledSettings settings = Settings(c.text);
    settings.gradient.stops = c.stops;
    settings.gradient.positions = c.positions;
    settings.endpoints = true;
    std::vector<Piece> expected;
    for (std::size_t k = 0; k < c.digits.size(); ++k) {
      expected.push_back({c.text.substr(k, 1), c.digits[k]});
    }
    EXPECT_EQ(Markup(settings), Tagged(expected)) << c.what;
  }
}

TEST(Shapes, PositionsAtTheEvenPlacesChangeNothing) {
  const std::vector<ColourTriple> stops{
      {255, 0, 0}, {9, 200, 30}, {0, 0, 0}, {40, 90, 255}, {255, 255, 255}};
  const std::vector<std::optional<std::int32_t>> placements[] = {
      {{}, 2500, 5000, 7500, {}}, {{}, 2500, {}, 7500, {}}, {{}, {}, 5000, {}, {}}};
  for (const auto& positions : placements) {
    for (const ColourSpace space : {ColourSpace::Rgb, ColourSpace::Oklab}) {
      for (int length = 1; length < 60; length += 7) {
        StyledSettings even = Settings(std::u16string(static_cast<std::size_t>(length), u'x'));
        even.gradient = {stops, space};
        even.endpoints = length % 2 == 0;
        StyledSettings placed = even;
        placed.gradient.positions = positions;
        ASSERT_EQ(Markup(placed), Markup(even)) << length;
      }
    }
  }
}

// Each line alone: window chunk k of n at k/n, with --endpoints at (k-1)/(n-1).
std::vector<Piece> LineReference(std::u16string_view line, bool endpoints, bool mirror) {
  std::vector<Piece> pieces;
  const auto n = static_cast<std::int64_t>(line.size());
  for (std::int64_t k = 0; k < n; ++k) {
    std::int64_t position = endpoints ? k : k + 1;
    std::int64_t span = endpoints ? n - 1 : n;
    if (mirror) {
      span += endpoints ? 0 : 1;
      position = 2 * std::min(position, span - position);
    }
    pieces.push_back({std::u16string(1, line[static_cast<std::size_t>(k)]),
                      span == 0 ? u"FF00FF" : ReferenceDigits(kStart, kEnd, position, span)});
  }
  return pieces;
}

TEST(Shapes, EachLineTakesTheWholeGradient) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> lines;  // the text between its breaks
    std::vector<std::u16string> breaks;
  };
  const Case cases[] = {
      {u"abc\ndefgh", {u"abc", u"defgh"}, {u"\n"}},
      {u"abcd\r\nxy\r\n\r\nlast", {u"abcd", u"xy", u"", u"last"}, {u"\r\n", u"\r\n", u"\r\n"}},
      {u"\nab\n\ncdef\n", {u"", u"ab", u"", u"cdef", u""}, {u"\n", u"\n", u"\n", u"\n"}},
      {u"one\rtwo", {u"one", u"two"}, {u"\r"}},
  };
  for (const auto& c : cases) {
    for (const bool endpoints : {false, true}) {
      for (const bool mirror : {false, true}) {
        StyledSettings settings = Settings(c.text);
        settings.perLine = true;
        settings.endpoints = endpoints;
        settings.gradient.mirror = mirror;
        std::vector<Piece> expected;
        for (std::size_t k = 0; k < c.lines.size(); ++k) {
          const auto line = LineReference(c.lines[k], endpoints, mirror);
          expected.insert(expected.end(), line.begin(), line.end());
          expected.push_back({k < c.breaks.size() ? c.breaks[k] : u"", u""});
        }
        EXPECT_EQ(Markup(settings), Tagged(expected)) << endpoints << mirror << c.lines.size();
        const StyledText text(settings);
        EXPECT_EQ(text.stats(1).outputCharacters, reference::CharacterCount(Markup(settings)));
      }
    }
  }
}

TEST(Shapes, MirroredGradientsReturnToTheStart) {
  const std::vector<ColourTriple> threeStops{{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
  for (std::size_t n = 1; n <= 12; ++n) {
    for (const bool endpoints : {false, true}) {
      StyledSettings settings = Settings(std::u16string(n, u'x'));
      settings.gradient.mirror = true;
      settings.endpoints = endpoints;
      EXPECT_EQ(Markup(settings), Tagged(LineReference(settings.text, endpoints, true))) << n;
      // Through the stops and back: a palindrome whose middle chunk (when the
      // count is odd) is the last stop exactly.
      settings.gradient.stops = threeStops;
      std::vector<ColourTriple> colours;
      const StyledText text(settings);
      text.forEachChunk(1, [&](const StyledChunk& chunk) { colours.push_back(chunk.colour); });
      EXPECT_TRUE(std::equal(colours.begin(), colours.end(), colours.rbegin())) << n;
      if (n % 2 == 1 && n > 1) {
        EXPECT_EQ(colours[n / 2], threeStops.back()) << n;
      }
      if (endpoints) {
        EXPECT_EQ(colours.front(), threeStops.front()) << n;
      }
    }
  }
}

TEST(Shapes, WordsAreRunsOfNonSpaceAndSingleIdeographs) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> words;
  };
  const Case cases[] = {
      {u"Hello, brave world", {u"Hello,", u"brave", u"world"}},
      {u"  我爱Rust！\t🎉🎉 ok\u3000好", {u"我", u"爱", u"Rust！", u"🎉🎉", u"ok", u"好"}},
      {u"カタカナ한국어", {u"カ", u"タ", u"カ", u"ナ", u"한", u"국", u"어"}},
      {u"\U00020000\U00020001x\u845B\U000E0100",
       {u"\U00020000", u"\U00020001", u"x", u"\u845B\U000E0100"}},
      {u"ga\u3099 \xD800x", {u"ga\u3099", u"\xD800x"}},
      {u" \u00A0\n", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::u16string> words;
    for (const WordSpan& word : FindWords(c.text)) {
      words.push_back(c.text.substr(word.begin, word.end - word.begin));
    }
    EXPECT_EQ(words, c.words) << c.words.size();
  }
}

TEST(Shapes, ByWordColoursWholeWordsAndLeavesTheirSpacesBare) {
  StyledSettings settings = Settings(u"Hi 你好, world👋🏽\n ok");
  settings.by = Segmentation::Words;
  // Words: Hi, 你, 好, the comma, world👋🏽 and ok: six, at 1/6 .. 6/6 of the gradient.
  const auto at = [](std::int64_t k) { return ReferenceDigits(kStart, kEnd, k, 6); };
  EXPECT_EQ(Markup(settings), Tagged({{u"Hi", at(1)},
                                      {u" ", u""},
                                      {u"你", at(2)},
                                      {u"好", at(3)},
                                      {u",", at(4)},
                                      {u" ", u""},
                                      {u"world👋🏽", at(5)},
                                      {u"\n ", u""},
                                      {u"ok", at(6)}}));
  settings.step = 2;  // two words a chunk, the space between them inside it
  EXPECT_EQ(
      Markup(settings),
      Tagged({{u"Hi 你", at(1)}, {u"好,", at(3)}, {u" ", u""}, {u"world👋🏽\n ok", at(5)}}));
  const StyledText text(settings);
  const ConversionStats stats = text.stats(2);
  EXPECT_EQ(stats.chunks, 4);
  EXPECT_EQ(stats.colouredChunks, 3);
  EXPECT_EQ(stats.outputCharacters, reference::CharacterCount(Markup(settings)));
}

// Every combination counts what it writes, so --stats and --fit stay true,
// in every dialect, with the text's own codes escaped or not.
TEST(Shapes, CountsAgreeWithTheMarkupInEveryCombination) {
  std::mt19937 rng(27);
  static constexpr std::u16string_view kPool = u"ab \t\r\n中文\u3000\U0001F600&l§<\\`";
  for (int round = 0; round < 3000; ++round) {
    StyledSettings settings;
    const auto length = rng() % 30;
    for (unsigned k = 0; k < length; ++k) {
      settings.text += kPool[rng() % kPool.size()];
    }
    settings.by = rng() % 2 ? Segmentation::Words : Segmentation::Characters;
    settings.perLine = rng() % 2;
    settings.gradient.mirror = rng() % 2;
    settings.merge = rng() % 2;
    settings.escape = rng() % 2;
    settings.endpoints = rng() % 2;
    settings.markup = Dialects()[rng() % Dialects().size()].markup();
    const StyledText text(settings);
    for (std::int32_t step = 1; step <= 4; ++step) {
      const std::u16string markup = text.markup(step);
      ASSERT_EQ(text.stats(step).outputCharacters, reference::CharacterCount(markup)) << round;
      std::int64_t chunks = 0;
      text.forEachChunk(step, [&](const StyledChunk&) { ++chunks; });
      ASSERT_TRUE(settings.merge || text.stats(step).chunks == chunks) << round;
    }
  }
}

// WCAG's relative luminance and contrast ratio.
double Luminance(ColourTriple c) {
  const auto linear = [](int v) {
    const double x = v / 255.0;
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double Contrast(ColourTriple a, ColourTriple b) {
  const double x = Luminance(a);
  const double y = Luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

TEST(Shapes, SurpriseColoursReadOnTheirBoardAndDifferFromEachOther) {
  const struct {
    HueCircleShade shade;
    ColourTriple board;
  } boards[] = {{kOnLightBoard, {255, 255, 255}}, {kOnDarkBoard, {0x1B, 0x1B, 0x1F}}};
  for (const auto& [shade, board] : boards) {
    const auto circle = HueCircle(shade.lightness, shade.chroma, kSurpriseHues);
    ASSERT_EQ(circle.size(), kSurpriseHues);
    for (std::size_t a = 0; a < circle.size(); ++a) {
      EXPECT_GE(Contrast(circle[a], board), 3.0) << a;
      // Picks lie a sixth of the circle apart: such colours never look alike.
      for (std::size_t b = a + kSurpriseHues / 6; b + kSurpriseHues / 6 <= a + kSurpriseHues; ++b) {
        const ColourTriple x = circle[a], y = circle[b % kSurpriseHues];
        const int distance = std::abs(x.r - y.r) + std::abs(x.g - y.g) + std::abs(x.b - y.b);
        EXPECT_GT(distance, 60) << a << " " << b;
      }
    }
  }
}

}  // namespace
}  // namespace huecode
