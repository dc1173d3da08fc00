#pragma once

#include "core/gradient_stops.h"
#include "core/styled_conversion.h"
#include "preview/drawing_surface.h"

namespace huecode {

// The effect preview of the command line's conversion: DrawEffectPreview's
// grid, with the chunks and colours of StyledText. A grapheme cluster takes
// one cell, and a merged run is printed from the cell of its first unit. With
// the window's settings it draws exactly what DrawEffectPreview draws.
void DrawStyledEffectPreview(DrawingSurface& surface, const StyledSettings& settings);

// DrawGradientBar for any stops and colour space: 256 columns from position 0
// to 255 of the gradient, on a surface scaled to (0, 0)-(255, 10).
void DrawStyledGradientBar(DrawingSurface& surface, const GradientStops& gradient);

}  // namespace huecode
