#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "cli/input.h"
#include "cli/options.h"
#include "core/colour.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "options/utf8.h"

namespace huecode {
namespace {

// The parse as a value and an error side by side, so that each case reads both.
struct ParsedCommandLine {
  CliOptions options;
  std::optional<Failure> error;
};

ParsedCommandLine Parse(std::vector<std::string> args) {
  auto parsed = ParseCommandLine(args);
  if (!parsed) {
    return {CliOptions{}, parsed.error()};
  }
  return {std::move(*parsed), std::nullopt};
}

// --via COLOUR repeated `count` times.
std::vector<std::string> Vias(int count) {
  std::vector<std::string> args;
  for (int k = 0; k < count; ++k) {
    args.insert(args.end(), {"--via", "123456"});
  }
  return args;
}

struct UsageErrorCase {
  const char* name;
  std::vector<std::string> args;
  const char* messagePart;
};

class UsageError : public ::testing::TestWithParam<UsageErrorCase> {};

TEST_P(UsageError, IsExitTwoWithAMessage) {
  const ParsedCommandLine parsed = Parse(GetParam().args);
  ASSERT_TRUE(parsed.error.has_value());
  EXPECT_EQ(parsed.error->exitCode, kExitUsageError);
  EXPECT_NE(parsed.error->message.find(GetParam().messagePart), std::string::npos)
      << parsed.error->message;
  EXPECT_EQ(parsed.error->message.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsageError,
    ::testing::Values(
        UsageErrorCase{"UnknownLong", {"--colour", "x"}, "unknown option '--colour'"},
        UsageErrorCase{"UnknownWithValue", {"--colour=1"}, "unknown option '--colour'"},
        UsageErrorCase{"NegativeNumberLooksLikeOption", {"-3"}, "unknown option '-3'"},
        UsageErrorCase{"MissingValueAtEnd", {"text", "--start"}, "--start needs a value"},
        UsageErrorCase{"MissingStepValue", {"--step"}, "--step needs a value"},
        UsageErrorCase{"NonHexColour", {"--start", "GGHHII"}, "'GGHHII'"},
        UsageErrorCase{"ShortColour", {"--end", "FFF"}, "'FFF'"},
        UsageErrorCase{"LongColour", {"--end", "#FF00FF0"}, "'#FF00FF0'"},
        UsageErrorCase{"TwoNumberSigns", {"--end", "##FF00FF"}, "'##FF00FF'"},
        UsageErrorCase{"EmptyColour", {"--start="}, "invalid colour ''"},
        UsageErrorCase{"UnknownPreset", {"--preset", "phpbb"}, "unknown preset 'phpbb'"},
        UsageErrorCase{"PresetIsCaseSensitive", {"--preset", "HTML"}, "unknown preset"},
        UsageErrorCase{"FlagWithValue", {"--help=yes"}, "takes no value"},
        UsageErrorCase{"ErrorBeforeHelpWins", {"--bogus", "--help"}, "unknown option"},
        UsageErrorCase{"BadVia", {"--via", "red"}, "invalid colour 'red' for --via"},
        UsageErrorCase{
            "UnknownSpace", {"--space", "hsl"}, "'hsl' for --space: expected rgb or oklab"},
        UsageErrorCase{"SpaceIsCaseSensitive", {"--space", "OKLab"}, "'OKLab'"},
        UsageErrorCase{
            "UnknownUnit", {"--by", "line"}, "'line' for --by: expected char, grapheme or word"},
        UsageErrorCase{"PositionNotANumber",
                       {"--via", "0000FF@half"},
                       "invalid position 'half' for --via 0000FF@half"},
        UsageErrorCase{"PositionOutOfRange", {"--via", "0000FF@100.5"}, "'100.5' for --via"},
        UsageErrorCase{"PositionTooPrecise", {"--via", "0000FF@33.333"}, "'33.333' for --via"},
        UsageErrorCase{"PositionsOutOfOrder",
                       {"--via", "0000FF@60", "--via", "FFFF00", "--via", "00FFFF@40"},
                       "the stop --via 00FFFF@40 is placed before an earlier stop"},
        UsageErrorCase{"MissingUnit", {"x", "--by"}, "--by needs a value"},
        // 64 stops at most: start, end and 62 --via.
        UsageErrorCase{"SixtyFiveStops", Vias(63),
                       "at most 64 stops: start, end and 62 --via, not 63"},
        UsageErrorCase{"SeventyFourStops", Vias(72), "at most 64 stops"},
        UsageErrorCase{"UnknownShell",
                       {"--completion", "ksh"},
                       "'ksh' for --completion: expected bash, zsh or fish"},
        UsageErrorCase{"NegativeFit", {"--fit", "-1"}, "invalid limit '-1' for --fit"},
        UsageErrorCase{"EmptyFit", {"--fit="}, "invalid limit ''"},
        UsageErrorCase{"FractionalFit", {"--fit", "1.5"}, "invalid limit '1.5'"},
        UsageErrorCase{"FitWithSign", {"--fit", "+5"}, "invalid limit '+5'"},
        UsageErrorCase{"FitWithTrailingText", {"--fit", "12abc"}, "invalid limit '12abc'"},
        UsageErrorCase{"FitWithSpace", {"--fit", " 12"}, "invalid limit ' 12'"},
        UsageErrorCase{"MergeWithValue", {"--merge=yes"}, "--merge takes no value"},
        UsageErrorCase{"RainbowAfterStart",
                       {"--start", "000000", "--rainbow"},
                       "--rainbow cannot be combined with --start"},
        UsageErrorCase{"RainbowBeforeEnd",
                       {"--rainbow", "--end", "000000"},
                       "--rainbow cannot be combined with --end"},
        UsageErrorCase{"RainbowWithVia",
                       {"--via", "000000", "x", "--rainbow"},
                       "--rainbow cannot be combined with --via"},
        UsageErrorCase{
            "FitWithStep", {"--step", "2", "--fit", "9"}, "--fit cannot be combined with --step"},
        UsageErrorCase{
            "StepAfterFit", {"--fit", "9", "--step=1"}, "--fit cannot be combined with --step"}),
    [](const ::testing::TestParamInfo<UsageErrorCase>& tested) { return tested.param.name; });

struct ColourCase {
  const char* text;
  ColourTriple colour;
};

class ColourArgument : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourArgument, ReadsRedGreenBlue) {
  const auto colour = ReadColour(GetParam().text);
  ASSERT_TRUE(colour.has_value());
  EXPECT_EQ(*colour, GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Table, ColourArgument,
                         ::testing::Values(ColourCase{"FF00FF", {255, 0, 255}},
                                           ColourCase{"#00ff00", {0, 255, 0}},
                                           ColourCase{"123456", {0x12, 0x34, 0x56}},
                                           ColourCase{"#aBcDeF", {0xAB, 0xCD, 0xEF}},
                                           ColourCase{"000000", {0, 0, 0}}));

TEST(ColourArgument, RejectsSignsAndSpaces) {
  for (const char* text : {"+12345", "-12345", " 123456", "123456 ", "0x1234", "12 456"}) {
    EXPECT_FALSE(ReadColour(text).has_value()) << text;
  }
}

TEST(ParseCommandLine, DefaultsMatchTheOpeningWindow) {
  const ParsedCommandLine parsed = Parse({});
  ASSERT_FALSE(parsed.error.has_value());
  EXPECT_EQ(parsed.options.action, CliAction::Convert);
  EXPECT_EQ(parsed.options.start, (ColourTriple{255, 0, 255}));
  EXPECT_EQ(parsed.options.end, (ColourTriple{0, 255, 0}));
  EXPECT_EQ(parsed.options.stepText, "1");
  EXPECT_FALSE(parsed.options.presetKey.has_value());
  EXPECT_FALSE(parsed.options.prefix.has_value());
  EXPECT_TRUE(parsed.options.words.empty());
  EXPECT_FALSE(parsed.options.WantsPictures());
}

TEST(ParseCommandLine, ReadsEveryOptionInBothForms) {
  const ParsedCommandLine parsed =
      Parse({"--start", "#010203", "--end=0a0b0c", "--step", "-3", "--preset=brelvin", "--prefix",
             "", "--middle=--", "--suffix", "--help", "--input", "in.txt", "--preview-png", "p.png",
             "--bar-png=b.png", "word"});
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  const CliOptions& o = parsed.options;
  EXPECT_EQ(o.action, CliAction::Convert);
  EXPECT_EQ(o.start, (ColourTriple{1, 2, 3}));
  EXPECT_EQ(o.end, (ColourTriple{10, 11, 12}));
  EXPECT_EQ(o.stepText, "-3");
  EXPECT_EQ(o.presetKey, "brelvin");
  EXPECT_EQ(o.prefix, "");
  EXPECT_EQ(o.middle, "--");
  EXPECT_EQ(o.suffix, "--help");
  EXPECT_EQ(o.inputPath, "in.txt");
  EXPECT_EQ(o.previewPngPath, "p.png");
  EXPECT_EQ(o.barPngPath, "b.png");
  EXPECT_EQ(o.words, std::vector<std::string>{"word"});
}

TEST(ParseCommandLine, SixtyFourStopsAreAccepted) {
  const ParsedCommandLine parsed = Parse(Vias(62));
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  EXPECT_EQ(parsed.options.via.size(), 62U);
}

TEST(ParseCommandLine, OptionsBeyondTheWindowAreOffUnlessGiven) {
  const CliOptions o = Parse({"x"}).options;
  EXPECT_TRUE(o.via.empty());
  EXPECT_FALSE(o.rainbow);
  EXPECT_EQ(o.space, ColourSpace::Rgb);
  EXPECT_EQ(o.by, Segmentation::Characters);
  EXPECT_FALSE(o.merge);
  EXPECT_FALSE(o.fitLimit.has_value());
  EXPECT_FALSE(o.stats);
  EXPECT_FALSE(o.show);
}

TEST(ParseCommandLine, ReadsTheOptionsBeyondTheWindow) {
  const ParsedCommandLine good =
      Parse({"--via", "010203", "--merge", "--via=#0A0B0C", "--space", "oklab", "--by=grapheme",
             "--fit", "0", "--stats", "--show", "--via", "ffffff", "word"});
  ASSERT_FALSE(good.error.has_value()) << good.error->message;
  const CliOptions& o = good.options;
  EXPECT_EQ(o.via, (std::vector<ColourTriple>{{1, 2, 3}, {10, 11, 12}, {255, 255, 255}}));
  EXPECT_EQ(o.space, ColourSpace::Oklab);
  EXPECT_EQ(o.by, Segmentation::Graphemes);
  EXPECT_TRUE(o.merge);
  EXPECT_EQ(o.fitLimit, 0);
  EXPECT_TRUE(o.stats);
  EXPECT_TRUE(o.show);
  EXPECT_EQ(o.words, std::vector<std::string>{"word"});

  EXPECT_TRUE(Parse({"--rainbow", "--space", "oklab", "x"}).options.rainbow);
  EXPECT_EQ(Parse({"--space", "oklab", "--space", "rgb"}).options.space, ColourSpace::Rgb);
  EXPECT_EQ(Parse({"--by", "grapheme", "--by", "char"}).options.by, Segmentation::Characters);
}

TEST(ParseCommandLine, ReadsStopPositionsAndShapes) {
  const CliOptions o = Parse({"--via", "0000FF@25", "--via=FFFF00", "--via", "00FFFF@60.5%",
                              "--via", "FF0000@100", "--per-line", "--mirror", "--by", "word"})
                           .options;
  EXPECT_EQ(o.viaPositions,
            (std::vector<std::optional<std::int32_t>>{2500, std::nullopt, 6050, 10000}));
  EXPECT_TRUE(o.perLine);
  EXPECT_TRUE(o.mirror);
  EXPECT_EQ(o.by, Segmentation::Words);
}

TEST(ParseCommandLine, FitLimitsBeyondSixtyFourBitsMeanNoLimit) {
  EXPECT_EQ(Parse({"--fit", "9223372036854775806"}).options.fitLimit, 9223372036854775806);
  for (const char* huge :
       {"9223372036854775807", "9223372036854775808", "99999999999999999999999"}) {
    const ParsedCommandLine parsed = Parse({"--fit", huge});
    ASSERT_FALSE(parsed.error.has_value()) << huge;
    EXPECT_EQ(parsed.options.fitLimit, std::numeric_limits<std::int64_t>::max()) << huge;
  }
  EXPECT_EQ(Parse({"--fit", "007"}).options.fitLimit, 7);
}

TEST(ParseCommandLine, EveryDialectIsAPreset) {
  for (const Dialect& dialect : Dialects()) {
    const ParsedCommandLine parsed = Parse({"--preset", std::string(dialect.key)});
    ASSERT_FALSE(parsed.error.has_value()) << dialect.key;
    EXPECT_EQ(parsed.options.presetKey, dialect.key);
  }
}

TEST(ParseCommandLine, ListPresetsStopsReading) {
  const ParsedCommandLine parsed = Parse({"--list-presets", "--bogus"});
  EXPECT_FALSE(parsed.error.has_value());
  EXPECT_EQ(parsed.options.action, CliAction::ListPresets);
  EXPECT_TRUE(Parse({"--list-presets=x"}).error.has_value());
}

TEST(UsageText, NamesEveryOptionAndDialect) {
  const std::string usage = UsageText();
  for (const char* option :
       {"--via COLOUR", "--rainbow", "--space SPACE", "--merge", "--fit N", "--stats", "--by UNIT",
        "--show", "--list-presets", "NO_COLOR", "--bold", "--strike", "--endpoints"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  for (const Dialect& dialect : Dialects()) {
    EXPECT_NE(usage.find(dialect.key), std::string::npos) << dialect.key;
  }
  // The help writes the default gradient out; it must be the one the core opens with.
  for (const ColourTriple colour : {kDefaultStart, kDefaultEnd}) {
    const std::string text = "(default " + EncodeUtf8(ColourDigits(colour)) + ")";
    EXPECT_NE(usage.find(text), std::string::npos) << text;
  }
}

TEST(ParseCommandLine, LaterOptionOverridesEarlier) {
  const ParsedCommandLine parsed = Parse({"--start", "000000", "--start", "FFFFFF"});
  EXPECT_EQ(parsed.options.start, (ColourTriple{255, 255, 255}));
}

TEST(ParseCommandLine, DoubleDashEndsOptions) {
  const ParsedCommandLine parsed = Parse({"a", "--", "--start", "-3", "--", "-"});
  ASSERT_FALSE(parsed.error.has_value());
  EXPECT_EQ(parsed.options.words, (std::vector<std::string>{"a", "--start", "-3", "--", "-"}));
  EXPECT_EQ(parsed.options.start, (ColourTriple{255, 0, 255}));
}

TEST(ParseCommandLine, LoneDashAndEmptyArgumentsAreText) {
  const ParsedCommandLine parsed = Parse({"-", "", "x"});
  ASSERT_FALSE(parsed.error.has_value());
  EXPECT_EQ(parsed.options.words, (std::vector<std::string>{"-", "", "x"}));
}

TEST(ParseCommandLine, HelpAndVersionStopReading) {
  EXPECT_EQ(Parse({"--help", "--bogus"}).options.action, CliAction::Help);
  EXPECT_EQ(Parse({"x", "-h"}).options.action, CliAction::Help);
  EXPECT_EQ(Parse({"--version", "--start", "zz"}).options.action, CliAction::Version);
  EXPECT_FALSE(Parse({"--version", "--start", "zz"}).error.has_value());
}

TEST(ParseCommandLine, VersionTextNamesTheProgram) {
  EXPECT_EQ(VersionText().rfind("huecode-cli ", 0), 0u);
  EXPECT_EQ(VersionText().back(), '\n');
}

struct LineBreakCase {
  std::string_view bytes;
  std::string_view text;
};

TEST(DropTrailingLineBreak, DropsExactlyOneBreak) {
  const LineBreakCase cases[] = {
      {"ab\n", "ab"},       {"ab\r\n", "ab"},     {"ab\n\n", "ab\n"}, {"ab\r\n\r\n", "ab\r\n"},
      {"ab\r", "ab\r"},     {"ab", "ab"},         {"", ""},           {"\n", ""},
      {"a\r\nb", "a\r\nb"}, {"ab\n\r", "ab\n\r"},
  };
  for (const LineBreakCase& c : cases) {
    EXPECT_EQ(DropTrailingLineBreak(c.bytes), c.text) << c.bytes;
  }
}

}  // namespace
}  // namespace huecode
