// Every unit a level of the generated pack places is a kind the game can show and run: its
// ship model (and the model's texture directory and part files) where the game looks for them,
// its unit<K>.par, and the movement class its role in the shared vocabulary gives it. Read
// back from the files the way the game reads them, not from the generator's tables.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "content.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "render/world_passes.h"
#include "world/records.h"
#include "world/vocabulary.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

class PlacedKinds : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new fs::path(fs::temp_directory_path() /
                         ("skerrow_placed_kinds_" + std::to_string(::getpid())));
    fs::remove_all(*root_);
    Output out(*root_ / "gdata");
    GenerateWorld(out);
    GenerateModels(out);
    InvalidatePathCache();
    written_ = new std::vector<std::string>(out.Written());
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*root_, ec);
    delete root_;
    delete written_;
  }
  // A path as the game forms it (backslashes, its own letter case) resolved on disk.
  static std::string Game(const std::string& rel) {
    std::string p = Utf8ToCp1251((*root_ / "gdata").string()) + "\\" + rel;
    return ResolvePath(p);
  }
  static bool GameFileExists(const std::string& rel) { return PathExists(Game(rel)); }

  static fs::path* root_;
  static std::vector<std::string>* written_;
};
fs::path* PlacedKinds::root_ = nullptr;
std::vector<std::string>* PlacedKinds::written_ = nullptr;

TEST_F(PlacedKinds, EveryPlacedKindHasItsModelParametersAndClass) {
  std::vector<uint8_t> pack = ReadAll(Game("Skerrow.qvp"));
  ASSERT_EQ(pack.size(), kKindPackSize);
  auto kinds = std::make_unique<KindTable>();
  std::memcpy(kinds.get(), pack.data(), sizeof(KindTable));

  std::map<int32_t, int> placed;  // kind -> units placed over all levels
  int unitFiles = 0;
  for (const std::string& rel : *written_) {
    if (!rel.ends_with(".unt")) continue;
    ++unitFiles;
    std::vector<uint8_t> bytes = ReadAll(*root_ / "gdata" / rel);
    ASSERT_EQ(bytes.size(), sizeof(UnitRecord) * kUnitSlots) << rel;
    for (int32_t i = 1; i < kUnitSlots; ++i) {
      UnitRecord u;
      std::memcpy(&u, bytes.data() + sizeof(UnitRecord) * static_cast<size_t>(i), sizeof u);
      if (u.alive == 1) ++placed[u.unitKind];
    }
  }
  ASSERT_GE(unitFiles, 3);
  ASSERT_GE(placed.size(), 10u);

  const std::string ships = "models\\ships\\";
  for (const auto& [k, count] : placed) {
    SCOPED_TRACE("kind " + std::to_string(k) + " placed " + std::to_string(count) + " times");
    const KindRole* role = KindRoleOf(k);
    ASSERT_NE(role, nullptr);
    ASSERT_NE(role->nameUtf8, nullptr) << "a placed kind without a role";
    EXPECT_EQ(+(*kinds)[k].kindClass, role->kindClass);
    EXPECT_EQ(Cp1251ToUtf8((*kinds)[k].kindName.View()), role->nameUtf8);

    std::vector<uint8_t> par = ReadAll(Game("parameters\\unit" + std::to_string(k) + ".par"));
    ASSERT_EQ(par.size(), sizeof(UnitRecord)) << "unit" << k << ".par";
    UnitRecord defaults;
    std::memcpy(&defaults, par.data(), sizeof defaults);
    EXPECT_EQ(+defaults.unitKind, k);

    if (k > kind::kLastModelled) {
      // No model slot exists above 128: only the invisible exit marker may stand there.
      EXPECT_EQ(k, kind::kExitMarker);
      EXPECT_EQ(role->drawScale, 0.0);
      continue;
    }
    const std::string n = std::to_string(k);
    EXPECT_TRUE(GameFileExists(ships + "ship" + n + ".3ds")) << "ship" << n << ".3ds";
    // The loader takes the textures of ship<K>\, or of ship<K-1>\ when that is missing.
    EXPECT_TRUE(DirectoryExists(Game(ships + "ship" + n)) ||
                DirectoryExists(Game(ships + "ship" + std::to_string(k - 1))));
    for (int32_t part = 1; part <= role->modelParts; ++part) {
      EXPECT_TRUE(GameFileExists(ships + "ship" + n + "-" + std::to_string(part) + ".3ds"))
          << "part " << part;
    }
    // The generator built the model at the scale the unit drawing applies to the kind.
    EXPECT_DOUBLE_EQ(UnitModelScale(k), role->drawScale);
  }
}

// The role table and the unit drawing agree on the scale of every kind that can have a model,
// so a model built for its role is drawn at the size it was built for.
TEST(KindRoles, DrawScalesAreTheUnitDrawingsScales) {
  for (int32_t k = 1; k <= kind::kLastModelled; ++k)
    EXPECT_DOUBLE_EQ(UnitModelScale(k), kKindRoles[static_cast<size_t>(k)].drawScale) << k;
  for (int32_t k = kind::kLastModelled + 1; k < kKindCount; ++k)
    EXPECT_EQ(kKindRoles[static_cast<size_t>(k)].drawScale, 0.0) << k;
}

}  // namespace
}  // namespace skerrow::content
