#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <cstdlib>

#include "preview/previews.h"
#include "render/picture_styles.h"
#include "render/picture_surface.h"
#include "tests/preview/preview_of.h"
#include "tests/render/picture_checks.h"

namespace huecode {
namespace {

using test::InkBounds;
using test::IsInkOf;
using test::kGreen;
using test::kMagenta;

TEST(PictureSurface, SizesFollowTheTwipsAndTheBorder) {
  PictureSurface preview(Picture1Style());
  EXPECT_EQ(preview.logicalSize(), QSize(505, 145));
  EXPECT_EQ(preview.image().size(), QSize(505, 145));
  EXPECT_EQ(preview.ScaleHeight(), 141 * 15.0f) << "twips of the area inside the 2-pixel edge";

  PictureSurface bar(Picture2Style());
  EXPECT_EQ(bar.logicalSize(), QSize(217, 25));
  EXPECT_EQ(bar.ScaleHeight(), 23 * 15.0f);
  bar.Scale(0, 0, 255, 10);
  EXPECT_EQ(bar.ScaleHeight(), 10.0f);

  PictureSurface sharp(Picture2Style(), 2.0);
  EXPECT_EQ(sharp.logicalSize(), QSize(217, 25));
  EXPECT_EQ(sharp.image().size(), QSize(434, 50));
  EXPECT_EQ(sharp.image().devicePixelRatio(), 2.0);
}

struct BarPixel {
  qreal ratio;
  QPoint at;
  QColor expected;
};

TEST(PictureSurface, GradientBarRunsFromEdgeToEdgeOfTheInnerArea) {
  // 256 columns on 215 pixels: each pixel shows the last column drawn on it.
  for (const BarPixel& p :
       {BarPixel{1, {1, 1}, kMagenta}, BarPixel{1, {1, 12}, kMagenta},
        BarPixel{1, {1, 23}, kMagenta}, BarPixel{1, {215, 1}, kGreen},
        BarPixel{1, {215, 23}, kGreen}, BarPixel{1, {108, 12}, QColor(128, 127, 128)},
        BarPixel{1, {109, 12}, QColor(127, 128, 127)}, BarPixel{2, {2, 2}, kMagenta},
        BarPixel{2, {431, 47}, kGreen}}) {
    PictureSurface bar(Picture2Style(), p.ratio);
    bar.Scale(0, 0, 255, 10);
    DrawGradientBar(bar, GradientStops{{{255, 0, 255}, {0, 255, 0}}});
    EXPECT_EQ(bar.image().pixelColor(p.at), p.expected)
        << "ratio " << p.ratio << " at " << p.at.x() << "," << p.at.y();
  }
}

TEST(PictureSurface, ClsClearsTheInnerAreaAndKeepsTheBorder) {
  const PictureStyle style = Picture2Style();
  PictureSurface bar(style);
  const QColor border = bar.image().pixelColor(0, 0);
  bar.Scale(0, 0, 255, 10);
  DrawGradientBar(bar, GradientStops{{{255, 0, 255}, {0, 255, 0}}});
  bar.Cls();
  EXPECT_TRUE(InkBounds(bar.image(), QRect(1, 1, 215, 23), style.background).isEmpty());
  EXPECT_EQ(bar.image().pixelColor(0, 0), border);
  EXPECT_EQ(bar.image().pixelColor(216, 24), border);
  EXPECT_NE(border, style.background) << "the flat border must be visible";
}

TEST(PictureSurface, SunkenEdgeIsDarkAtTheTopLeftAndLightAtTheBottomRight) {
  PictureSurface preview(Picture1Style());
  const QImage& image = preview.image();
  for (const int ring : {0, 1}) {
    EXPECT_LT(image.pixelColor(ring, 70).lightness(), image.pixelColor(504 - ring, 70).lightness());
    EXPECT_LT(image.pixelColor(250, ring).lightness(),
              image.pixelColor(250, 144 - ring).lightness());
  }
}

TEST(PictureSurface, LineTakesAColourValueInBlueGreenRedOrder) {
  PictureSurface bar(Picture2Style());
  bar.Scale(0, 0, 255, 10);
  bar.DrawWidth(3);
  bar.Line(0, 5, 255, 5, 0x00123456);
  EXPECT_EQ(bar.image().pixelColor(100, 13), QColor(0x56, 0x34, 0x12));
}

TEST(PictureSurface, DrawingOutsideTheScaleIsClipped) {
  const PictureStyle style = Picture2Style();
  PictureSurface bar(style);
  const QImage before = bar.image().copy();
  bar.Scale(0, 0, 255, 10);
  bar.DrawWidth(1);
  bar.Line(-1, 0, -1, 10, 0x0000FF);
  bar.Line(256, 0, 256, 10, 0x0000FF);
  bar.Line(0, 11, 255, 11, 0x0000FF);
  bar.Line(-1e30f, 1e30f, 1e30f, 1e30f, 0x0000FF);
  bar.CurrentX(3e38f);
  bar.CurrentY(-3e38f);
  bar.Print(u"far away");
  EXPECT_EQ(bar.image(), before);
}

TEST(PictureSurface, DrawWidthIsInPixels) {
  const PictureStyle style = Picture1Style();
  PictureSurface preview(style);
  preview.DrawWidth(3);
  preview.Line(1500, 0, 1500, 1500, 0x000000FF);
  const QImage& image = preview.image();
  // Twip 1500 is pixel 100 of the inner area, which starts after the 2-pixel edge.
  EXPECT_EQ(image.pixelColor(101, 50), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(102, 50), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(103, 50), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(100, 50), style.background);
  EXPECT_EQ(image.pixelColor(104, 50), style.background);
}

TEST(PictureSurface, FontSizeReadsBackTheSizeReallyUsed) {
  for (const float written : {10.0f, 9.0f, 14.0f}) {
    PictureStyle style = Picture1Style();
    PictureSurface preview(style);
    preview.FontSize(written);
    style.font.setPointSizeF(written);
    EXPECT_EQ(preview.FontSize(), static_cast<float>(QFontInfo(style.font).pointSizeF()));
  }
}

TEST(PictureSurface, PrintPutsTheTopLeftOfTheTextAtTheCurrentPosition) {
  const PictureStyle style = Picture1Style();
  PictureSurface preview(style);
  preview.FontSize(10);
  preview.ForeColor(ComposeColour({200, 60, 20}));
  preview.CurrentX(1500);
  preview.CurrentY(600);
  preview.Print(u"H");
  // Twips (1500, 600) are pixel (100, 40) of the inner area.
  const QRect ink = InkBounds(preview.image(), QRect(2, 2, 501, 141), style.background);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 102);
  EXPECT_LE(ink.left(), 104);
  EXPECT_GE(ink.top(), 42);
  EXPECT_LE(ink.bottom(), 42 + 20);
  EXPECT_TRUE(IsInkOf(preview.image(), ink, style.background, QColor(200, 60, 20)));
}

TEST(PictureSurface, PrintLeavesTheBackgroundBehindTheGlyphs) {
  PictureSurface preview(Picture1Style());
  preview.DrawWidth(40);
  preview.Line(0, 0, 7000, 0, 0x0000FF00);
  preview.ForeColor(0x00FF0000);
  preview.Print(u"_");
  const QImage& image = preview.image();
  const QRect band(2, 2, 30, 18);
  EXPECT_EQ(image.pixelColor(3, 3), QColor(0, 255, 0)) << "above the underscore's ink";
  EXPECT_TRUE(IsInkOf(image, band, QColor(0, 255, 0), QColor(0, 0, 255)));
}

TEST(PictureSurface, LineBreaksInPrintedTextStayOnOneLine) {
  const PictureStyle style = Picture1Style();
  PictureSurface alone(style);
  alone.Print(u"ab");
  PictureSurface broken(style);
  broken.Print(u"ab\r\ncd");
  const QRect area(2, 2, 501, 141);
  const QRect first = InkBounds(alone.image(), area, style.background);
  const QRect all = InkBounds(broken.image(), area, style.background);
  ASSERT_FALSE(first.isEmpty());
  EXPECT_LE(all.bottom(), first.bottom() + 3) << "cd must not move to a new line";
  EXPECT_GT(all.right(), first.right() + 5) << "cd follows on the same line";
}

TEST(PictureSurface, PrintIsClippedToTheInnerArea) {
  PictureSurface preview(Picture1Style());
  const QImage before = preview.image().copy();
  preview.FontSize(10);
  preview.CurrentX(7400);
  preview.CurrentY(2000);
  preview.Print(u"WWWWWWWW");
  const QImage& after = preview.image();
  for (int y = 0; y < 145; ++y) {
    for (const int x : {503, 504}) {
      ASSERT_EQ(after.pixelColor(x, y), before.pixelColor(x, y)) << x << "," << y;
    }
  }
  for (int x = 0; x < 505; ++x) {
    ASSERT_EQ(after.pixelColor(x, 144), before.pixelColor(x, 144)) << x;
  }
}

}  // namespace
}  // namespace huecode
