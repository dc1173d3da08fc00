#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "process_runner.h"

namespace huecode {
namespace {

using test::ProcessResult;

const std::string kCli = HUECODE_CLI_PATH;

// Rendering must work with neither a display nor a chosen platform.
ProcessResult RunHeadless(const std::vector<std::string>& args) {
  return test::RunProcess(kCli, args, {},
                          {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"});
}

class PngOutput : public ::testing::Test {
 protected:
  PngOutput() {
    std::string pattern = ::testing::TempDir() + "huecode-png-XXXXXX";
    m_dir = mkdtemp(pattern.data());
  }
  ~PngOutput() override { std::filesystem::remove_all(m_dir); }

  std::string Path(const std::string& name) const { return (m_dir / name).string(); }

  static QImage Load(const std::string& path) {
    QImage image(QString::fromStdString(path));
    return image.convertToFormat(QImage::Format_RGB32);
  }

  std::filesystem::path m_dir;
};

// Pixels of exactly the colour inside the rectangle [x0, x1) x [y0, y1).
int CountColour(const QImage& image, QColor colour, int x0, int x1, int y0, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      count += image.pixelColor(x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

int LeftmostColumnOf(const QImage& image, QColor colour, int y0, int y1) {
  for (int x = 0; x < image.width(); ++x) {
    if (CountColour(image, colour, x, x + 1, y0, y1) > 0) {
      return x;
    }
  }
  return -1;
}

TEST_F(PngOutput, PreviewHasTheBoxSizeAndEachGlyphInItsChunkColour) {
  const std::string png = Path("preview.png");
  const ProcessResult result = RunHeadless({"--preview-png", png, "--", "\u2588\u2588\u2588"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");  // no notes from Qt about its runtime folder
  EXPECT_EQ(result.out,
            "[color=#AA55AA]\u2588[/color][color=#55AA55]\u2588[/color][color=#00FF00]\u2588[/"
            "color]\n");

  const QImage image = Load(png);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(505, 145));  // 7575 x 2175 twips at 15 twips per pixel

  // Full blocks leave solid pixels of exactly the chunk colour. Row 0 is 200
  // twips (13 pixels) high, though a block may reach a little below it.
  const QColor first(170, 85, 170);
  const QColor second(85, 170, 85);
  const QColor third(0, 255, 0);
  const int firstX = LeftmostColumnOf(image, first, 0, 13);
  const int secondX = LeftmostColumnOf(image, second, 0, 13);
  const int thirdX = LeftmostColumnOf(image, third, 0, 13);
  EXPECT_GE(firstX, 2);  // inside the sunken border
  EXPECT_LE(firstX, 4);
  EXPECT_GT(secondX, firstX + 8);
  EXPECT_GT(thirdX, secondX + 8);
  EXPECT_GT(CountColour(image, first, 0, secondX, 0, 13), 20);
  EXPECT_EQ(CountColour(image, first, secondX, image.width(), 0, image.height()), 0);
  EXPECT_EQ(CountColour(image, first, 0, image.width(), 26, image.height()), 0);
}

TEST_F(PngOutput, BarRunsFromStartColourToEndColourInsideItsBorder) {
  const std::string png = Path("bar.png");
  const ProcessResult result =
      RunHeadless({"--start", "102030", "--end", "#a0b0c0", "--bar-png", png, "x"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const QImage image = Load(png);
  ASSERT_EQ(image.size(), QSize(217, 25));  // 3255 x 375 twips
  for (const int y : {1, 12, 23}) {
    EXPECT_EQ(image.pixelColor(1, y), QColor(0x10, 0x20, 0x30)) << y;
    EXPECT_EQ(image.pixelColor(215, y), QColor(0xA0, 0xB0, 0xC0)) << y;
  }
  const QColor middle = image.pixelColor(108, 12);
  EXPECT_GT(middle.red(), 0x10);
  EXPECT_LT(middle.red(), 0xA0);
}

TEST_F(PngOutput, BarRunsThroughTheRainbowAndBlendsInOklab) {
  const std::string rainbow = Path("rainbow.png");
  ASSERT_EQ(RunHeadless({"--rainbow", "--bar-png", rainbow, "x"}).exitCode, 0);
  const QImage rainbowBar = Load(rainbow);
  ASSERT_EQ(rainbowBar.size(), QSize(217, 25));
  EXPECT_EQ(rainbowBar.pixelColor(1, 12), QColor(255, 0, 0));
  EXPECT_EQ(rainbowBar.pixelColor(215, 12), QColor(139, 0, 255));

  const std::string rgb = Path("rgb.png");
  const std::string oklab = Path("oklab.png");
  ASSERT_EQ(RunHeadless({"--bar-png", rgb, "x"}).exitCode, 0);
  ASSERT_EQ(RunHeadless({"--space", "oklab", "--bar-png", oklab, "x"}).exitCode, 0);
  const QImage rgbBar = Load(rgb);
  const QImage oklabBar = Load(oklab);
  EXPECT_EQ(oklabBar.pixelColor(1, 12), QColor(255, 0, 255));
  EXPECT_EQ(oklabBar.pixelColor(215, 12), QColor(0, 255, 0));
  // RGB passes through a dark grey; OKLab stays lighter.
  EXPECT_GT(oklabBar.pixelColor(108, 12).lightness(), rgbBar.pixelColor(108, 12).lightness() + 30);
}

// The preview shows the colours the markup has, also for the step --fit chose.
TEST_F(PngOutput, PreviewShowsTheMarkupsColours) {
  const std::string blocks = "\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588";
  const std::regex digits(R"(#([0-9A-F]{6})\])");
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--rainbow"}, std::vector<std::string>{"--space", "oklab"},
        std::vector<std::string>{"--via", "0000FF", "--via", "FFFF00"},
        std::vector<std::string>{"--fit", "150"}}) {
    std::vector<std::string> args = options;
    const std::string png = Path("styled.png");
    args.insert(args.end(), {"--preview-png", png, blocks});
    const ProcessResult result = RunHeadless(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QImage image = Load(png);
    int chunks = 0;
    for (auto it = std::sregex_iterator(result.out.begin(), result.out.end(), digits);
         it != std::sregex_iterator(); ++it, ++chunks) {
      const QColor colour(QString::fromStdString("#" + (*it)[1].str()));
      EXPECT_GT(CountColour(image, colour, 0, image.width(), 0, 13), 20)
          << options.front() << " " << (*it)[1].str();
    }
    EXPECT_EQ(chunks, options.front() == "--fit" ? 5 : 10) << options.front();
  }
  // At step 2 the last chunk starts one character before the end, so the end
  // colour, which step 1 would give the last block, is nowhere.
  const QColor end(0, 255, 0);
  EXPECT_EQ(CountColour(Load(Path("styled.png")), end, 0, 505, 0, 145), 0);
}

TEST_F(PngOutput, BothPicturesWithTheMarkupAndNothingElse) {
  const ProcessResult plain = RunHeadless({"--step", "2", "abcde"});
  const ProcessResult result = RunHeadless(
      {"--step", "2", "--preview-png", Path("p.png"), "--bar-png", Path("b.png"), "abcde"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, plain.out);
  EXPECT_FALSE(Load(Path("p.png")).isNull());
  EXPECT_FALSE(Load(Path("b.png")).isNull());
}

TEST_F(PngOutput, ReplacesAnExistingFile) {
  const std::string png = Path("old.png");
  std::ofstream(png) << "not a picture";
  ASSERT_EQ(RunHeadless({"--bar-png", png, "x"}).exitCode, 0);
  EXPECT_EQ(Load(png).size(), QSize(217, 25));
}

TEST_F(PngOutput, UnwritablePathIsAnErrorThatWritesNothing) {
  const std::string good = Path("good.png");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--preview-png", Path("missing/p.png"), "ab"},
        std::vector<std::string>{"--bar-png", m_dir.string(), "ab"},
        std::vector<std::string>{"--preview-png", good, "--bar-png", Path("missing/b.png"),
                                 "ab"}}) {
    const ProcessResult result = RunHeadless(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("huecode-cli: cannot write '"), std::string::npos) << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists(good)) << "a picture was written despite the failure";
}

TEST_F(PngOutput, UsageErrorsComeBeforeAnyPicture) {
  const std::string png = Path("p.png");
  const ProcessResult result = RunHeadless({"--preview-png", png, "--start", "FFF", "ab"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace huecode
