// huecode-cli's gradient options: dialects, stops, spaces, merging, graphemes
// and escaping.
#include "tests/cli/cli_expect.h"
#include "tests/cli/cli_styled_support.h"

namespace huecode {
namespace {

using namespace test;

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

// The text's own codes reach a server as codes, with a note that names the
// first; --escape writes the dialect's means, or is refused where it has none.
TEST(Escape, TheTextsOwnCodesAreNamedOrShownAsTyped) {
  const ProcessResult noted = Cli({"--preset", "legacy", "--step", "3", "--", "a&laa"});
  EXPECT_EQ(noted.out, "&x&C&C&3&3&C&Ca&l&x&3&3&C&C&3&3aa\n");
  EXPECT_EQ(noted.err,
            "huecode-cli: note: \"&l\" in the text (line 1, column 2) is a code where legacy "
            "markup is read: bold; --escape shows it as typed\n");
  const ProcessResult shown = Cli({"--preset", "legacy", "--step", "3", "--escape", "a&laa"});
  EXPECT_EQ(shown.out, "&x&C&C&3&3&C&Ca&&x&C&C&3&3&C&Cl&x&3&3&C&C&3&3aa\n");
  EXPECT_EQ(shown.err, "");
  for (const char* dialect : {"section", "json", "ansi"}) {
    test::ExpectFailure(Cli({"--preset", dialect, "--escape", "a"}), 2,
                        "--escape cannot be used with the " + std::string(dialect));
  }
}

}  // namespace
}  // namespace huecode
