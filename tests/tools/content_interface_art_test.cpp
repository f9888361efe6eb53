// The built pack's story and hero pictures as the selection screens and the intro show them:
// the intro's scenes are painted at the resolution they fill the screen at, and the hero
// portraits are shaded faces, not flat fills.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "engine/picture.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kInt = std::string(SKERROW_BINARY_DIR) + "/gdata/textures/int/";

TPixels Load(const std::string& name) {
  TPixels p;
  TPictureError e;
  EXPECT_TRUE(LoadBitmapFile(kInt + name, p, &e)) << name << ": " << e.text;
  return p;
}

TEST(PackStoryArt, IntroScenesFillAnEightHundredPixelScreen) {
  if (!fs::exists(kInt + "intro0.qvt")) GTEST_SKIP() << "no content pack";
  for (int page = 0; page <= 5; ++page) {
    const TPixels p = Load("intro" + std::to_string(page) + ".qvt");
    EXPECT_GE(p.width, 1024) << "intro" << page;
    EXPECT_GE(p.height, 512) << "intro" << page;
  }
  EXPECT_GE(Load("outro.qvt").width, 1024);
}

// The middle of each face, 60 x 60 pixels of the 256 x 256 portrait: a lit, rounded face has
// hundreds of tones there; a flat fill with a sideways gradient has a few dozen.
TEST(PackStoryArt, HeroPortraitsAreShadedFaces) {
  if (!fs::exists(kInt + "hero1.qvt")) GTEST_SKIP() << "no content pack";
  for (int k = 1; k <= 3; ++k) {
    const TPixels p = Load("hero" + std::to_string(k) + ".qvt");
    ASSERT_EQ(p.width, 256);
    ASSERT_EQ(p.height, 256);
    std::set<int> tones;
    for (int row = 256 - 150; row < 256 - 90; ++row) {  // decoded rows run bottom-up
      for (int col = 98; col < 158; ++col) {
        const uint8_t* c = &p.data[(static_cast<size_t>(row) * 256 + col) * p.channels];
        tones.insert(c[0] << 16 | c[1] << 8 | c[2]);
      }
    }
    EXPECT_GE(tones.size(), 400u) << "hero" << k;
  }
}

}  // namespace
}  // namespace skerrow
