#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "core/dialects.h"
#include "core/markup_template.h"

namespace huecode {

// The window's dialect list: the first rows of the core's table, in order.
inline constexpr std::size_t kWindowDialectCount = 3;

constexpr std::span<const Dialect> WindowDialects() {
  return std::span(kDialects).first<kWindowDialectCount>();
}

// The template of the list's item at this index (0 to 2), or nothing for any
// other index, such as -1 when no item is selected.
std::optional<MarkupTemplate> WindowPreset(int index);

}  // namespace huecode
