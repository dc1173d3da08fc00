#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/markup_template.h"

namespace huecode {

// One markup dialect. The window's list shows the first rows, in table
// order; the command line and the web page know every row by its key.
struct Dialect {
  std::string_view key;
  std::u16string_view label;  // how a list names it; for the window's rows, the item text
  std::u16string_view prefix;
  std::u16string_view middle;
  std::u16string_view suffix;

  MarkupTemplate markup() const {
    return {std::u16string(prefix), std::u16string(middle), std::u16string(suffix)};
  }
};

// No preset writes a number sign before the digits, and the HTML one writes
// no quotes round them.
inline constexpr std::array<Dialect, 7> kDialects{{
    {"html", u"Html(网页)", u"<font color=", u">", u"</font>"},
    {"ubb", u"UBB(论坛)", u"[color=", u"]", u"[/color]"},
    {"brelvin", u"Brelvin", u"[ftc=", u"]", u"[/ft]"},
    {"bbcode", u"BBCode [color=#]", u"[color=#", u"]", u"[/color]"},
    {"span", u"HTML <span style>", u"<span style=\"color:#", u"\">", u"</span>"},
    // MiniMessage colours everything up to the next tag, so no closing tag is needed.
    {"minimessage", u"MiniMessage <#>", u"<#", u">", u""},
    {"ampersand", u"&# (Minecraft)", u"&#", u"", u""},
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

}  // namespace huecode
