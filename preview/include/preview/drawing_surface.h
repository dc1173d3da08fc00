#pragma once

#include <string_view>

#include "core/colour.h"

namespace huecode {

// What the previews draw on: the operations of a picture box. Coordinates are
// in the surface's user scale (twips until Scale is called). Drawing is
// persistent: it stays until the next Cls.
class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Maps (x1, y1) onto the top-left and (x2, y2) onto the bottom-right corner of the inner area.
  virtual void Scale(float x1, float y1, float x2, float y2) = 0;
  // Clears to the background colour and moves the print position to the top left.
  virtual void Cls() = 0;
  // Width in pixels of what Line draws.
  virtual void DrawWidth(int pixels) = 0;
  virtual void Line(float x1, float y1, float x2, float y2, ColourValue colour) = 0;

  // Writes the font size in points; reading returns the size really used,
  // which need not be the one written.
  virtual void FontSize(float points) = 0;
  virtual float FontSize() const = 0;
  virtual void ForeColor(ColourValue colour) = 0;
  virtual void CurrentX(float x) = 0;
  virtual void CurrentY(float y) = 0;
  // Draws the glyphs of the text at (CurrentX, CurrentY), top-left aligned,
  // leaving the background behind them untouched. Never starts a new line.
  virtual void Print(std::u16string_view text) = 0;

  // Height of the inner area in the user scale: nothing starting below it can be seen.
  virtual float ScaleHeight() const = 0;
};

}  // namespace huecode
