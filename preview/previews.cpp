#include "preview/previews.h"

#include "preview/detail/effect_grid.h"

namespace huecode {

void DrawGradientBar(DrawingSurface& surface, const GradientStops& gradient) {
  const GradientSampler sampler(gradient);
  surface.Cls();
  surface.DrawWidth(1);
  for (std::int32_t column = 0; column <= 255; ++column) {
    const auto x = static_cast<float>(column);
    surface.Line(x, 0.0f, x, 10.0f, ComposeColour(sampler.at(column, 255)));
  }
}

void DrawEffectPreview(DrawingSurface& surface, const StyledText& text, std::int32_t step) {
  surface.FontSize(10.0f);
  surface.Cls();
  const float bottom = surface.ScaleHeight();
  // Stopping at the first chunk below the bottom edge makes a text of a
  // million characters cost no more than one that fills the box.
  text.forEachChunk(step, [&](const StyledChunk& chunk) {
    return detail::PrintInCell(surface, bottom, chunk.position, ComposeColour(chunk.colour),
                               chunk.text);
  });
}

}  // namespace huecode
