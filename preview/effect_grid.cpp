#include "preview/detail/effect_grid.h"

#include <cmath>

namespace huecode::detail {

namespace {

constexpr std::int64_t kColumnsPerRow = 38;
constexpr std::int64_t kTwipsPerPoint = 20;
constexpr std::int64_t kRowHeight = 200;

// The cell's left edge: the reported font size times the column's offset in
// twips at one point, rounded half to even like every float-to-integer step.
std::int32_t CellX(float fontSize, std::int64_t column) {
  const double x =
      static_cast<double>(fontSize) * static_cast<double>((column - 1) * kTwipsPerPoint);
  return static_cast<std::int32_t>(std::nearbyint(x));
}

}  // namespace

bool PrintInCell(DrawingSurface& surface, float bottom, std::int64_t position, ColourValue colour,
                 std::u16string_view text) {
  const std::int64_t column = (position - 1) % kColumnsPerRow + 1;
  const std::int64_t row = (position - 1) / kColumnsPerRow;
  const std::int64_t y = row * kRowHeight;
  if (static_cast<double>(y) >= static_cast<double>(bottom)) {
    return false;
  }
  const std::int32_t x = CellX(surface.FontSize(), column);
  surface.ForeColor(colour);
  surface.CurrentX(static_cast<float>(x));
  surface.CurrentY(static_cast<float>(y));
  surface.Print(text);
  return true;
}

}  // namespace huecode::detail
