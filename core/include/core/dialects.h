#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/markup_template.h"

namespace huecode {

// The formatting a conversion may add to the colour: bold, italic, underline
// and strikethrough, in this order wherever codes are listed.
struct Styles {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;

  bool any() const { return bold || italic || underline || strike; }
  std::array<bool, 4> asked() const { return {bold, italic, underline, strike}; }
  friend bool operator==(const Styles&, const Styles&) = default;
};

// Where a dialect writes its formatting codes: once around the coloured text
// (opened before the first tag, closed after the last), or again in every
// colour tag, after the colour digits (for dialects whose colour resets the
// formatting, or whose tag carries it in one attribute).
enum class StylePlacement { NoCodes, AroundText, InEveryTag };

struct DialectStyles {
  StylePlacement placement = StylePlacement::NoCodes;
  std::array<std::u16string_view, 4> open{};   // bold, italic, underline, strike
  std::array<std::u16string_view, 4> close{};  // around the text only
  // Codes in a tag that begin with this head are one declaration: the second
  // adds its value after a space (CSS text-decoration takes several lines).
  std::u16string_view sharedHead{};
};

// What a format dialect writes around its chunks: before the first and after
// the last (also for an empty text), between two chunks, and the format of a
// blank chunk (empty: the blanks as they are). A code block (fenced with
// backticks) has the backtick runs in its text broken, so that none closes it.
struct FormatFrame {
  std::u16string_view before{};
  std::u16string_view between{};
  std::u16string_view after{};
  std::u16string_view bare{};
  bool codeBlock = false;
  bool json = false;  // the whole markup is one JSON value
};

// How a dialect's readers take HTML entities (&amp; &lt; &gt;) in the text.
// A browser always decodes them: the markup is HTML, and a text's own &, <
// and > need escaping to show. A board turns BBCode into HTML, so entities
// written on request (HTML-safe text) show as their characters. A game
// server, a chat or a JSON reader never decodes them: they would show as
// typed, or worse be read as codes (&l in &lt; is bold), so HTML-safe text is
// refused there.
enum class Entities : std::uint8_t { Decoded, OnRequest, Never };

// One markup dialect. The window's list shows the first rows, in table
// order; the command line and the web page know every row by its key.
struct Dialect {
  std::string_view key;
  std::u16string_view label;  // how a list names it; for the window's rows, the item text
  std::u16string_view prefix;
  std::u16string_view middle;
  std::u16string_view suffix;
  DialectStyles styles{};
  // A dialect that prefix, digits and middle cannot write has a format
  // string instead (see markup_format.h), and no three parts.
  std::u16string_view format{};
  FormatFrame frame{};
  // The name in English (label is the Chinese one), as the page and the
  // extension show it.
  std::u16string_view englishLabel{};
  Entities entities = Entities::OnRequest;
  // The Chinese name in a sentence's punctuation, where the window's item
  // text (label) keeps the half-width brackets it has always shown.
  std::u16string_view chineseLabel{};

  // The markup is HTML: a text's own &, < and > need escaping to show.
  constexpr bool html() const { return entities == Entities::Decoded; }

  MarkupTemplate markup() const {
    return {std::u16string(prefix), std::u16string(middle), std::u16string(suffix),
            std::u16string(format)};
  }
};

namespace detail {

using enum StylePlacement;

inline constexpr DialectStyles kHtmlStyles{
    AroundText, {u"<b>", u"<i>", u"<u>", u"<s>"}, {u"</b>", u"</i>", u"</u>", u"</s>"}};
inline constexpr DialectStyles kBracketStyles{
    AroundText, {u"[b]", u"[i]", u"[u]", u"[s]"}, {u"[/b]", u"[/i]", u"[/u]", u"[/s]"}};
// In the style attribute that holds the colour.
inline constexpr DialectStyles kSpanStyles{
    InEveryTag,
    {u";font-weight:bold", u";font-style:italic", u";text-decoration:underline",
     u";text-decoration:line-through"},
    {},
    u";text-decoration:"};
inline constexpr DialectStyles kMiniMessageStyles{
    AroundText,
    {u"<bold>", u"<italic>", u"<underlined>", u"<strikethrough>"},
    {u"</bold>", u"</italic>", u"</underlined>", u"</strikethrough>"}};
// A colour code resets the formatting, so it follows every colour code.
inline constexpr DialectStyles kAmpersandStyles{InEveryTag, {u"&l", u"&o", u"&n", u"&m"}};
inline constexpr DialectStyles kSectionStyles{InEveryTag, {u"§l", u"§o", u"§n", u"§m"}};
// Minecraft's text components: every component carries its own.
inline constexpr DialectStyles kJsonStyles{
    InEveryTag,
    {u",\"bold\":true", u",\"italic\":true", u",\"underlined\":true", u",\"strikethrough\":true"}};
// Discord's code blocks show bold and underline, no italic or strikethrough.
inline constexpr DialectStyles kAnsiStyles{InEveryTag, {u"1;", u"", u"4;", u""}};

inline constexpr FormatFrame kJsonFrame{u"[",  u",", u"]", u"{{\"text\":\"{text:json}\"}}",
                                        false, true};
inline constexpr FormatFrame kAnsiFrame{u"```ansi\n", u"", u"\n```", u"", true};

}  // namespace detail

// The window's three presets write no number sign before the digits, and the
// HTML one writes no quotes round them. Brelvin has no known formatting codes.
inline constexpr std::array<Dialect, 12> kDialects{{
    {"html",
     u"Html(网页)",
     u"<font color=",
     u">",
     u"</font>",
     detail::kHtmlStyles,
     {},
     {},
     u"HTML font tags",
     Entities::Decoded,
     u"Html（网页）"},
    {"ubb",
     u"UBB(论坛)",
     u"[color=",
     u"]",
     u"[/color]",
     detail::kBracketStyles,
     {},
     {},
     u"UBB (forums)",
     Entities::OnRequest,
     u"UBB（论坛）"},
    {"brelvin", u"Brelvin", u"[ftc=", u"]", u"[/ft]", {}, {}, {}, u"Brelvin"},
    {"bbcode",
     u"BBCode [color=#]",
     u"[color=#",
     u"]",
     u"[/color]",
     detail::kBracketStyles,
     {},
     {},
     u"BBCode [color=#]"},
    {"span",
     u"HTML <span style>",
     u"<span style=\"color:#",
     u"\">",
     u"</span>",
     detail::kSpanStyles,
     {},
     {},
     u"HTML <span style>",
     Entities::Decoded},
    // MiniMessage colours everything up to the next tag, so no closing tag is needed.
    {"minimessage",
     u"MiniMessage <#>",
     u"<#",
     u">",
     u"",
     detail::kMiniMessageStyles,
     {},
     {},
     u"MiniMessage <#>",
     Entities::Never},
    {"ampersand",
     u"&# (Minecraft)",
     u"&#",
     u"",
     u"",
     detail::kAmpersandStyles,
     {},
     {},
     u"&# (Minecraft)",
     Entities::Never},
    // Game servers read the digits one code each, after &x.
    {"legacy",
     u"&x&R&R… 十六进制（游戏服务器）",
     {},
     {},
     {},
     detail::kAmpersandStyles,
     u"&x&{R1}&{R2}&{G1}&{G2}&{B1}&{B2}{codes}{text}",
     {},
     u"&x&R&R… hex (game servers)",
     Entities::Never},
    {"section",
     u"§x§R§R… 分节符代码（服务器列表）",
     {},
     {},
     {},
     detail::kSectionStyles,
     u"§x§{R1}§{R2}§{G1}§{G2}§{B1}§{B2}{codes}{text}",
     {},
     u"§x§R§R… section sign (server list)",
     Entities::Never},
    {"json",
     u"JSON 文本组件（/tellraw）",
     {},
     {},
     {},
     detail::kJsonStyles,
     u"{{\"text\":\"{text:json}\",\"color\":\"#{HEX}\"{codes}}}",
     detail::kJsonFrame,
     u"JSON text components (/tellraw)",
     Entities::Never},
    {"rgb",
     u"[COLOR=rgb()] 十进制颜色",
     {},
     {},
     {},
     {},
     u"[COLOR=rgb({red}, {green}, {blue})]{text}[/COLOR]",
     {},
     u"[COLOR=rgb()] decimal colours"},
    // Eight text colours only; a reset first, so each code sets all it means.
    {"ansi",
     u"ANSI 代码块（Discord）",
     {},
     {},
     {},
     detail::kAnsiStyles,
     u"\x1b[0;{codes}3{ansi}m{text}",
     detail::kAnsiFrame,
     u"ANSI code block (Discord)",
     Entities::Never},
}};

// The window's list opens showing this row's item text over the initial
// template, which is not the row's own.
inline constexpr std::size_t kInitialDialect = 1;

constexpr std::span<const Dialect> Dialects() {
  return kDialects;
}

std::optional<MarkupTemplate> FindDialect(std::string_view key);

// The row of the dialect with this key, or nothing.
const Dialect* DialectByKey(std::string_view key);

// The dialect whose template this is, or nothing for a template of the user's
// own. The template the window opens with is the bbcode one.
const Dialect* DialectOf(const MarkupTemplate& markup);

// Whether HTML-safe text (entities for &, < and >) may be written with this
// template: not in a dialect whose readers never decode entities; a template
// of one's own is the user's to judge.
bool AllowsEntities(const MarkupTemplate& markup);

// What the asked formatting adds to the markup: opening codes before the
// first colour tag, codes after the digits of every tag, closing codes after
// the last tag, nested so that what opens last closes first.
struct StyleMarkup {
  std::u16string open;
  std::u16string inTag;
  std::u16string close;
};

// Nothing when formatting is asked of a template that has no codes for it: a
// dialect without any (brelvin) or a template of the user's own.
std::optional<StyleMarkup> ComposeStyles(const MarkupTemplate& markup, Styles styles);

}  // namespace huecode
