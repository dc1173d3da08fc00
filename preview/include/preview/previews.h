#pragma once

#include <cstdint>

#include "core/conversion.h"
#include "core/gradient_stops.h"
#include "preview/drawing_surface.h"

namespace huecode {

// 256 one-pixel columns from position 0 to 255 of the gradient, on a surface
// scaled to (0, 0)-(255, 10). The window's bar is the two-stop RGB case.
void DrawGradientBar(DrawingSurface& surface, const GradientStops& gradient);

// Every chunk of the text at the step in the colour of its position, on a grid
// of 38 cells per row (cell width FontSize x 20 twips, rows 200 twips). A
// user-perceived character takes one cell, a merged run is printed from the
// cell of its first unit, and bare chunks are printed in their colour too.
void DrawEffectPreview(DrawingSurface& surface, const StyledText& text, std::int32_t step);

}  // namespace huecode
