#include "core/dialects.h"

namespace huecode {

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
