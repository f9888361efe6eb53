// The desktop icon: every hicolor size written as a PNG that a PNG reader decodes back to the
// drawn pixels, transparent outside the round picture.
#include "icon.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/png_reader.h"
#include "support/temp_dir.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

TEST(Icon, EverySizeDecodesToTheDrawnPixels) {
  const fs::path dir = test::ScratchDir("icons");
  GenerateIcons(dir);
  for (const int size : kIconSizes) {
    const std::string n = std::to_string(size);
    testsupport::PngImage png;
    ASSERT_TRUE(testsupport::ReadPng((dir / (n + "x" + n) / "apps" / "skerrow.png").string(), png))
        << size;
    ASSERT_EQ(png.width, size);
    ASSERT_EQ(png.height, size);
    const std::vector<uint8_t> rgba = DrawIcon(size);
    size_t differing = 0;
    for (size_t i = 0; i < static_cast<size_t>(size) * size; ++i) {
      for (int c = 0; c < 3; ++c) differing += png.rgb[i * 3 + c] != rgba[i * 4 + c];
    }
    EXPECT_EQ(differing, 0u) << size;
    EXPECT_EQ(rgba[3], 0) << "a transparent corner at " << size;
    EXPECT_EQ(rgba[(static_cast<size_t>(size / 2) * size + size / 2) * 4 + 3], 255) << size;
  }
}

TEST(Icon, PixelsThatDoNotMatchTheSizeAreRefused) {
  const std::vector<uint8_t> three(3 * 4);
  EXPECT_THROW(EncodePngRgba(2, 2, three), std::runtime_error);
  EXPECT_THROW(EncodePngRgba(0, 0, {}), std::runtime_error);
  EXPECT_NO_THROW(EncodePngRgba(1, 3, three));
}

}  // namespace
}  // namespace skerrow::content
