#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/utf8.h"
#include "cli_expect.h"
#include "core/chunks.h"
#include "core/colour.h"
#include "core/conversion.h"
#include "core/gradient_stops.h"
#include "icu/grapheme.h"
#include "process_runner.h"
#include "tests/support/dialect_chunks.h"

namespace huecode {
namespace {

using test::ExpectFailure;
using test::ProcessResult;

const std::string kCli = HUECODE_CLI_PATH;

// NO_COLOR in the environment the tests run in must not change --show.
ProcessResult Cli(const std::vector<std::string>& args, const std::string& stdinBytes = {}) {
  return test::RunProcess(kCli, args, stdinBytes, {"NO_COLOR"});
}

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// Standard output of a run that must succeed, less its final line feed.
std::string Output(const ProcessResult& result) {
  EXPECT_EQ(result.exitCode, 0) << result.err;
  if (result.out.empty() || result.out.back() != '\n') {
    ADD_FAILURE() << "no final line feed: " << result.out;
    return result.out;
  }
  return result.out.substr(0, result.out.size() - 1);
}

std::string Hex(ColourTriple colour) {
  return EncodeUtf8(ColourDigits(colour));
}

// A piece of markup in the opening template: a tagged chunk, or bare text.
struct Piece {
  std::string text;
  std::optional<ColourTriple> colour;
};

std::vector<Piece> Pieces(std::string_view markup) {
  constexpr std::string_view kOpen = "[color=#";
  constexpr std::string_view kClose = "[/color]";
  std::vector<Piece> pieces;
  while (!markup.empty()) {
    const std::size_t open = markup.find(kOpen);
    if (open != 0) {
      pieces.push_back({std::string(markup.substr(0, open)), std::nullopt});
      if (open == std::string_view::npos) {
        break;
      }
      markup.remove_prefix(open);
    }
    markup.remove_prefix(kOpen.size());
    const std::size_t close = markup.find(kClose);
    const auto colour = ReadColour(markup.substr(0, 6));
    if (close == std::string_view::npos || close < 7 || markup[6] != ']' || !colour) {
      ADD_FAILURE() << "malformed markup at " << markup;
      break;
    }
    pieces.push_back({std::string(markup.substr(7, close - 7)), colour});
    markup.remove_prefix(close + kClose.size());
  }
  return pieces;
}

std::vector<ColourTriple> TagColours(const std::vector<Piece>& pieces) {
  std::vector<ColourTriple> colours;
  for (const Piece& piece : pieces) {
    if (piece.colour) {
      colours.push_back(*piece.colour);
    }
  }
  return colours;
}

std::vector<std::string> TagTexts(const std::vector<Piece>& pieces) {
  std::vector<std::string> texts;
  for (const Piece& piece : pieces) {
    if (piece.colour) {
      texts.push_back(piece.text);
    }
  }
  return texts;
}

std::string PlainText(const std::vector<Piece>& pieces) {
  std::string text;
  for (const Piece& piece : pieces) {
    text += piece.text;
  }
  return text;
}

std::string Letters(int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    text += static_cast<char>('a' + k % 26);
  }
  return text;
}

bool Between(std::int16_t value, std::int16_t a, std::int16_t b) {
  return value >= std::min(a, b) && value <= std::max(a, b);
}

// --merge takes the command line's own conversion; the dialect goes with it.
TEST(Presets, WrapEveryChunkInTheDialectsForm) {
  for (const auto& [key, chunk] : test::kDialectChunks) {
    const std::string expected = EncodeUtf8(chunk);
    const std::string name(key);
    for (const bool merge : {false, true}) {
      std::vector<std::string> args{"--preset", name, "--start", "FF00FF", "--end", "FF00FF", "a"};
      if (merge) {
        args.insert(args.begin(), "--merge");
      }
      EXPECT_EQ(Output(Cli(args)), expected) << name << (merge ? " merged" : "");
    }
  }
}

TEST(ListPresets, ShowsEachDialectWithTheChunkItWritesAndItsFormatting) {
  const ProcessResult result = Cli({"--list-presets"});
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Output(result),
            "html         <font color=FF00FF>a</font>           around the text: <b> <i> <u> <s>\n"
            "ubb          [color=FF00FF]a[/color]               around the text: [b] [i] [u] [s]\n"
            "brelvin      [ftc=FF00FF]a[/ft]                    no formatting\n"
            "bbcode       [color=#FF00FF]a[/color]              around the text: [b] [i] [u] [s]\n"
            "span         <span style=\"color:#FF00FF\">a</span>  in every tag: ;font-weight:bold "
            ";font-style:italic ;text-decoration:underline ;text-decoration:line-through\n"
            "minimessage  <#FF00FF>a                            around the text: <bold> <italic> "
            "<underlined> <strikethrough>\n"
            "ampersand    &#FF00FFa                             in every tag: &l &o &n &m\n"
            "legacy       &x&F&F&0&0&F&Fa                       in every tag: &l &o &n &m\n"
            "section      §x§F§F§0§0§F§Fa                       in every tag: §l §o §n §m\n"
            "json         [{\"text\":\"a\",\"color\":\"#FF00FF\"}]      in every tag: "
            ",\"bold\":true ,\"italic\":true ,\"underlined\":true ,\"strikethrough\":true\n"
            "rgb          [COLOR=rgb(255, 0, 255)]a[/COLOR]     no formatting\n"
            "ansi         ```ansi\\n\\e[0;35ma\\n```               in every tag: 1; 4;");

  // Every example is what that preset really writes.
  std::istringstream lines(result.out);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t gap = line.find("  ");
    const std::size_t from = line.find_first_not_of(' ', gap);
    std::string shown = line.substr(from, line.find("  ", from) - from);
    for (const auto& [escaped, meant] : {std::pair{"\\n", "\n"}, std::pair{"\\e", "\x1b"}}) {
      for (auto at = shown.find(escaped); at != std::string::npos; at = shown.find(escaped, at)) {
        shown.replace(at, 2, meant);
      }
    }
    EXPECT_EQ(
        Output(Cli({"--preset", line.substr(0, gap), "--start", "FF00FF", "--end", "FF00FF", "a"})),
        shown);
  }
}

struct ViaCase {
  const char* name;
  std::vector<ColourTriple> via;
  int length;
};

class Via : public ::testing::TestWithParam<ViaCase> {};

// Stops sit evenly at k / segments of the text: where that falls on a chunk
// the chunk has the stop's colour exactly, and every chunk in between lies
// between its segment's two stops, moving one way.
TEST_P(Via, StopsLandExactlyAndSegmentsRunBetweenThem) {
  const ViaCase& c = GetParam();
  std::vector<ColourTriple> stops{{0x10, 0x20, 0x30}};
  stops.insert(stops.end(), c.via.begin(), c.via.end());
  stops.push_back({0xF0, 0xE0, 0xD0});
  std::vector<std::string> args{"--start", Hex(stops.front()), "--end", Hex(stops.back())};
  for (const ColourTriple& via : c.via) {
    args.insert(args.end(), {"--via", Hex(via)});
  }
  const std::vector<Piece> pieces = Pieces(Output(Cli(With(args, {Letters(c.length)}))));
  const std::vector<ColourTriple> colours = TagColours(pieces);
  ASSERT_EQ(colours.size(), static_cast<std::size_t>(c.length));

  const auto segments = static_cast<std::int64_t>(stops.size() - 1);
  for (std::int64_t position = 1; position <= c.length; ++position) {
    const ColourTriple colour = colours[static_cast<std::size_t>(position - 1)];
    const std::int64_t scaled = position * segments;
    if (scaled % c.length == 0) {
      EXPECT_EQ(colour, stops[static_cast<std::size_t>(scaled / c.length)]) << position;
    }
    const auto segment = static_cast<std::size_t>(std::min(scaled / c.length, segments - 1));
    const ColourTriple from = stops[segment];
    const ColourTriple to = stops[segment + 1];
    EXPECT_TRUE(Between(colour.r, from.r, to.r) && Between(colour.g, from.g, to.g) &&
                Between(colour.b, from.b, to.b))
        << "position " << position << " is " << Hex(colour) << ", outside " << Hex(from) << ".."
        << Hex(to);
  }
  EXPECT_EQ(colours.back(), stops.back());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Via,
    ::testing::Values(
        ViaCase{"NoStop", {}, 5}, ViaCase{"OneStopOnAChunk", {{255, 0, 0}}, 8},
        ViaCase{"OneStopBetweenChunks", {{255, 0, 0}}, 5},
        ViaCase{"ThreeStopsOnChunks", {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, 12},
        ViaCase{"ThreeStopsUneven", {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, 7},
        ViaCase{"MoreStopsThanCharacters", {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}}, 3}),
    [](const ::testing::TestParamInfo<ViaCase>& tested) { return tested.param.name; });

TEST(Via, WithoutViaTheOutputIsTheWindows) {
  ConversionSettings window;
  window.text = u"彩色 text\r\n\U0001F600 end";
  window.stepText = u"2";
  window.start = {0x10, 0x20, 0x30};
  window.end = {0xF0, 0xE0, 0xD0};
  EXPECT_EQ(
      Output(Cli({"--start", "102030", "--end", "F0E0D0", "--step", "2", EncodeUtf8(window.text)})),
      EncodeUtf8(GenerateCode(window)));
}

TEST(Via, ASingleStopSplitsTheTextInTwoEqualGradients) {
  EXPECT_EQ(Output(Cli({"--start", "000000", "--via", "FFFFFF", "--end", "000000", "abcd"})),
            "[color=#808080]a[/color][color=#FFFFFF]b[/color][color=#808080]c[/color][color=#"
            "000000]d[/color]");
}

TEST(Rainbow, TenCharactersMeetEachStopAfterRedEveryOtherCharacter) {
  const std::vector<ColourTriple> rainbow = RainbowStops();
  ASSERT_EQ(rainbow.size(), 6u);
  for (const char* space : {"rgb", "oklab"}) {
    const std::vector<ColourTriple> colours =
        TagColours(Pieces(Output(Cli({"--rainbow", "--space", space, Letters(10)}))));
    ASSERT_EQ(colours.size(), 10u);
    for (std::size_t k = 1; k < rainbow.size(); ++k) {
      EXPECT_EQ(colours[2 * k - 1], rainbow[k]) << space << " stop " << k;
    }
  }
}

struct OklabEnds {
  const char* start;
  const char* end;
};

TEST(Oklab, EndPointsComeOutExactly) {
  for (const OklabEnds& ends : {OklabEnds{"FF00FF", "00FF00"}, OklabEnds{"000000", "FFFFFF"},
                                OklabEnds{"123456", "FEDCBA"}, OklabEnds{"0000FF", "FFFF00"}}) {
    for (const auto& [from, to] :
         {std::pair{ends.start, ends.end}, std::pair{ends.end, ends.start}}) {
      const std::vector<ColourTriple> colours = TagColours(
          Pieces(Output(Cli({"--space", "oklab", "--start", from, "--end", to, Letters(9)}))));
      ASSERT_EQ(colours.size(), 9u);
      EXPECT_EQ(colours.back(), ReadColour(to)) << from << " to " << to;
    }
  }
  const std::vector<ColourTriple> viaBlue =
      TagColours(Pieces(Output(Cli({"--space", "oklab", "--via", "0000FF", "abcd"}))));
  ASSERT_EQ(viaBlue.size(), 4u);
  EXPECT_EQ(viaBlue[1], (ColourTriple{0, 0, 255}));
}

// RGB's middle is a dark neutral grey; OKLab keeps the lightness between the
// two ends' and a tint, though the line passes near the neutral axis.
TEST(Oklab, MagentaToGreenIsLightAndTintedInTheMiddleWhereRgbIsGrey) {
  const std::vector<ColourTriple> rgb = TagColours(Pieces(Output(Cli({"ab"}))));
  const std::vector<ColourTriple> oklab =
      TagColours(Pieces(Output(Cli({"--space", "oklab", "ab"}))));
  ASSERT_EQ(rgb.size(), 2u);
  ASSERT_EQ(oklab.size(), 2u);
  EXPECT_EQ(rgb[0], (ColourTriple{128, 128, 128}));
  const ColourTriple middle = oklab[0];
  const auto [low, high] = std::minmax({middle.r, middle.g, middle.b});
  EXPECT_GT(low, 160) << Hex(middle);
  EXPECT_GE(high - low, 12) << Hex(middle);
  EXPECT_EQ(oklab[1], rgb[1]);
}

struct MergeCase {
  const char* name;
  std::vector<std::string> args;
  std::string text;
};

class Merge : public ::testing::TestWithParam<MergeCase> {};

// Merging keeps the text as it is and the colours in their order, but no tag
// follows another of the same colour, even with bare blanks between them.
TEST_P(Merge, KeepsTheTextAndNeverRepeatsAColour) {
  const MergeCase& c = GetParam();
  const std::vector<Piece> plain = Pieces(Output(Cli(With(c.args, {"--", c.text}))));
  const std::vector<Piece> merged = Pieces(Output(Cli(With(c.args, {"--merge", "--", c.text}))));
  EXPECT_EQ(PlainText(merged), PlainText(plain));
  EXPECT_EQ(PlainText(merged), EncodeUtf8(TrimSpaces(DecodeUtf8(c.text).value())));

  std::vector<ColourTriple> runs = TagColours(plain);
  runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
  EXPECT_EQ(TagColours(merged), runs);
  EXPECT_LT(TagColours(merged).size(), TagColours(plain).size()) << "nothing was merged";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Merge,
    ::testing::Values(
        MergeCase{"NearlyFlat", {"--start", "000000", "--end", "000002"}, "aaaa bbbb\r\ncccc"},
        MergeCase{"OneColourAcrossBlanks",
                  {"--start", "336699", "--end", "336699", "--step", "2"},
                  "  ab cd\tef  gh  "},
        MergeCase{"BlanksAfterTheLastRun", {"--start", "000000", "--end", "000001"}, "ab \t c"},
        MergeCase{"LongText", {"--start", "102030", "--end", "112131"}, Letters(600)},
        MergeCase{"Graphemes",
                  {"--by", "grapheme", "--start", "000000", "--end", "000001"},
                  "e\xCC\x81\xCC\x81 \xF0\x9F\x87\xAB\xF0\x9F\x87\xB7 x"},
        MergeCase{"Rainbow", {"--rainbow", "--step", "3"}, Letters(2000)}),
    [](const ::testing::TestParamInfo<MergeCase>& tested) { return tested.param.name; });

struct FitCase {
  const char* name;
  std::u16string text;
  Segmentation by = Segmentation::Characters;
  bool merge = false;
};

class Fit : public ::testing::TestWithParam<FitCase> {};

// Brute force: the markup at every step from 1 to one chunk for the whole
// text, its length counted in characters; --fit must pick the first that fits.
TEST_P(Fit, ChoosesTheSmallestStepThatFitsAndSaysWhichOnStandardError) {
  const FitCase& c = GetParam();
  StyledSettings settings;
  settings.text = c.text;
  settings.by = c.by;
  settings.graphemes = &GraphemeBoundaries;
  settings.merge = c.merge;
  const std::int32_t units = StyledText(settings).units();
  ASSERT_GT(units, 1);
  std::vector<std::u16string> markups;
  std::vector<std::int64_t> lengths;
  for (std::int32_t step = 1; step <= units; ++step) {
    settings.step = step;
    const StyledText text(settings);
    markups.push_back(text.markup(step));
    lengths.push_back(CountCharacters(markups.back()));
  }
  const std::int64_t shortest = *std::min_element(lengths.begin(), lengths.end());
  ASSERT_LT(shortest, lengths.front()) << "the text must get shorter with a longer step";

  std::vector<std::string> args;
  if (c.by == Segmentation::Graphemes) {
    args.insert(args.end(), {"--by", "grapheme"});
  }
  if (c.merge) {
    args.emplace_back("--merge");
  }
  std::vector<std::int64_t> limits{shortest - 1, shortest, lengths.front(), lengths.front() - 1,
                                   lengths.front() * 10};
  for (const std::int64_t length : {lengths[1], lengths[2], lengths[units / 2]}) {
    limits.insert(limits.end(), {length - 1, length, length + 1});
  }
  for (const std::int64_t limit : limits) {
    const ProcessResult result =
        Cli(With(args, {"--fit", std::to_string(limit)}), EncodeUtf8(c.text));
    const auto fits = std::find_if(lengths.begin(), lengths.end(),
                                   [&](std::int64_t length) { return length <= limit; });
    if (fits == lengths.end()) {
      ExpectFailure(result, 1, "--fit " + std::to_string(limit) + ": nothing fits");
      EXPECT_NE(result.err.find(std::to_string(lengths.back()) + " characters"), std::string::npos)
          << result.err;
      continue;
    }
    const auto index = static_cast<std::size_t>(fits - lengths.begin());
    EXPECT_EQ(Output(result), EncodeUtf8(markups[index])) << "limit " << limit;
    EXPECT_LE(CountCharacters(DecodeUtf8(Output(result)).value()), limit);
    // A step as long as the text reads as 1 in the step box, so that choice is
    // said in words that give back the markup.
    const std::string chosen = index + 1 == lengths.size() ? "one tag for the whole text"
                                                           : "step " + std::to_string(index + 1);
    EXPECT_EQ(result.err, "huecode-cli: --fit chose " + chosen + " (" +
                              std::to_string(lengths[index]) + " characters)\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Fit,
    ::testing::Values(FitCase{"Letters", u"The quick brown fox jumps over the lazy dog"},
                      FitCase{"BlanksAndBreaks", u"ab  cd\r\n\r\nef\tgh    ij kl"},
                      FitCase{"SurrogatePairsCountOnce", u"\U0001F600\U0001F601 ab \U0001F602c"},
                      FitCase{"Graphemes",
                              u"e\u0301\u0301 \U0001F1EB\U0001F1F7 "
                              u"\U0001F468\u200D\U0001F469\u200D\U0001F467 xyz",
                              Segmentation::Graphemes},
                      FitCase{"Merged", u"aaaa bbbb cccc dddd eeee", Segmentation::Characters,
                              true}),
    [](const ::testing::TestParamInfo<FitCase>& tested) { return tested.param.name; });

TEST(Fit, AnEmptyTextFitsAnyLimit) {
  const ProcessResult result = Cli({"--fit", "0"}, "   \n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "\n");
  EXPECT_EQ(result.err, "huecode-cli: --fit chose step 1 (0 characters)\n");
}

const std::regex kStatsLine(
    R"(huecode-cli: (\d+) characters in, (\d+) chunks, (\d+) coloured chunks, (\d+) output characters\n)");

struct Stats {
  long charactersIn = -1;
  long chunks = -1;
  long colouredChunks = -1;
  long outputCharacters = -1;
  friend bool operator==(const Stats&, const Stats&) = default;
};

Stats ReadStats(const std::string& err) {
  std::smatch match;
  if (!std::regex_search(err, match, kStatsLine)) {
    ADD_FAILURE() << "no stats line in " << err;
    return {};
  }
  return {std::stol(match[1]), std::stol(match[2]), std::stol(match[3]), std::stol(match[4])};
}

long Characters(const std::string& utf8) {
  return CountCharacters(DecodeUtf8(utf8).value());
}

struct StatsCase {
  const char* name;
  std::vector<std::string> args;
  std::string text;
  Stats expected;  // output characters -1: the length of the markup without --stats
};

class StatsLine : public ::testing::TestWithParam<StatsCase> {};

TEST_P(StatsLine, CountsTheInputTheChunksTheTagsAndTheMarkup) {
  const StatsCase& c = GetParam();
  const ProcessResult plain = Cli(With(c.args, {"--", c.text}));
  const ProcessResult result = Cli(With(c.args, {"--stats", "--", c.text}));
  EXPECT_EQ(result.out, plain.out) << "--stats must not change the markup";
  EXPECT_TRUE(std::regex_match(result.err, kStatsLine)) << result.err;
  Stats expected = c.expected;
  if (expected.outputCharacters < 0) {
    expected.outputCharacters = Characters(Output(plain));
  }
  EXPECT_EQ(ReadStats(result.err), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatsLine,
    ::testing::Values(StatsCase{"BlanksAreChunksWithoutTags", {}, "  a b  ", {7, 3, 2, -1}},
                      StatsCase{"Step", {"--step", "2"}, "abcde", {5, 3, 3, 5 + 3 * 23}},
                      StatsCase{"SurrogatePairIsOneCharacter",
                                {},
                                "\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
                                {2, 2, 2, -1}},
                      StatsCase{"MergedRunIsOneTag",
                                {"--merge", "--start", "000000", "--end", "000000"},
                                "aaa a",
                                {5, 5, 1, 5 + 23}},
                      StatsCase{"Graphemes",
                                {"--by", "grapheme", "--preset", "minimessage"},
                                "e\xCC\x81x",
                                {3, 2, 2, -1}},
                      StatsCase{"Empty", {}, "   ", {3, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<StatsCase>& tested) { return tested.param.name; });

TEST(StatsLine, DescribesTheMarkupEvenWhenShowing) {
  const ProcessResult markup = Cli({"--rainbow", "a rainbow"});
  const ProcessResult shown = Cli({"--rainbow", "--show", "--stats", "a rainbow"});
  EXPECT_EQ(ReadStats(shown.err).outputCharacters, Characters(Output(markup)));
}

TEST(StatsLine, FollowsTheFitNote) {
  const ProcessResult result = Cli({"--fit", "100", "--stats", "abcdefghij"});
  const std::string fitNote = "huecode-cli: --fit chose step ";
  EXPECT_EQ(result.err.rfind(fitNote, 0), 0u) << result.err;
  const Stats stats = ReadStats(result.err);
  EXPECT_EQ(stats.outputCharacters, Characters(Output(result)));
  EXPECT_LE(stats.outputCharacters, 100);
  EXPECT_LT(stats.chunks, 10);
}

TEST(Graphemes, EmojiFlagsAndAccentedLettersStayWhole) {
  const std::string family =
      "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
  const std::string flag = "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7";
  const std::string accented = "e\xCC\x81";
  const std::string text = family + flag + accented + "x";

  EXPECT_EQ(TagTexts(Pieces(Output(Cli({"--by", "grapheme", text})))),
            (std::vector<std::string>{family, flag, accented, "x"}));
  EXPECT_EQ(TagTexts(Pieces(Output(Cli({"--by", "grapheme", "--step", "2", text})))),
            (std::vector<std::string>{family + flag, accented + "x"}));
  // By character the same text is cut inside every cluster.
  EXPECT_EQ(TagColours(Pieces(Output(Cli({"--by", "char", text})))).size(), 5u + 2 + 2 + 1);
}

TEST(Show, PrintsEachChunkInItsColour) {
  EXPECT_EQ(Cli({"--show", "ab c"}).out,
            "\x1b[38;2;191;64;191ma\x1b[39m\x1b[38;2;128;128;128mb\x1b[39m "
            "\x1b[38;2;0;255;0mc\x1b[39m\n");
  EXPECT_EQ(Cli({"--show", "ab"}).out,
            "\x1b[38;2;128;128;128ma\x1b[39m\x1b[38;2;0;255;0mb\x1b[39m\n");
  EXPECT_EQ(Cli({"--show", "--", "  a b "}).out,
            "\x1b[38;2;170;85;170ma\x1b[39m \x1b[38;2;0;255;0mb\x1b[39m\n");
  EXPECT_EQ(Cli({"--show", "--preset", "html", "--step", "2", "abc"}).out,
            "\x1b[38;2;170;85;170mab\x1b[39m\x1b[38;2;0;255;0mc\x1b[39m\n");
}

// The escapes carry the colours the markup has, whatever the options.
TEST(Show, ShowsTheMarkupsColours) {
  const std::regex escape("\x1b\\[38;2;(\\d+);(\\d+);(\\d+)m");
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--rainbow"}, std::vector<std::string>{"--space", "oklab"},
        std::vector<std::string>{"--via", "0000FF", "--merge", "--step", "2"},
        std::vector<std::string>{"--by", "grapheme"}}) {
    const std::string text = "Hello, gradient e\xCC\x81 world";
    const std::vector<ColourTriple> tags = TagColours(Pieces(Output(Cli(With(options, {text})))));
    const std::string shown = Output(Cli(With(options, {"--show", text})));
    std::vector<ColourTriple> escaped;
    for (auto it = std::sregex_iterator(shown.begin(), shown.end(), escape);
         it != std::sregex_iterator(); ++it) {
      escaped.push_back({static_cast<std::int16_t>(std::stoi((*it)[1])),
                         static_cast<std::int16_t>(std::stoi((*it)[2])),
                         static_cast<std::int16_t>(std::stoi((*it)[3]))});
    }
    EXPECT_EQ(escaped, tags) << options.front();
    EXPECT_EQ(std::regex_replace(shown, std::regex("\x1b\\[[0-9;]*m"), ""), text);
  }
}

TEST(Show, NoColorPrintsThePlainTrimmedText) {
  const ProcessResult plain =
      test::RunProcess(kCli, {"--show", "--", "  a [b]  "}, {}, {"NO_COLOR=1"});
  EXPECT_EQ(plain.exitCode, 0);
  EXPECT_EQ(plain.out, "a [b]\n");
  // An empty NO_COLOR asks for nothing.
  const ProcessResult empty = test::RunProcess(kCli, {"--show", "ab"}, {}, {"NO_COLOR="});
  EXPECT_EQ(empty.out, Cli({"--show", "ab"}).out);
  EXPECT_NE(empty.out.find('\x1b'), std::string::npos);
  // NO_COLOR concerns the terminal only; markup is written as always.
  EXPECT_EQ(test::RunProcess(kCli, {"ab"}, {}, {"NO_COLOR=1"}).out, Cli({"ab"}).out);
}

struct FailureCase {
  const char* name;
  std::vector<std::string> args;
  int exitCode;
  const char* messagePart;
};

class StyledFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StyledFailure, GivesExitCodeMessageAndNoOutput) {
  const FailureCase& c = GetParam();
  ExpectFailure(Cli(c.args), c.exitCode, c.messagePart);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StyledFailure,
    ::testing::Values(
        FailureCase{"UnknownSpace", {"--space", "lab", "x"}, 2, "'lab'"},
        FailureCase{"UnknownUnit", {"--by", "line", "x"}, 2, "'line'"},
        FailureCase{"BadVia", {"--via", "#12345", "x"}, 2, "'#12345'"},
        FailureCase{"BadFit", {"--fit", "ten", "x"}, 2, "'ten'"},
        FailureCase{"RainbowWithEnd", {"--rainbow", "--end", "000000", "x"}, 2, "--rainbow"},
        FailureCase{"FitWithStep", {"--fit", "99", "--step", "2", "x"}, 2, "--step"},
        FailureCase{"NothingFits", {"--fit", "20", "abc"}, 1, "nothing fits"},
        FailureCase{"NothingFitsWithShow",
                    {"--show", "--stats", "--fit", "0", "a"},
                    1,
                    "needs 24 characters"},
        FailureCase{"UsageBeforeFit", {"--fit", "0", "--space", "x", "abc"}, 2, "--space"},
        FailureCase{"BrelvinHasNoFormatting", {"--preset", "brelvin", "--strike"}, 2, "brelvin"},
        FailureCase{"OwnTemplateHasNoFormatting",
                    {"--preset", "html", "--prefix", "<font color=#", "--italic"},
                    2,
                    "--prefix"}),
    [](const ::testing::TestParamInfo<FailureCase>& tested) { return tested.param.name; });

// Escaping is opt-in: without it a chunk goes into the markup as it stands.
TEST(Escape, WritesEntitiesInsideTheChunksOnlyWhenAsked) {
  const std::string tags[] = {"<span style=\"color:#AA55AA\">a</span>",
                              "<span style=\"color:#55AA55\">", "</span>",
                              "<span style=\"color:#00FF00\">b</span>\n"};
  EXPECT_EQ(Cli({"--preset", "span", "--escape", "a<b"}).out,
            tags[0] + tags[1] + "&lt;" + tags[2] + tags[3]);
  EXPECT_EQ(Cli({"--preset", "span", "a<b"}).out, tags[0] + tags[1] + "<" + tags[2] + tags[3]);
  EXPECT_EQ(ReadStats(Cli({"--escape", "--stats", "--preset", "span", "a<b"}).err).outputCharacters,
            static_cast<std::int64_t>(tags[0].size() + tags[1].size() + 4 + tags[2].size() +
                                      tags[3].size() - 1));
}

}  // namespace
}  // namespace huecode
