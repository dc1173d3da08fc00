#pragma once

#include "core/colour.h"
#include "core/conversion.h"
#include "preview/drawing_surface.h"

namespace huecode {

// 256 one-pixel columns from start (column 0) to end (column 255), on a
// surface scaled to (0, 0)-(255, 10).
void DrawGradientBar(DrawingSurface& surface, ColourTriple start, ColourTriple end);

// Every chunk of the trimmed text in the colour the conversion gives it, on a
// grid of 38 cells per row (cell width FontSize x 20 twips, rows 200 twips).
void DrawEffectPreview(DrawingSurface& surface, const ConversionSettings& settings);

}  // namespace huecode
