#include "ui/artwork.h"

#include <gtest/gtest.h>

namespace huecode {
namespace {

TEST(ArtworkTest, ButtonPictureIsASaturatedBlueWithALighterStreakLeftOfCentre) {
  const QImage picture = ButtonPicture(1.0);
  ASSERT_EQ(picture.size(), QSize(185, 42));
  double red = 0, green = 0, blue = 0;
  std::vector<double> columnBrightness(185, 0.0);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      ASSERT_EQ(c.alpha(), 255) << x << "," << y;
      red += c.red();
      green += c.green();
      blue += c.blue();
      columnBrightness[static_cast<std::size_t>(x)] += c.red() + c.green() + c.blue();
    }
  }
  const double pixels = 185.0 * 42.0;
  EXPECT_NEAR(red / pixels, 10, 12);
  EXPECT_NEAR(green / pixels, 99, 12);
  EXPECT_NEAR(blue / pixels, 221, 12);
  const auto brightest =
      std::max_element(columnBrightness.begin(), columnBrightness.end()) - columnBrightness.begin();
  EXPECT_LT(brightest, 185 / 2);
  EXPECT_GT(columnBrightness[static_cast<std::size_t>(brightest)], columnBrightness[180] * 1.1);
}

TEST(ArtworkTest, ButtonPictureIsSharpOnHighDpiScreens) {
  const QImage picture = ButtonPicture(2.0);
  EXPECT_EQ(picture.size(), QSize(370, 84));
  EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(185, 42));
}

TEST(ArtworkTest, IconHasYellowRingBlueFigureDarkGroundAndAClearCorner) {
  const QImage icon = ApplicationIcon().pixmap(32, 32).toImage();
  ASSERT_EQ(icon.size(), QSize(32, 32));
  EXPECT_EQ(icon.pixelColor(31, 31).alpha(), 0);
  const QColor ground = icon.pixelColor(1, 30);
  EXPECT_EQ(ground.alpha(), 255);
  EXPECT_GT(ground.blue(), ground.red() + 40);
  EXPECT_LT(ground.value(), 128);
  int yellow = 0;
  int blue = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QColor c = icon.pixelColor(x, y);
      yellow += c.red() > 200 && c.green() > 170 && c.blue() < 100;
      blue += c.blue() > 200 && c.red() < 120 && c.green() > 100;
    }
  }
  EXPECT_GT(yellow, 20);
  EXPECT_GT(blue, 40);
}

}  // namespace
}  // namespace huecode
