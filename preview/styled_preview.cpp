#include "preview/styled_preview.h"

#include <cstdint>

#include "core/chunks.h"
#include "core/conversion.h"
#include "preview/effect_grid.h"
#include "preview/previews.h"

namespace huecode {

void DrawStyledEffectPreview(DrawingSurface& surface, const StyledSettings& settings) {
  if (const auto window = WindowSettingsOf(settings)) {
    // The window's own drawing stops at the bottom edge instead of walking
    // every chunk of a long text.
    DrawEffectPreview(surface, *window);
    return;
  }
  surface.FontSize(10.0f);
  surface.Cls();
  const StyledText styled(settings);
  const GradientSampler sampler(settings.gradient);
  const float bottom = surface.ScaleHeight();
  bool belowTheBox = false;
  styled.forEachChunk(styled.step(), [&](const StyledChunk& chunk) {
    if (belowTheBox) {
      return;
    }
    // Blank chunks carry no tag, but the window's preview still prints them
    // in their gradient colour.
    const ColourTriple colour =
        chunk.coloured ? chunk.colour : sampler.at(chunk.position, styled.units());
    belowTheBox =
        !detail::PrintInCell(surface, bottom, chunk.position, ComposeColour(colour), chunk.text);
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
