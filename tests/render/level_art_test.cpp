// Episode art loading without a display: height grids and shadow maps of the pieces, pieces
// beyond the shadow map table, the object model loop's stop at the first missing shadow file,
// and the checked model lookups.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "engine/model.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "render/game_resources.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

class MemoryPictures : public PictureReader {
 public:
  std::map<std::string, LevelPicture> pictures;
  bool ReadPicture(const std::string& path, LevelPicture& out) override {
    auto it = pictures.find(path);
    if (it == pictures.end()) return false;
    out = it->second;
    return true;
  }
};

class RecordingProgress : public LoadingProgress {
 public:
  std::vector<int32_t> values;
  void ShowLoadingProgress(int32_t p) override { values.push_back(p); }
};

LevelPicture Flat(int32_t side, uint8_t r, uint8_t g) {
  LevelPicture p;
  p.width = p.height = side;
  p.channels = 3;
  p.data.resize(static_cast<size_t>(side) * side * 3);
  for (size_t i = 0; i < p.data.size(); i += 3) {
    p.data[i] = r;
    p.data[i + 1] = g;
  }
  return p;
}

class LevelArtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/skerrow_art_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    ws_ = std::make_unique<WorldState>();
    ws_->appPath = root_.string() + "/";
    previous_ =
        platform::SetMessageHandler([this](const std::string&, const std::string&) { ++shown_; });
  }
  void TearDown() override {
    platform::SetMessageHandler(previous_);
    EXPECT_EQ(shown_, 0);  // the loaders hand their messages back and show none
    fs::remove_all(root_);
    InvalidatePathCache();
  }
  void Touch(const fs::path& rel) {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel) << "x";
    InvalidatePathCache();
  }
  // A 3DS file whose one material holds a chunk no material may hold: the reader refuses it.
  void WriteBroken3ds(const fs::path& rel) {
    fs::create_directories((root_ / rel).parent_path());
    const char bytes[] = {0x4D, 0x4D, 24, 0, 0, 0,   // M3DMAGIC
                          0x3D, 0x3D, 18, 0, 0, 0,   // MDATA
                          -1,   -81,  12, 0, 0, 0,   // MAT_ENTRY (0xAFFF)
                          -16,  -96,  6,  0, 0, 0};  // 0xA0F0, unknown to a material
    std::ofstream(root_ / rel, std::ios::binary).write(bytes, sizeof bytes);
    InvalidatePathCache();
  }
  fs::path root_;
  std::unique_ptr<WorldState> ws_;
  platform::MessageHandler previous_;
  int shown_ = 0;
};

TEST_F(LevelArtTest, PiecesGetHeightsAndShadowMapsOnlyWhereTheTableHasRoom) {
  Touch("gdata/Worlds/ep/refter/Terrain5.3ds");
  Touch("gdata/Worlds/ep/refter/terrain101.OBJ");
  Touch("gdata/Worlds/ep/refter/Terrain127.obj");
  const std::string dir = ws_->appPath + "gdata\\Worlds\\ep\\";
  MemoryPictures pics;
  for (int k : {5, 101, 127, 7}) {
    const std::string ks = std::to_string(k);
    pics.pictures[dir + "Data\\Terrain" + ks + ".qvt"] = Flat(128, 0, static_cast<uint8_t>(k));
    pics.pictures[dir + "Textures\\Main\\Terrain" + ks + "\\shadow.qvt"] =
        Flat(128, static_cast<uint8_t>(k + 1), 0);
  }
  GameResources res;
  RecordingProgress progress;
  ws_->units[3].pok = -1;
  TLoaderMessages messages;
  LoadEpisodeArt(*ws_, res, "ep", {}, pics, progress, false, messages);
  EXPECT_TRUE(messages.empty());  // without GL no model or texture is loaded
  EXPECT_EQ(ws_->islandHeights[5][10][20], 5);
  EXPECT_EQ(ws_->terrainShadowMaps[5][10][20], 6);
  EXPECT_EQ(ws_->islandHeights[101][0][0], 101);
  EXPECT_EQ(ws_->islandHeights[127][127][127], 127);
  EXPECT_EQ(ws_->islandHeights[7][0][0], 0);  // no piece file: left as it was
  EXPECT_GE(ws_->units[3].pok, 0.0f);
  ASSERT_FALSE(progress.values.empty());
  EXPECT_EQ(progress.values.front(), 10);
  EXPECT_EQ(progress.values.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
  EXPECT_EQ(res.levelShadowSize, 512);
}

TEST_F(LevelArtTest, ObjectModelsStopAtTheFirstMissingShadowFile) {
  for (int n = 1; n <= 5; ++n) Touch("gdata/models/objects/object" + std::to_string(n) + ".3ds");
  for (int n = 1; n <= 2; ++n) Touch("gdata/models/objects/Shadow" + std::to_string(n) + ".3ds");
  WriteBroken3ds("gdata/models/objects/object2.3ds");
  WriteBroken3ds("gdata/models/objects/Shadow2.3ds");
  Touch("gdata/models/objects/Shadow4.3ds");  // beyond the gap: never reached
  GameResources res;
  TLoaderMessages messages;
  EXPECT_EQ(LoadLevelObjects(res, ws_->appPath, messages), 3);
  // The broken files' reader messages are handed back in load order, none shown.
  ASSERT_EQ(messages.size(), 2u);
  for (const TPictureError& m : messages) {
    EXPECT_EQ(m.caption, "Skerrow");
    EXPECT_NE(m.text.find("invalid Chunk structure"), std::string::npos) << m.text;
  }
  for (int n = 1; n <= 3; ++n) EXPECT_NE(ObjectModel(res, n), nullptr) << n;
  EXPECT_EQ(ObjectModel(res, 4), nullptr);
  EXPECT_NE(ObjectShadowModel(res, 3), nullptr);
  EXPECT_EQ(ObjectShadowModel(res, 4), nullptr);
}

TEST(GameResourcesLookup, KindsFromDataAreChecked) {
  GameResources res;
  res.shipModels[128][45] = std::make_unique<TKTZGL_Model>();
  EXPECT_NE(ShipModel(res, 128, 45), nullptr);
  for (auto [ship, part] : {std::pair{0, 0}, {129, 0}, {1, 46}, {1, -1}, {-7, 3}, {1 << 30, 0}}) {
    EXPECT_EQ(ShipModel(res, ship, part), nullptr) << ship << " " << part;
  }
  EXPECT_EQ(ObjectModel(res, 0), nullptr);
  EXPECT_EQ(ObjectModel(res, 129), nullptr);
  EXPECT_EQ(TerrainModel(res, 256), nullptr);
  EXPECT_EQ(TerrainModel(res, -1), nullptr);
  EXPECT_EQ(res.Texture("no such"), 0u);
}

}  // namespace
}  // namespace skerrow
