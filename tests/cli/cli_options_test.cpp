#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/input.h"
#include "cli/options.h"

namespace huecode {
namespace {

ParsedCommandLine Parse(std::vector<std::string> args) {
  return ParseCommandLine(args);
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
        UsageErrorCase{"ErrorBeforeHelpWins", {"--bogus", "--help"}, "unknown option"}),
    [](const ::testing::TestParamInfo<UsageErrorCase>& info) { return info.param.name; });

struct ColourCase {
  const char* text;
  ColourTriple colour;
};

class ColourArgument : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourArgument, ReadsRedGreenBlue) {
  const auto colour = ParseColourArgument(GetParam().text);
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
    EXPECT_FALSE(ParseColourArgument(text).has_value()) << text;
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
