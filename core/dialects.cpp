#include "core/dialects.h"

#include <array>

namespace huecode {

namespace {

constexpr auto kDialects = [] {
  std::array<Dialect, kFormatPresets.size() + 4> all{};
  std::size_t i = 0;
  for (const auto& preset : kFormatPresets) {
    all[i++] = {preset.key, preset.prefix, preset.middle, preset.suffix};
  }
  all[i++] = {"bbcode", u"[color=#", u"]", u"[/color]"};
  all[i++] = {"span", u"<span style=\"color:#", u"\">", u"</span>"};
  // MiniMessage colours everything up to the next tag, so no closing tag is needed.
  all[i++] = {"minimessage", u"<#", u">", u""};
  all[i++] = {"ampersand", u"&#", u"", u""};
  return all;
}();

}  // namespace

std::span<const Dialect> Dialects() {
  return kDialects;
}

std::optional<MarkupTemplate> FindDialect(std::string_view key) {
  for (const auto& dialect : kDialects) {
    if (dialect.key == key) {
      return MarkupTemplate{std::u16string(dialect.prefix), std::u16string(dialect.middle),
                            std::u16string(dialect.suffix)};
    }
  }
  return std::nullopt;
}

}  // namespace huecode
