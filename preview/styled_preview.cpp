#include "preview/styled_preview.h"

#include <cstdint>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "core/grapheme.h"
#include "preview/effect_grid.h"
#include "preview/previews.h"

namespace huecode {

namespace {

bool AsTheWindow(const StyledSettings& settings) {
  return settings.gradient.stops.size() == 2 && settings.gradient.space == ColourSpace::Rgb &&
         !settings.step && settings.by == Segmentation::Characters && !settings.merge;
}

}  // namespace

void DrawStyledEffectPreview(DrawingSurface& surface, const StyledSettings& settings) {
  if (AsTheWindow(settings)) {
    // The window's own drawing stops at the bottom edge instead of walking
    // every chunk of a long text.
    DrawEffectPreview(surface, {settings.text, settings.stepText, settings.gradient.stops[0],
                                settings.gradient.stops[1], settings.markup});
    return;
  }
  surface.FontSize(10.0f);
  surface.Cls();
  const StyledText styled(settings);
  const std::u16string_view text = TrimSpaces(settings.text);
  // A chunk's cell is the index of its first unit, found by walking these
  // boundaries alongside the chunks, which come in text order.
  const std::vector<std::uint32_t> boundaries =
      settings.by == Segmentation::Graphemes ? GraphemeBoundaries(text) : CharacterBoundaries(text);
  const GradientSampler sampler(settings.gradient);
  const float bottom = surface.ScaleHeight();
  std::size_t unit = 0;
  bool belowTheBox = false;
  styled.forEachChunk(styled.step(), [&](const StyledChunk& chunk) {
    if (belowTheBox) {
      return;
    }
    const auto offset = static_cast<std::uint32_t>(chunk.text.data() - text.data());
    while (boundaries[unit] < offset) {
      ++unit;
    }
    const auto position = static_cast<std::int32_t>(unit + 1);
    // Blank chunks carry no tag, but the window's preview still prints them
    // in their gradient colour.
    const ColourTriple colour =
        chunk.coloured ? chunk.colour : sampler.at(position, styled.units());
    belowTheBox =
        !detail::PrintInCell(surface, bottom, position, ComposeColour(colour), chunk.text);
  });
}

void DrawStyledGradientBar(DrawingSurface& surface, const GradientStops& gradient) {
  const GradientSampler sampler(gradient);
  surface.Cls();
  surface.DrawWidth(1);
  for (std::int32_t column = 0; column <= 255; ++column) {
    const auto x = static_cast<float>(column);
    surface.Line(x, 0.0f, x, 10.0f, ComposeColour(sampler.at(column, 255)));
  }
}

}  // namespace huecode
