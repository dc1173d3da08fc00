#pragma once

#include <array>
#include <cstddef>
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

// One markup dialect. The window's list shows the first rows, in table
// order; the command line and the web page know every row by its key.
struct Dialect {
  std::string_view key;
  std::u16string_view label;  // how a list names it; for the window's rows, the item text
  std::u16string_view prefix;
  std::u16string_view middle;
  std::u16string_view suffix;
  DialectStyles styles{};

  MarkupTemplate markup() const {
    return {std::u16string(prefix), std::u16string(middle), std::u16string(suffix)};
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

}  // namespace detail

// The window's three presets write no number sign before the digits (the
// other dialects do), and the HTML one writes no quotes round them. Brelvin
// has no known formatting codes.
inline constexpr std::array<Dialect, 7> kDialects{{
    {"html", u"Html(网页)", u"<font color=", u">", u"</font>", detail::kHtmlStyles},
    {"ubb", u"UBB(论坛)", u"[color=", u"]", u"[/color]", detail::kBracketStyles},
    {"brelvin", u"Brelvin", u"[ftc=", u"]", u"[/ft]"},
    {"bbcode", u"BBCode [color=#]", u"[color=#", u"]", u"[/color]", detail::kBracketStyles},
    {"span", u"HTML <span style>", u"<span style=\"color:#", u"\">", u"</span>",
     detail::kSpanStyles},
    // MiniMessage colours everything up to the next tag, so no closing tag is needed.
    {"minimessage", u"MiniMessage <#>", u"<#", u">", u"", detail::kMiniMessageStyles},
    {"ampersand", u"&# (Minecraft)", u"&#", u"", u"", detail::kAmpersandStyles},
}};

inline constexpr std::size_t kWindowDialectCount = 3;

// The window's list opens showing this row's item text over the initial
// template, which is not the row's own.
inline constexpr std::size_t kInitialDialect = 1;

// The window's list, in order.
constexpr std::span<const Dialect> WindowDialects() {
  return std::span(kDialects).first<kWindowDialectCount>();
}

constexpr std::span<const Dialect> Dialects() {
  return kDialects;
}

// The template of the window's list index 0..2; nothing for any other index
// (no selection is -1).
std::optional<MarkupTemplate> FormatPresets(int index);

std::optional<MarkupTemplate> FindDialect(std::string_view key);

// The dialect whose template this is, or nothing for a template of the user's
// own. The template the window opens with is the bbcode one.
const Dialect* DialectOf(const MarkupTemplate& markup);

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
