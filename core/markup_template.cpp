#include "core/markup_template.h"

namespace huecode {

namespace {

MarkupTemplate FromPreset(const FormatPreset& preset) {
  return {std::u16string(preset.prefix), std::u16string(preset.middle),
          std::u16string(preset.suffix)};
}

}  // namespace

MarkupTemplate InitialTemplate() {
  return {u"[color=#", u"]", u"[/color]"};
}

std::optional<MarkupTemplate> FormatPresets(int index) {
  if (index < 0 || index >= static_cast<int>(kFormatPresets.size())) {
    return std::nullopt;
  }
  return FromPreset(kFormatPresets[static_cast<std::size_t>(index)]);
}

std::optional<MarkupTemplate> FindPreset(std::string_view key) {
  for (const auto& preset : kFormatPresets) {
    if (preset.key == key) {
      return FromPreset(preset);
    }
  }
  return std::nullopt;
}

}  // namespace huecode
