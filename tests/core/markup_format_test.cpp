#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/conversion.h"
#include "core/markup_format.h"
#include "core/strip_markup.h"

namespace huecode {
namespace {

// One chunk of the whole text in one colour.
std::u16string Written(std::u16string text, MarkupTemplate markup, ColourTriple colour,
                       bool escape = false, std::optional<std::int32_t> step = 1000) {
  StyledSettings settings;
  settings.text = std::move(text);
  settings.step = step;
  settings.gradient.stops = {colour, colour};
  settings.markup = std::move(markup);
  settings.escape = escape;
  return GenerateStyledCode(settings);
}

MarkupTemplate Format(std::u16string_view format) {
  return {{}, {}, {}, std::u16string(format)};
}

struct FormatRow {
  std::u16string_view format;
  std::u16string_view text;
  bool escape;
  std::u16string_view expected;  // written by hand for 0A7BFF: 10, 123, 255
};

const FormatRow kFormatRows[] = {
    {u"<{HEX}|{hex}>{text}", u"ab", false, u"<0A7BFF|0a7bff>ab"},
    {u"{R1}{R2}-{G1}{G2}-{B1}{B2}/{r1}{g2}{b1}:{text}", u"x", false, u"0A-7B-FF/0bf:x"},
    {u"rgb({red},{green},{blue}){text}", u"x", false, u"rgb(10,123,255)x"},
    {u"{{\"t\":\"{text:json}\"}}", u"a\"\\\t\x01\xD800", false,
     u"{\"t\":\"a\\\"\\\\\\t\\u0001\\uD800\"}"},
    {u"<{text:html}>", u"a<&>", false, u"<a&lt;&amp;&gt;>"},
    {u"{text}", u"a<", true, u"a&lt;"},
    {u"\x1b[3{ansi}m{text}", u"x", false, u"\x1b[34mx"},
    // A game server would read &l in &lt; as bold: the text stays as it is.
    {u"&x&{R1}&{R2}&{G1}&{G2}&{B1}&{B2}{codes}{text}", u"a<&b", true, u"&x&0&A&7&B&F&Fa<&b"},
};

TEST(Format, EveryPlaceholderWritesItsPartOfTheColourOrText) {
  for (const FormatRow& row : kFormatRows) {
    EXPECT_EQ(Written(std::u16string(row.text), Format(row.format), {10, 123, 255}, row.escape),
              row.expected)
        << std::string(row.format.begin(), row.format.end());
  }
}

struct BadFormatRow {
  std::u16string_view format;
  std::size_t offset;
  std::string_view says;
  FormatProblem problem;
  std::u16string_view placeholder = {};
};

using enum FormatProblem;

const BadFormatRow kBadFormats[] = {
    {u"x{text", 1, "no '}' closes", UnclosedOpen},
    {u"a}b{text}", 1, "lone '}'", LoneClose},
    {u"{HEX}", 5, "no {text}", NoText},
    {u"{text}{text}", 6, "twice", TextTwice},
    {u"{rgb}{text}", 0, "{rgb}", UnknownPlaceholder, u"rgb"},
    {u"&#{HEXX}{text}", 2, "unknown placeholder {HEXX}", UnknownPlaceholder, u"HEXX"},
    {u"{codes}{text}", 0, "remove {codes}", CodesOutsideDialect, u"codes"},
    {u"{{text}}", 8, "no {text}", NoText},
    {u"{te{xt}", 0, "no '}' closes", UnclosedOpen},
};

TEST(Format, ABadFormatSaysWhereAndWhy) {
  for (const BadFormatRow& row : kBadFormats) {
    const ParsedFormat parsed = ParseFormat(row.format);
    ASSERT_FALSE(parsed.format) << row.says;
    EXPECT_EQ(parsed.error.offset, row.offset) << row.says;
    EXPECT_NE(parsed.error.message.find(row.says), std::string::npos) << parsed.error.message;
    EXPECT_EQ(parsed.error.problem, row.problem) << row.says;
    EXPECT_EQ(parsed.error.placeholder, row.placeholder) << row.says;
  }
}

// The window's three parts are the format prefix{HEX}middle{text}suffix.
TEST(Format, TheThreePartTemplateIsOneFormat) {
  for (const std::string_view key : {"html", "ubb", "brelvin", "bbcode", "span"}) {
    const MarkupTemplate markup = *FindDialect(key);
    const std::u16string format =
        markup.prefix + u"{HEX}" + markup.middle + u"{text}" + markup.suffix;
    for (const bool escape : {false, true}) {
      StyledSettings settings;
      settings.text = u"  Hi <b>, 论坛 \n ok  ";
      settings.stepText = u"2";
      settings.escape = escape;
      settings.markup = markup;
      const std::u16string expected = GenerateStyledCode(settings);
      settings.markup = Format(format);
      EXPECT_EQ(GenerateStyledCode(settings), expected) << key;
      EXPECT_EQ(StyledText(settings).stats(2).outputCharacters,
                static_cast<std::int64_t>(expected.size()));
    }
  }
}

// The nearest of Discord's eight colours in OKLab, worked out apart from the
// program; neighbours of one colour share one code.
TEST(Format, AnsiTakesTheNearestOfEightColoursAndMergesNeighbours) {
  const std::pair<ColourTriple, std::u16string_view> rows[] = {
      {{255, 0, 0}, u"31"},     {{0, 255, 0}, u"32"},   {{0, 0, 255}, u"34"},
      {{255, 255, 0}, u"37"},   {{255, 0, 255}, u"35"}, {{0, 0, 0}, u"30"},
      {{128, 128, 128}, u"36"}, {{255, 165, 0}, u"33"},
  };
  for (const auto& [colour, code] : rows) {
    EXPECT_EQ(Written(u"ab c", *FindDialect("ansi"), colour, false, 1),
              u"```ansi\n\x1b[0;" + std::u16string(code) + u"mab c\n```");
  }
  StyledSettings settings;
  settings.text = u"abcd";
  settings.gradient.stops = {{255, 0, 0}, {220, 40, 40}, {40, 140, 210}, {0, 0, 255}};
  settings.endpoints = true;  // each chunk exactly on one stop
  settings.markup = *FindDialect("ansi");
  settings.styles.bold = true;
  settings.styles.underline = true;
  EXPECT_EQ(GenerateStyledCode(settings), u"```ansi\n\x1b[0;1;4;31mab\x1b[0;1;4;34mcd\n```");
  EXPECT_EQ(StyledText(settings).stats(1).colouredChunks, 2);
  settings.styles.italic = true;
  EXPECT_THROW(StyledText{settings}, std::invalid_argument);
  // Three backticks would close Discord's block: a zero-width space breaks
  // every run, and one more keeps a zero-width space of the text apart.
  EXPECT_EQ(Written(u"a```b``\u200Bc `", *FindDialect("ansi"), {255, 0, 0}),
            u"```ansi\n\x1b[0;31ma`\u200B`\u200B`b`\u200B`\u200B\u200Bc `\n```");
}

struct StripRow {
  std::u16string_view markup;
  std::string_view as;  // a dialect's key; empty: found from the text
  std::optional<std::u16string_view> text;
  std::size_t errorOffset = 0;
  std::u16string_view says{};
};

const StripRow kStripRows[] = {
    {u"<b><font color=FF0000>a&amp;</font> <font color=00FF00>b</font></b>", "", u"a& b"},
    {u"<span style=\"color:#FF0000;font-weight:bold;text-decoration:underline line-through\">"
     u"&lt;</span>",
     "", u"<"},
    {u"<bold><#FF0000>a <#00FF00>b</bold>", "", u"a b"},
    {u"[{\"text\":\"a\\u00e9\\ud83d\\uDE00\\n\",\"color\":\"#FF0000\",\"bold\":true},"
     u"{\"text\":\" \"},{\"text\":\"\\\"b\",\"color\":\"#00FF00\"}]",
     "", u"a\u00e9\U0001F600\n \"b"},
    {u"```ansi\n\x1b[0;1;31mab\x1b[0;32m\nc\n```", "", u"ab\nc"},
    {u"```ansi\n\x1b[0;31ma`\u200B`\u200B`\x1b[0;32m`\u200B\u200B\u200Bb\n```", "",
     u"a````\u200B\u200Bb"},
    {u"&x&F&F&0&0&0&0&l&oab&x&0&0&F&F&0&0c & d", "", u"abc & d"},
    {u"§x§F§F§0§0§0§0a\n§x§0§0§F§F§0§0b", "", u"a\nb"},
    {u"[COLOR=rgb(255, 0, 0)]a[/COLOR]\t[COLOR=rgb(0, 128, 0)]b[/COLOR]", "", u"a\tb"},
    {u"[color=FF0000]a[/color]", "ubb", u"a"},
    {u"", "", u""},
    {u" \n", "", u" \n"},
    {u"[]", "", u""},
    {u"[color=#FF0000]a[/color][color=#00FF00]b", "", std::nullopt, 24, u"not closed"},
    {u"[color=#FF0000]a[color=#00FF00]b[/color]", "", std::nullopt, 16, u"inside another"},
    {u"[color=#FF0000]a[/color][size=3]b", "", std::nullopt, 24, u"neither"},
    {u"  [/color]", "", std::nullopt, 2, u"no colour markup"},
    {u"[{\"text\":\"a\\q\",\"color\":\"#FF0000\"}]", "", std::nullopt, 11, u"escape"},
    {u"[{\"text\":\"a\",\"color\":\"#FF0000\"}", "json", std::nullopt, 31, u"end with ]"},
    {u"[{\"text\":\"a\",\"color\":\"#FF0000\"}{\"text\":\" \"}]", "json", std::nullopt, 31, u"','"},
    {u"<#FF0000>a", "ubb", std::nullopt, 0, u"neither"},
};

TEST(StripMarkup, ReadsEveryDialectBackOrSaysWhereItStopped) {
  for (const StripRow& row : kStripRows) {
    const std::optional<MarkupTemplate> as = row.as.empty() ? std::nullopt : FindDialect(row.as);
    const Stripped stripped = StripMarkup(row.markup, as ? &*as : nullptr);
    const std::string name(row.markup.begin(), row.markup.end());
    ASSERT_EQ(stripped.text.has_value(), row.text.has_value()) << name;
    if (row.text) {
      EXPECT_EQ(*stripped.text, *row.text) << name;
    } else {
      EXPECT_EQ(stripped.errorOffset, row.errorOffset) << name;
      EXPECT_NE(stripped.error.find(row.says), std::u16string::npos) << name;
    }
  }
}

TEST(StripMarkup, EntitiesAndFormatsOfOnesOwn) {
  const MarkupTemplate ubb = *FindDialect("ubb");
  EXPECT_EQ(StripMarkup(u"[color=FF0000]&lt;&amp;[/color]", &ubb, true).text, u"<&");
  EXPECT_EQ(StripMarkup(u"[color=FF0000]&lt;[/color]", &ubb, false).text, u"&lt;");
  // Where entities are never read, &lt; is text whatever is asked.
  const MarkupTemplate legacy = *FindDialect("legacy");
  EXPECT_EQ(StripMarkup(u"&x&F&F&0&0&0&0a&lt;&amp;", &legacy, true).text, u"a&lt;&amp;");
  const MarkupTemplate own = Format(u"<{hex}>{text:json}</>");
  EXPECT_EQ(StripMarkup(u"<ff0000>a\\n</><00ff00>b</>", &own).text, u"a\nb");
  const MarkupTemplate unreadable = Format(u"{text}{HEX}");
  EXPECT_FALSE(StripMarkup(u"aFF0000", &unreadable).text);
  EXPECT_EQ(PlaceOf(u"ab\n论🇫x", 6).line, 2);
  EXPECT_EQ(PlaceOf(u"ab\n论🇫x", 6).column, 3);
}

}  // namespace
}  // namespace huecode
