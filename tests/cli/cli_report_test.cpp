// What huecode-cli reports beside the markup: the step --fit chose, the
// --stats line, the text --show prints, and the failures of its options.
#include "tests/cli/cli_styled_support.h"

namespace huecode {
namespace {

using namespace test;

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

}  // namespace
}  // namespace huecode
