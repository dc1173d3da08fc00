#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace huecode {

// The three strings that wrap one coloured chunk: prefix RRGGBB middle chunk suffix.
struct MarkupTemplate {
  std::u16string prefix;
  std::u16string middle;
  std::u16string suffix;

  friend bool operator==(const MarkupTemplate&, const MarkupTemplate&) = default;
};

struct FormatPreset {
  std::string_view key;          // name on the command line
  std::u16string_view itemText;  // item of the window's dialect list
  std::u16string_view prefix;
  std::u16string_view middle;
  std::u16string_view suffix;
};

// The dialects in the order of the window's list.
inline constexpr std::array<FormatPreset, 3> kFormatPresets{{
    {"html", u"Html(网页)", u"<font color=", u">", u"</font>"},
    {"ubb", u"UBB(论坛)", u"[color=", u"]", u"[/color]"},
    {"brelvin", u"Brelvin", u"[ftc=", u"]", u"[/ft]"},
}};

// The template the window opens with. Unlike every preset it has a number
// sign, so conversions before the first preset pick write [color=#RRGGBB].
MarkupTemplate InitialTemplate();

// The template of list index 0..2; nothing for any other index (no selection is -1).
std::optional<MarkupTemplate> FormatPresets(int index);

// The template of a preset named by its key ("html", "ubb", "brelvin").
std::optional<MarkupTemplate> FindPreset(std::string_view key);

}  // namespace huecode
