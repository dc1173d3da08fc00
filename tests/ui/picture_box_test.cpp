#include <gtest/gtest.h>

#include "render/picture_styles.h"
#include "tests/preview/preview_of.h"
#include "tests/render/picture_checks.h"
#include "ui/picture_box.h"

namespace huecode {
namespace {

using test::IsInkOf;
using test::kGreen;
using test::kMagenta;

TEST(PictureBox, KeepsItsDrawingAcrossRepaints) {
  PictureBox box(Picture2Style());
  EXPECT_EQ(box.size(), QSize(217, 25));
  EXPECT_EQ(box.focusPolicy(), Qt::StrongFocus);
  DrawingSurface& surface = box.surface();
  surface.Scale(0, 0, 255, 10);
  DrawGradientBar(surface, GradientStops{{{255, 0, 255}, {0, 255, 0}}});
  box.show();
  for (int round = 0; round < 2; ++round) {
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 12), kMagenta) << "round " << round;
    EXPECT_EQ(shown.pixelColor(215, 12), kGreen) << "round " << round;
    box.hide();
    box.showMinimized();
    box.showNormal();
    box.repaint();
  }
  EXPECT_EQ(box.surface().image().pixelColor(1, 12), kMagenta);
}

TEST(PictureBox, ShowsTheEffectPreview) {
  const PictureStyle style = Picture1Style();
  PictureBox box(style);
  ConversionSettings settings;
  settings.text = u"HHH";
  test::DrawPreviewOf(box.surface(), settings);
  const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
  // At the realised 9.75 points the cells are 195 twips, 13 pixels, wide.
  EXPECT_TRUE(IsInkOf(shown, QRect(2, 2, 13, 20), style.background, QColor(170, 85, 170)));
  EXPECT_TRUE(IsInkOf(shown, QRect(2 + 13, 2, 13, 20), style.background, QColor(85, 170, 85)));
  EXPECT_TRUE(IsInkOf(shown, QRect(2 + 26, 2, 13, 20), style.background, QColor(0, 255, 0)));
}

}  // namespace
}  // namespace huecode
