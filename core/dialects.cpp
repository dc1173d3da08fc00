#include "core/dialects.h"

namespace huecode {

static_assert(
    [] {
      for (std::size_t k = 0; k < kDialects.size(); ++k) {
        if (kDialects[k].windowItem.empty() != (k >= kWindowDialectCount)) {
          return false;
        }
      }
      return true;
    }(),
    "the window's dialects come first and only they have list items");

MarkupTemplate InitialTemplate() {
  return {u"[color=#", u"]", u"[/color]"};
}

std::optional<MarkupTemplate> FormatPresets(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kWindowDialectCount) {
    return std::nullopt;
  }
  return kDialects[static_cast<std::size_t>(index)].markup();
}

std::optional<MarkupTemplate> FindDialect(std::string_view key) {
  for (const Dialect& dialect : kDialects) {
    if (dialect.key == key) {
      return dialect.markup();
    }
  }
  return std::nullopt;
}

}  // namespace huecode
