#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/conversion.h"
#include "core/text_codes.h"

namespace huecode {
namespace {

struct CodeRow {
  TextCodes codes;
  std::u16string_view text;
  bool escaped;
  std::optional<std::size_t> offset;  // nothing: no code
  std::size_t length = 0;
  std::u16string_view effect{};
  bool escapable = false;
};

// Which sequences each dialect's readers take as codes, worked out from
// Minecraft's, MiniMessage's, HTML's and the terminals' rules.
const CodeRow kCodeRows[] = {
    {TextCodes::Legacy, u"a&laa", false, 1, 2, u"bold", true},
    {TextCodes::Legacy, u"a&g&#123456&X", false, 11, 2, u"the start of a hex colour", true},
    {TextCodes::Ampersand, u"a&g&#123456", false, 3, 8, u"a hex colour", true},
    {TextCodes::Ampersand, u"&l&§z", true, 3, 2, u"nothing shows, both characters are dropped"},
    {TextCodes::Section, u"a&l b§", false, 5, 1, u"nothing shows, it is dropped with the"},
    {TextCodes::Json, u"x§Ky", false, 1, 2, u"obfuscated text"},
    {TextCodes::MiniMessage, u"a<x> <3 <red:'>'>b", false, 8, 9, u"a tag", true},
    {TextCodes::MiniMessage, u"a\\b \\<", false, 4, 2, u"an escape", true},
    {TextCodes::MiniMessage, u"<b> \\\\ §r", true, 7, 2, u"a reset", false},
    {TextCodes::Html, u"a < b &c; &#38;", false, 6, 3, u"an entity", true},
    {TextCodes::Html, u"a <b>", true, std::nullopt},
    {TextCodes::Ansi, u"a\x1b[1m", false, 1, 1, u"the start of a terminal code"},
    {TextCodes::None, u"[b]&l§<", false, std::nullopt},
};

TEST(TextCodes, EachDialectNamesTheFirstCodeItsReadersTake) {
  for (const CodeRow& row : kCodeRows) {
    const std::string name(row.text.begin(), row.text.end());
    const std::optional<TextCode> code = FirstTextCode(row.codes, row.text, row.escaped);
    ASSERT_EQ(code.has_value(), row.offset.has_value()) << name;
    if (code) {
      EXPECT_EQ(code->offset, *row.offset) << name;
      EXPECT_EQ(code->length, row.length) << name;
      EXPECT_TRUE(code->effect.starts_with(row.effect)) << name;
      EXPECT_EQ(code->escapable, row.escapable) << name;
    }
  }
}

struct WrittenRow {
  std::string_view dialect;
  std::u16string_view text;
  std::int32_t step;
  bool escape;
  std::u16string_view markup;  // for FF0000 throughout
};

// CR LF stays in one chunk outside the window's dialects; the ansi block
// keeps a blank first and last line; escaping writes each dialect's means.
const WrittenRow kWrittenRows[] = {
    {"legacy", u"aa\r\na", 3, false, u"&x&F&F&0&0&0&0aa\r\n&x&F&F&0&0&0&0a"},
    {"ubb", u"aa\r\na", 3, false, u"[color=FF0000]aa\r[/color][color=FF0000]\na[/color]"},
    {"json", u"a\r\n", 2, false, u"[{\"text\":\"a\\r\\n\",\"color\":\"#FF0000\"}]"},
    {"ansi", u"\n a\n\t", 1, false, u"```ansi\n\u200B\n \x1b[0;31ma\n\t\u200B\n```"},
    {"ampersand", u"&#&l", 4, true, u"&#FF0000&&#FF0000#&&#FF0000l"},
    {"minimessage", u"<b>\\", 4, true, u"<#FF0000>\\<b>\\\\"},
    {"minimessage", u"a\\<b\\", 2, false, u"<#FF0000>a\\\\<#FF0000><b<#FF0000>\\\\"},
};

TEST(TextCodes, LineBreaksAndEscapesAsEachDestinationNeedsThem) {
  for (const WrittenRow& row : kWrittenRows) {
    StyledSettings settings;
    settings.text = std::u16string(row.text);
    settings.step = row.step;
    settings.escape = row.escape;
    settings.gradient.stops = {{255, 0, 0}, {255, 0, 0}};
    settings.markup = *FindDialect(row.dialect);
    const StyledText text(settings);
    EXPECT_EQ(text.markup(row.step), row.markup) << row.dialect;
    EXPECT_EQ(text.stats(row.step).outputCharacters, CountCharacters(row.markup)) << row.dialect;
  }
}

}  // namespace
}  // namespace huecode
