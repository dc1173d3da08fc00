#include "core/markup_template.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "core/conversion.h"
#include "core/dialects.h"

namespace huecode {
namespace {

TEST(MarkupTemplate, WindowOpensWithTheNumberSignForm) {
  EXPECT_EQ(InitialTemplate(), (MarkupTemplate{u"[color=#", u"]", u"[/color]"}));
}

TEST(FindDialect, RowsByCommandLineKey) {
  EXPECT_EQ(FindDialect("html"), (MarkupTemplate{u"<font color=", u">", u"</font>"}));
  EXPECT_EQ(FindDialect("ubb"), (MarkupTemplate{u"[color=", u"]", u"[/color]"}));
  EXPECT_EQ(FindDialect("brelvin"), (MarkupTemplate{u"[ftc=", u"]", u"[/ft]"}));
  for (std::string_view key : {"", "xml", "html "}) {
    EXPECT_FALSE(FindDialect(key).has_value()) << key;
  }
}

// A template with a format is the dialect's with that format whatever its
// parts hold; one without, the format-less dialect's whose parts all match.
TEST(DialectOf, ByTheFormatElseByEveryPart) {
  const std::u16string_view rgb = u"[COLOR=rgb({red}, {green}, {blue})]{text}[/COLOR]";
  const std::pair<MarkupTemplate, std::string_view> cases[] = {
      {{u"[ftc=", u"]", u"[/ft]"}, "brelvin"},
      {{u"[ftc=", u"]", u"[/FT]"}, ""},
      {{u"x", u"]", u"[/ft]"}, ""},
      {{u"<font color=", u">", u"</font>"}, "html"},
      {{u"[ftc=", u"]", u"[/ft]", std::u16string(rgb)}, "rgb"},
      {{u"", u"", u"", std::u16string(rgb)}, "rgb"},
      {{u"", u"", u"", u"[C={red}] {text}"}, ""},
      {{u"", u"", u""}, ""},  // empty parts are not a format dialect's
  };
  for (const auto& [markup, key] : cases) {
    const Dialect* dialect = DialectOf(markup);
    EXPECT_EQ(dialect == nullptr ? std::string_view() : dialect->key, key)
        << std::string(markup.prefix.begin(), markup.prefix.end());
  }
}

// A one-character text sits at the end of the gradient, so with equal end
// points its single chunk carries exactly that colour.
std::u16string ConvertA(const MarkupTemplate& markup) {
  ConversionSettings settings;
  settings.text = u"a";
  settings.stepText = u"1";
  settings.start = {255, 0, 255};
  settings.end = {255, 0, 255};
  settings.markup = markup;
  return GenerateCode(settings);
}

TEST(MarkupTemplate, OneChunkPerTemplate) {
  EXPECT_EQ(ConvertA(InitialTemplate()), u"[color=#FF00FF]a[/color]");
  EXPECT_EQ(ConvertA(*FindDialect("html")), u"<font color=FF00FF>a</font>");
  EXPECT_EQ(ConvertA(*FindDialect("ubb")), u"[color=FF00FF]a[/color]");
  EXPECT_EQ(ConvertA(*FindDialect("brelvin")), u"[ftc=FF00FF]a[/ft]");
}

TEST(MarkupTemplate, AnyStringsAreCopiedVerbatim) {
  EXPECT_EQ(ConvertA({u"", u"", u""}), u"FF00FFa");
  EXPECT_EQ(ConvertA({u"<span style=\"color:#", u"\">", u"</span>"}),
            u"<span style=\"color:#FF00FF\">a</span>");
  EXPECT_EQ(ConvertA({u"\r\n颜色 ", u"\t", u"&amp;\\"}), u"\r\n颜色 FF00FF\ta&amp;\\");
}

}  // namespace
}  // namespace huecode

namespace huecode {
namespace {

// Every row names itself in both languages; the HTML rows are the two whose
// markup is HTML elements. Written out here as the page used to know them.
// Game servers, chat and JSON readers never decode entities.
TEST(Dialects, EveryRowHasBothNamesAndSaysWhetherItIsHtml) {
  const std::set<std::string_view> html{"html", "span"};
  const std::set<std::string_view> never{"minimessage", "ampersand", "legacy",
                                         "section",     "json",      "ansi"};
  for (const Dialect& dialect : Dialects()) {
    EXPECT_FALSE(dialect.label.empty()) << dialect.key;
    EXPECT_FALSE(dialect.englishLabel.empty()) << dialect.key;
    EXPECT_EQ(dialect.html(), html.contains(dialect.key)) << dialect.key;
    EXPECT_EQ(AllowsEntities(dialect.markup()), !never.contains(dialect.key)) << dialect.key;
  }
  EXPECT_EQ(FindDialect("html")->prefix, u"<font color=");
  EXPECT_EQ(kDialects[0].englishLabel, u"HTML font tags");
  EXPECT_EQ(kDialects[1].englishLabel, u"UBB (forums)");
}

}  // namespace
}  // namespace huecode
