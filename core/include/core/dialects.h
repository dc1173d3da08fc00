#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/markup_template.h"

namespace huecode {

// One markup dialect. The window's list shows the rows that have an item
// text, in table order; the command line and the web page know every row by
// its key.
struct Dialect {
  std::string_view key;
  std::u16string_view windowItem;  // empty for dialects the window does not list
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
    {"bbcode", u"", u"[color=#", u"]", u"[/color]"},
    {"span", u"", u"<span style=\"color:#", u"\">", u"</span>"},
    // MiniMessage colours everything up to the next tag, so no closing tag is needed.
    {"minimessage", u"", u"<#", u">", u""},
    {"ampersand", u"", u"&#", u"", u""},
}};

inline constexpr std::size_t kWindowDialectCount = 3;

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
