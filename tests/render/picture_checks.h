#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <cmath>
#include <cstdlib>

namespace huecode::test {

inline const QColor kMagenta(255, 0, 255);
inline const QColor kGreen(0, 255, 0);

// The smallest rectangle of pixels that differ from the colour, or an empty one.
inline QRect InkBounds(const QImage& image, const QRect& area, const QColor& background) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(x, y) != background) {
        bounds |= QRect(x, y, 1, 1);
      }
    }
  }
  return bounds;
}

// Anti-aliased text leaves pixels that mix the ink with the background; true
// when every pixel in the area is such a mix and at least one shows some ink.
inline bool IsInkOf(const QImage& image, const QRect& area, const QColor& background,
                    const QColor& ink) {
  const int channels[2][3] = {{background.red(), background.green(), background.blue()},
                              {ink.red(), ink.green(), ink.blue()}};
  int widest = 0;
  for (int i = 1; i < 3; ++i) {
    if (std::abs(channels[1][i] - channels[0][i]) >
        std::abs(channels[1][widest] - channels[0][widest])) {
      widest = i;
    }
  }
  bool anyInk = false;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      const int pixel[3] = {p.red(), p.green(), p.blue()};
      const double t =
          double(pixel[widest] - channels[0][widest]) / (channels[1][widest] - channels[0][widest]);
      for (int i = 0; i < 3; ++i) {
        const double mixed = channels[0][i] + t * (channels[1][i] - channels[0][i]);
        if (t < -0.02 || t > 1.02 || std::abs(pixel[i] - mixed) > 4) {
          return false;
        }
      }
      anyInk = anyInk || t > 0.3;
    }
  }
  return anyInk;
}

}  // namespace huecode::test
