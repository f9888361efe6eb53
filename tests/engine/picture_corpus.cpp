// Conformance over real-world files that nobody here wrote (../shared/corpus beside the
// project root): every reader either reads each file or refuses it with its own error.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/file3ds.h"
#include "engine/obj_reader.h"
#include "engine/picture.h"
#include "support/png_reader.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
  return fs::path(SKERROW_SOURCE_DIR) / ".." / "shared" / "corpus";
}

std::vector<fs::path> FilesIn(const fs::path& dir, const std::vector<std::string>& extensions) {
  std::vector<fs::path> out;
  if (!fs::is_directory(dir)) return out;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::string ext = e.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (std::find(extensions.begin(), extensions.end(), ext) != extensions.end())
      out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

#define SKIP_WITHOUT_CORPUS() \
  if (!fs::is_directory(CorpusDir())) GTEST_SKIP() << "no corpus beside the project"

TEST(PictureCorpus, GoodBitmapsMatchTheirReferenceRenderings) {
  SKIP_WITHOUT_CORPUS();
  int compared = 0;
  for (const fs::path& file : FilesIn(CorpusDir() / "bmp" / "g", {".bmp"})) {
    SCOPED_TRACE(file.filename().string());
    TPixels p;
    TPictureError error;
    ASSERT_TRUE(LoadBitmapFile(file.string(), p, &error)) << error.text;
    ASSERT_EQ(p.data.size(), size_t(p.width) * p.height * 3);
    // References are named after the picture, with a suffix of the variant for a few.
    std::string stem = file.stem().string();
    fs::path ref = CorpusDir() / "bmp" / "ref" / (stem + ".png");
    while (!fs::exists(ref) && !stem.empty()) {
      stem.pop_back();
      ref = CorpusDir() / "bmp" / "ref" / (stem + ".png");
    }
    if (stem.size() < 4) continue;  // no rendering of this one
    testsupport::PngImage png;
    ASSERT_TRUE(testsupport::ReadPng(ref.string(), png)) << ref;
    // A shortened name may hit a rendering of another variant (the non-square one).
    if (ref.stem() != file.stem() && (png.width != p.width || png.height != p.height)) continue;
    ASSERT_EQ(png.width, p.width);
    ASSERT_EQ(png.height, p.height);
    int worst = 0;
    for (int32_t y = 0; y < p.height; ++y) {
      // Decoded rows are bottom-up, the rendering's top-down.
      const uint8_t* a = p.data.data() + size_t(p.height - 1 - y) * p.width * 3;
      const uint8_t* b = png.rgb.data() + size_t(y) * p.width * 3;
      for (int32_t i = 0; i < p.width * 3; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    EXPECT_LE(worst, 1) << "against " << ref.filename();
    ++compared;
  }
  EXPECT_GT(compared, 10);
}

TEST(PictureCorpus, QuestionableAndBrokenBitmapsDecodeOrAreRefused) {
  SKIP_WITHOUT_CORPUS();
  for (const char* dir : {"q", "b"}) {
    for (const fs::path& file : FilesIn(CorpusDir() / "bmp" / dir, {".bmp"})) {
      SCOPED_TRACE(file.string());
      TPixels p;
      TPictureError error;
      if (LoadBitmapFile(file.string(), p, &error)) {
        EXPECT_EQ(p.data.size(), size_t(p.width) * p.height * 3);
        EXPECT_GT(HalvePixels(p).width, 0);
      } else {
        EXPECT_EQ(error.caption, "BMP Unit");
        EXPECT_TRUE(p.data.empty());
      }
      // The direct 24-bit loader either takes the file or names what it refused.
      TPixels direct;
      if (!LoadBmp24File(file.string(), direct, &error)) {
        EXPECT_FALSE(error.text.empty());
      }
    }
  }
}

TEST(PictureCorpus, ModelsReadOrFailWithTheReaderError) {
  SKIP_WITHOUT_CORPUS();
  int read = 0;
  for (const fs::path& file : FilesIn(CorpusDir() / "3ds", {".3ds"})) {
    SCOPED_TRACE(file.string());
    try {
      TFile3DS f(file.string());
      f.DatabaseRelease();
      f.Atmosphere();
      for (int i = 0; i < f.Materials().Count(); ++i) f.Materials().Material(i);
      for (int i = 0; i < f.Objects().MeshCount(); ++i) {
        const TMesh3DS m = f.Objects().Mesh(i);
        for (const TFace3DS& face : m.faces) ASSERT_LT(face.c, m.vertices.size());
      }
      for (int i = 0; i < f.KeyFramer().MeshNodeCount(); ++i) f.KeyFramer().MeshNode(i);
      ++read;
    } catch (const E3DSError&) {
    }
  }
  EXPECT_GT(read, 5);
}

TEST(PictureCorpus, TerrainPiecesReadOrFailWithAConversionError) {
  SKIP_WITHOUT_CORPUS();
  int read = 0;
  for (const fs::path& file : FilesIn(CorpusDir() / "obj", {".obj"})) {
    SCOPED_TRACE(file.string());
    TOBJModel m;
    try {
      m.LoadFromFile(file.string());
      ++read;
    } catch (const EOBJError& e) {
      EXPECT_NE(std::string(e.what()).find("is not a valid floating point value"),
                std::string::npos);
    }
    EXPECT_GE(m.Groups.size(), 1u);
  }
  EXPECT_GT(read, 10);
}

}  // namespace
}  // namespace skerrow
