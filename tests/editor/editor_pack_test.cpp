// The content pack holds the editor's previews: "Create" on the Units tab is enabled for every
// kind that has default parameters, and on the Triggers tab for every bonus kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "world/vocabulary.h"

namespace skerrow::test {
namespace {

namespace fs = std::filesystem;

TEST(EditorPack, EveryKindWithParametersAndEveryBonusKindHasAPreview) {
  const fs::path gdata = fs::path(SKERROW_BINARY_DIR) / "gdata";
  if (!fs::exists(gdata / "parameters")) GTEST_SKIP() << "no content pack";
  int kinds = 0;
  for (int k = 1; k < kKindCount; ++k) {
    if (!fs::exists(gdata / "parameters" / ("unit" + std::to_string(k) + ".par"))) continue;
    ++kinds;
    EXPECT_TRUE(fs::exists(gdata / "bitmaps" / "units" / ("unit" + std::to_string(k) + ".qvt")))
        << k;
  }
  EXPECT_GT(kinds, 10);
  for (int k = 1; k < bonus::kCount; ++k) {
    EXPECT_TRUE(fs::exists(gdata / "bitmaps" / "triggers" / ("bonus" + std::to_string(k) + ".qvt")))
        << k;
  }
}

}  // namespace
}  // namespace skerrow::test
