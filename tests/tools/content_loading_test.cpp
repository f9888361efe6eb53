// Content pack loading screens: every picture the start-up and episode loaders ask for exists
// and decodes, and the bar frame is clear where additive drawing must let the picture through.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "content.h"
#include "engine/picture.h"
#include "interface.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

TEST(ContentLoading, PicturesExistDecodeAndTheFrameIsClearInside) {
  const fs::path dir =
      fs::temp_directory_path() / ("skerrow_loading_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  content::Output out(dir);
  content::GenerateLoadingScreens(out);
  for (const char* name :
       {"loading", "striper", "stripel", "loadingW1", "loadingW2", "loadingW3", "loadingW4"}) {
    TPixels p;
    TPictureError e;
    ASSERT_TRUE(
        LoadBitmapFile((dir / "textures" / "int" / (std::string(name) + ".qvt")).string(), p, &e))
        << name << ": " << e.text;
    EXPECT_GT(p.width, 0) << name;
    EXPECT_EQ(p.channels, 3) << name;
  }
  TPixels frame;
  ASSERT_TRUE(LoadBitmapFile((dir / "textures/int/stripel.qvt").string(), frame, nullptr));
  const size_t centre = (static_cast<size_t>(frame.height / 2) * frame.width + frame.width / 2) * 3;
  EXPECT_LT(frame.data[centre], 32);  // inside: nearly black, so nothing is added
  EXPECT_GT(frame.data[0], 100);      // the border shows
  // Episode pictures differ from each other.
  TPixels a, b;
  ASSERT_TRUE(LoadBitmapFile((dir / "textures/int/loadingW1.qvt").string(), a, nullptr));
  ASSERT_TRUE(LoadBitmapFile((dir / "textures/int/loadingW2.qvt").string(), b, nullptr));
  EXPECT_NE(a.data, b.data);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace skerrow
