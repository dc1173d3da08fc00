#include "preview/previews.h"

#include <cmath>
#include <cstdint>

#include "core/chunks.h"

namespace huecode {

namespace detail {
namespace {

constexpr std::int32_t kColumnsPerRow = 38;
constexpr std::int32_t kTwipsPerPoint = 20;
constexpr std::int64_t kRowHeight = 200;

// The cell's left edge: the reported font size times the column's offset in
// twips at one point, rounded half to even like every float-to-integer step.
std::int32_t CellX(float fontSize, std::int32_t column) {
  const double x = static_cast<double>(fontSize) * ((column - 1) * kTwipsPerPoint);
  return static_cast<std::int32_t>(std::nearbyint(x));
}

}  // namespace
}  // namespace detail

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
    const std::int32_t column = (chunk.position - 1) % detail::kColumnsPerRow + 1;
    const std::int64_t row = (chunk.position - 1) / detail::kColumnsPerRow;
    // Rows only grow, so the first chunk that starts at or below the bottom
    // edge ends the drawing: nothing after it could be seen, and a text of a
    // million characters costs no more than one that fills the box.
    const std::int64_t y = row * detail::kRowHeight;
    if (static_cast<double>(y) >= static_cast<double>(bottom)) {
      return false;
    }
    const ColourTriple colour =
        GradientColour(settings.start, settings.end, chunk.position, plan.length);
    const std::int32_t x = detail::CellX(surface.FontSize(), column);
    surface.ForeColor(ComposeColour(colour));
    surface.CurrentX(static_cast<float>(x));
    surface.CurrentY(static_cast<float>(y));
    surface.Print(chunk.text);
    return true;
  });
}

}  // namespace huecode
