// Content pack HUD art: every HUD picture the interface loader asks for exists and decodes
// with its alpha companion, the bar panel lets the bars show through its slots, the large
// font holds each Windows-1251 character in its 32 x 32 cell, column-major, and the upgrade
// panel's text stands out from its picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "content.h"
#include "engine/picture.h"
#include "font_raster.h"
#include "render/hud.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

class ContentHudArt : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fs::path(fs::temp_directory_path() / ("skerrow_hud_" + std::to_string(::getpid())));
    fs::remove_all(*dir_);
    content::Output out(*dir_);
    content::GenerateHudArt(out);
    // Written after the HUD art, as the pack is: its window parchment is the params.qvt the
    // game loads for the upgrade panel too.
    content::GenerateInterfaceArt(out);
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir_);
    delete dir_;
  }
  static TPixels Load(const std::string& rel) {
    TPixels p;
    TPictureError e;
    EXPECT_TRUE(LoadBitmapFile((*dir_ / rel).string(), p, &e)) << rel << ": " << e.text;
    return p;
  }
  // Red channel at (x, y) counted from the top.
  static int Red(const TPixels& p, int x, int y) {
    return p.data[(static_cast<size_t>(p.height - 1 - y) * p.width + x) * p.channels];
  }
  static fs::path* dir_;
};
fs::path* ContentHudArt::dir_ = nullptr;

TEST_F(ContentHudArt, EveryHudPictureDecodesWithItsAlpha) {
  const char* pairs[] = {"interfacetex", "minimap", "cross",  "target",   "fort",  "ship1", "ship2",
                         "ship3",        "kompas",  "params", "podlogka", "haste", "undead"};
  for (const char* n : pairs) {
    const TPixels colour = Load(std::string("textures/int/") + n + ".qvt");
    const TPixels alpha = Load(std::string("textures/int/") + n + "a.qvt");
    EXPECT_EQ(colour.width, alpha.width) << n;
    EXPECT_EQ(colour.height, alpha.height) << n;
  }
  for (const char* n : {"parbtn", "exit0", "exit1", "exit2", "exit3", "stripe1", "stripe1A",
                        "stripe2", "stripe2A", "stripe3", "stripe3A", "key", "islander", "numbers",
                        "Cursor1", "Cursor1A", "font1", "font1d"}) {
    EXPECT_GT(Load(std::string("textures/int/") + n + ".qvt").width, 0) << n;
  }
  EXPECT_GT(Load("textures/effects/dim.qvt").width, 0);
  EXPECT_GT(Load("textures/effects/dima.qvt").width, 0);
}

TEST_F(ContentHudArt, BarPanelIsClearOverTheBarsAndSolidBesideThem) {
  const TPixels a = Load("textures/int/interfacetexa.qvt");
  // The panel covers 0..21 % x 72..100 % of the display; the life bar shows at 5.4..19.9 %
  // across and 94.55..98.95 % down.
  auto at = [&](double xPercent, double yPercent) {
    return Red(a, static_cast<int>(xPercent / 21 * a.width),
               static_cast<int>((yPercent - 72) / 28 * a.height));
  };
  EXPECT_EQ(at(12, 96.75), 0);
  EXPECT_EQ(at(12, 85.6), 0);
  EXPECT_EQ(at(12, 91.1), 0);
  EXPECT_GT(at(2, 96.75), 150);
  EXPECT_GT(at(12, 94), 150);  // between the rows
}

TEST_F(ContentHudArt, LargeFontCellsAreColumnMajor) {
  const TPixels a = Load("textures/int/font1d.qvt");
  ASSERT_EQ(a.width, 512);
  ASSERT_EQ(a.height, 512);
  auto cover = [&](int code) {
    int sum = 0;
    const int x0 = 32 * (code / 16), y0 = 32 * (code % 16);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) sum += Red(a, x0 + x, y0 + y);
    return sum;
  };
  // 'x', '1', Cyrillic capital Zhe and small ya carry ink; blank and control cells none.
  for (int code : {0x78, 0x31, 0xC6, 0xFF}) EXPECT_GT(cover(code), 255 * 20) << code;
  for (int code : {0x20, 0x00, 0x0A, 0x98}) EXPECT_EQ(cover(code), 0) << code;
  // The same glyph straight from the rasteriser, at the cell the layout gives 'x'.
  std::vector<uint8_t> glyph;
  int advance = 0;
  content::RasterGlyphCp1251(0x78, 32, 24, glyph, advance);
  EXPECT_GT(advance, 5);
  EXPECT_LT(advance, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_EQ(Red(a, 32 * 7 + x, 32 * 8 + y), glyph[static_cast<size_t>(y) * 32 + x]);
}

// WCAG 2 relative luminance of an sRGB colour, and the contrast ratio of two luminances.
double Luminance(double r, double g, double b) {
  const auto lin = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}
double Contrast(double a, double b) {
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// Every texel of the upgrade panel as the HUD blends it (params.qvt times the sky colour times
// the panel's shade, at its alpha, over the scene), under the brightest sky (white, the sky every
// level starts toward) and over a black and a white scene: the labels and the values keep 4.5 : 1.
TEST_F(ContentHudArt, UpgradePanelTextHasContrastAgainstThePanel) {
  const TPixels colour = Load("textures/int/params.qvt");
  const TPixels alpha = Load("textures/int/paramsa.qvt");
  ASSERT_EQ(colour.width * colour.height, alpha.width * alpha.height);
  const Color4f text[] = {kUpgradeLabelColour, kUpgradeValueColour};
  double worst = 1e9;
  for (size_t i = 0; i < static_cast<size_t>(colour.width) * colour.height; ++i) {
    const uint8_t* c = &colour.data[i * colour.channels];
    const double a = alpha.data[i * alpha.channels] / 255.0;
    for (double scene : {0.0, 1.0}) {
      double bg[3];
      for (int k = 0; k < 3; ++k) bg[k] = a * c[k] / 255.0 * kUpgradePanelShade + (1 - a) * scene;
      const double lb = Luminance(bg[0], bg[1], bg[2]);
      for (const Color4f& t : text) worst = std::min(worst, Contrast(Luminance(t.r, t.g, t.b), lb));
    }
  }
  EXPECT_GE(worst, 4.5);
}

// Text drawn small (the version line "Версия: 1.01" at 800 x 600 shrinks a 32-texel cell to about
// 17 pixels) keeps its stops: the point and the colon hold a solid block of 4 x 4 texels.
TEST_F(ContentHudArt, LargeFontStopsSurviveSmallText) {
  const TPixels a = Load("textures/int/font1d.qvt");
  ASSERT_EQ(a.width, 512);
  for (int code : {'.', ':', ','}) {
    const int x0 = 32 * (code / 16), y0 = 32 * (code % 16);
    double best = 0;
    for (int y = 0; y + 4 <= 32; ++y)
      for (int x = 0; x + 4 <= 32; ++x) {
        double sum = 0;
        for (int dy = 0; dy < 4; ++dy)
          for (int dx = 0; dx < 4; ++dx) sum += Red(a, x0 + x + dx, y0 + y + dy);
        best = std::max(best, sum / 16);
      }
    EXPECT_GE(best, 200) << "code " << code;
  }
}

}  // namespace
}  // namespace skerrow
