#include "ui/window_dialects.h"

namespace huecode {

std::optional<MarkupTemplate> WindowPreset(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kWindowDialectCount) {
    return std::nullopt;
  }
  return WindowDialects()[static_cast<std::size_t>(index)].markup();
}

}  // namespace huecode
