#pragma once

#include <string>

namespace huecode {

// The three strings that wrap one coloured chunk: prefix RRGGBB middle chunk suffix,
// or a format string.
struct MarkupTemplate {
  std::u16string prefix;
  std::u16string middle;
  std::u16string suffix;
  // A format string (see markup_format.h): when not empty, it writes each
  // chunk instead of the three parts.
  std::u16string format{};

  friend bool operator==(const MarkupTemplate&, const MarkupTemplate&) = default;
};

// The template the window opens with: the bbcode dialect's. Unlike the
// window's own three presets it has a number sign, so conversions before the
// first preset pick write [color=#RRGGBB].
MarkupTemplate InitialTemplate();

}  // namespace huecode
