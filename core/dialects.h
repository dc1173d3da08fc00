#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/markup_template.h"

namespace huecode {

// Every dialect the command line knows: the window's three presets first,
// then boards that only the command line serves.
struct Dialect {
  std::string_view key;
  std::u16string_view prefix;
  std::u16string_view middle;
  std::u16string_view suffix;
};

std::span<const Dialect> Dialects();

std::optional<MarkupTemplate> FindDialect(std::string_view key);

}  // namespace huecode
