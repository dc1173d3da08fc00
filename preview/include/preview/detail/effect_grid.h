#pragma once

#include <cstdint>
#include <string_view>

#include "core/colour.h"
#include "preview/drawing_surface.h"

namespace huecode::detail {

// Prints a chunk in the grid cell of its 1-based position: 38 cells per row,
// each FontSize x 20 twips wide, rows 200 twips high. Returns false without
// drawing when the cell's row starts at or below bottom; rows only grow, so
// nothing after it could be seen either.
bool PrintInCell(DrawingSurface& surface, float bottom, std::int64_t position, ColourValue colour,
                 std::u16string_view text);

}  // namespace huecode::detail
