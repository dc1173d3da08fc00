#include "core/markup_template.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

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
