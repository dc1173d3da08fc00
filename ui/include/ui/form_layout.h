#pragma once

#include <QRect>

namespace huecode {

// Layouts are written in twips, 1/1440 inch: 15 to a logical pixel at 96 dpi.
// Qt's device pixel ratio scales logical pixels on high-DPI screens.
inline constexpr int kTwipsPerPixel = 15;

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Each edge is rounded to the nearest pixel on its own, so that controls whose
// edges meet in twips also meet in pixels.
constexpr int TwipsToPixels(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect ToPixels(TwipsRect r) {
  const int left = TwipsToPixels(r.left);
  const int top = TwipsToPixels(r.top);
  return QRect(left, top, TwipsToPixels(r.left + r.width) - left,
               TwipsToPixels(r.top + r.height) - top);
}

}  // namespace huecode
