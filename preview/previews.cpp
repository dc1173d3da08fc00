#include "preview/previews.h"

#include "core/chunks.h"
#include "preview/effect_grid.h"

namespace huecode {

void DrawGradientBar(DrawingSurface& surface, ColourTriple start, ColourTriple end) {
  surface.Cls();
  surface.DrawWidth(1);
  for (std::int32_t column = 0; column <= 255; ++column) {
    const ColourValue colour = ComposeColour(GradientColour(start, end, column, 255));
    const auto x = static_cast<float>(column);
    surface.Line(x, 0.0f, x, 10.0f, colour);
  }
}

void DrawEffectPreview(DrawingSurface& surface, const ConversionSettings& settings) {
  surface.FontSize(10.0f);
  surface.Cls();
  // The same plan as the conversion, so every chunk is cut and coloured
  // exactly as the markup will have it.
  const ChunkPlan plan = PlanChunks(settings.text, settings.stepText);
  const float bottom = surface.ScaleHeight();
  ForEachChunk(plan, [&](const Chunk& chunk) {
    // Stopping at the first chunk below the bottom edge makes a text of a
    // million characters cost no more than one that fills the box.
    const ColourTriple colour =
        GradientColour(settings.start, settings.end, chunk.position, plan.length);
    return detail::PrintInCell(surface, bottom, chunk.position, ComposeColour(colour), chunk.text);
  });
}

}  // namespace huecode
