// The editor's actions on the world: map clicks, full tables, statics and their objects,
// units and their default parameters, triggers, the file transfers with their refusals, and
// the editor-view click.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "editor_fixture.h"
#include "world/raw_io.h"

namespace skerrow::test {
namespace {

void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

TEST_F(EditorTest, ModeSwitchesBetweenPlayAndTheEditorView) {
  SetEditorMode(c, 1);
  EXPECT_EQ(w.GameMode, 3);
  SetEditorMode(c, 0);
  EXPECT_EQ(w.GameMode, 2);
  SetEditorMode(c, 5);
  EXPECT_EQ(w.GameMode, 2);
}

TEST_F(EditorTest, MapClickCornersMoveTheCameraToTheLevelCorners) {
  w.levelSize = 300;
  MapClick(c, 0, 0);
  EXPECT_DOUBLE_EQ(w.editorCameraTarget.x, 0.0);
  EXPECT_DOUBLE_EQ(w.editorCameraTarget.z, 300.0);
  MapClick(c, kMapPanelSide, kMapPanelSide);
  EXPECT_DOUBLE_EQ(w.editorCameraTarget.x, 300.0);
  EXPECT_DOUBLE_EQ(w.editorCameraTarget.z, 0.0);
  const MapMarker m = MapMarkerRect(w);
  EXPECT_EQ(m.width, 14);  // trunc(300 / 313 * 15)
  EXPECT_EQ(m.height, 0);
  EXPECT_EQ(m.left, 313 - 7);
  EXPECT_EQ(m.top, 313);
}

TEST_F(EditorTest, CreateDoesNothingWhenTheTableIsFull) {
  for (int32_t i = 1; i < kUnitSlots; ++i) w.units[i].alive = 1;
  for (int32_t i = 1; i < kBonusSlots; ++i) w.bonuses[i].alive = 1;
  for (int32_t i = 1; i < kStaticSlots; ++i) w.statics[i].alive = 1;
  std::vector<uint8_t> before(SavedBytes(w).begin(), SavedBytes(w).end());
  EXPECT_EQ(CreateUnit(c), 0);
  EXPECT_EQ(CreateTrigger(c), 0);
  EXPECT_EQ(CreateStatic(c), 0);
  EXPECT_EQ(CloneUnit(c), 0);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), SavedBytes(w).begin()));
  EXPECT_EQ(undo.UndoCount(), 0u);
}

TEST_F(EditorTest, AStaticHoldsThirtyTwoObjects) {
  w.mouseWorldPos = {40.0, 0.0, 50.0, 0.0};
  ctl.staticBrush = 3;
  ASSERT_EQ(CreateStatic(c), 1);
  EXPECT_EQ(w.statics[1].terrainKind, 3);
  EXPECT_DOUBLE_EQ(w.editorCameraTarget.z, 50.0 - 9.7);
  // A flat island 4.95 high over its whole 10 x 10 square.
  for (auto& row : w.islandHeights[3])
    for (auto& cell : row) cell = 255;
  ctl.minDistance = 0.0;
  for (int32_t k = 1; k <= 32; ++k) ASSERT_EQ(AddObject(c), k);
  EXPECT_EQ(AddObject(c), 0);
  EXPECT_TRUE(host.messages.empty());
  const StaticObjectRecord& o = w.statics[1].objects[32];
  EXPECT_LT(std::fabs(o.posX), 5.0);
  EXPECT_LT(std::fabs(o.posZ), 5.0);
  EXPECT_DOUBLE_EQ(o.posY, 255 / 51.0 - 0.05);
}

// "Object kind" is one spin: the kind of the next new object and of the selected one.
TEST_F(EditorTest, ObjectKindSetsNewAndSelectedObjects) {
  w.mouseWorldPos = {40.0, 0.0, 50.0, 0.0};
  ctl.staticBrush = 3;
  ASSERT_EQ(CreateStatic(c), 1);
  undo.Clear();
  w.statics[1].objects[2].alive = 1;
  w.statics[1].objects[2].objectKind = 17;
  SelectObject(c, 2);
  EXPECT_EQ(ctl.objectKind, 17);  // shows the selected object's kind
  SetObjectKind(c, 40);
  EXPECT_EQ(w.statics[1].objects[2].objectKind, 40);
  EXPECT_EQ(undo.UndoCount(), 1u);
  SelectObject(c, 3);  // a free slot: the spin keeps its value, nothing changes
  EXPECT_EQ(ctl.objectKind, 40);
  SetObjectKind(c, 600);
  EXPECT_EQ(ctl.objectKind, 511);
  EXPECT_EQ(w.statics[1].objects[3].objectKind, 0);
  EXPECT_EQ(undo.UndoCount(), 1u);
  for (auto& row : w.islandHeights[3]) std::fill(std::begin(row), std::end(row), uint8_t{255});
  ctl.minDistance = 0.0;
  ASSERT_EQ(AddObject(c), 1);
  EXPECT_EQ(w.statics[1].objects[1].objectKind, 511);
}

// The current level's own files into the boxes, the episode's name in UTF-8.
TEST_F(EditorTest, ThisLevelsFilesNameTheEpisodeFolderInCyrillic) {
  w.episode = 1;
  w.levelNumber = 3;
  UseLevelFiles(c);
  EXPECT_EQ(ctl.levelFile, "gdata\\Worlds\\Заманчивые тропики\\data\\Land3.lan");
  EXPECT_EQ(ctl.unitsFile, "gdata\\Worlds\\Заманчивые тропики\\data\\normal3.unt");
  EXPECT_EQ(ctl.bonusesFile, "gdata\\Worlds\\Заманчивые тропики\\data\\normal3.bon");
  EXPECT_EQ(LevelCaption(w), "Заманчивые тропики, level 3");
  w.episode = 9;  // no such episode: the boxes keep their names
  UseLevelFiles(c);
  EXPECT_EQ(ctl.levelFile, "gdata\\Worlds\\Заманчивые тропики\\data\\Land3.lan");
}

TEST_F(EditorTest, RandomizeWithNoIslandSaysNoMorePlaceAfterTenThousandAttempts) {
  w.statics[1].alive = 1;
  w.statics[1].terrainKind = 4;  // an empty height grid: the surface is nowhere above 0.3
  w.statics[1].objects[1].alive = 1;
  w.statics[1].objects[1].posX = 1.25;
  const StaticRecord before = w.statics[1];
  Random expected;
  expected.Seed(77);
  SharedRandom().Seed(77);
  EXPECT_FALSE(RandomizeObject(c));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "No more place");
  EXPECT_EQ(std::memcmp(&before, &w.statics[1], sizeof before), 0);
  for (int k = 0; k < 2 * 10'000; ++k) expected.Real();  // two draws per attempt
  EXPECT_EQ(SharedRandom().Next(), expected.Next());
}

TEST_F(EditorTest, TruncPositionsStoresTheWholePartPlusTheValue) {
  w.statics[1].alive = 1;
  ctl.truncPositions = true;
  ctl.truncValue = 0.5;
  SetStaticPosition(c, 0, 12.8);
  SetStaticPosition(c, 2, -3.2);
  EXPECT_DOUBLE_EQ(w.statics[1].posX, 12.5);
  EXPECT_DOUBLE_EQ(w.statics[1].posZ, -2.5);
  ctl.truncPositions = false;
  SetStaticPosition(c, 1, 0.75);
  EXPECT_DOUBLE_EQ(w.statics[1].posY, 0.75);
}

TEST_F(EditorTest, ClearAndDeleteAllLeaveThePlayersSlot) {
  for (int32_t i = 1; i < kUnitSlots; ++i) w.units[i].alive = 1;
  for (int32_t k = 1; k < kStaticObjectSlots; ++k) w.statics[1].objects[k].alive = 1;
  w.statics[1].alive = 1;
  w.bonuses[9].alive = 1;
  ClearObjects(c);
  DeleteAllUnits(c);
  DeleteAllBonuses(c);
  for (int32_t k = 1; k < kStaticObjectSlots; ++k) EXPECT_EQ(w.statics[1].objects[k].alive, 0);
  EXPECT_EQ(w.units[1].alive, 1);
  EXPECT_EQ(w.units[2].alive, 0);
  EXPECT_EQ(w.units[255].alive, 0);
  EXPECT_EQ(w.bonuses[9].alive, 0);
  DeleteAllIslands(c);
  EXPECT_EQ(w.statics[1].alive, 0);
}

class EditorParameterTest : public EditorTest {
 protected:
  EditorParameterTest() {
    UseScratchRoot("editor_params");
    UnitRecord par{};
    par.alive = 1;
    par.unitKind = 7;
    par.posX = 111.0;
    par.posY = 0.4;
    par.posZ = 222.0;
    par.rotY = 2.0;
    par.life = par.maxLife = 250.0f;
    par.radius = 1.5f;
    EXPECT_TRUE(SaveUnitParameters(par, UnitParameterFile(w, 7)));
  }
};

TEST_F(EditorParameterTest, CreateUnitTakesTheDefaultsButKeepsThePlace) {
  w.mouseWorldPos = {30.0, 0.0, 40.0, 0.0};
  ctl.newUnitKind = 7;
  const int32_t i = CreateUnit(c);
  ASSERT_EQ(i, 1);
  const UnitRecord& u = w.units[i];
  EXPECT_EQ(ctl.unitNumber, i);
  EXPECT_DOUBLE_EQ(u.posX, 30.0);
  EXPECT_DOUBLE_EQ(u.posZ, 40.0);
  EXPECT_DOUBLE_EQ(u.posY, 0.4);  // the height comes from the file
  EXPECT_DOUBLE_EQ(u.rotY, 0.0);
  EXPECT_EQ(u.life, 250.0f);
}

TEST_F(EditorParameterTest, LoadDefaultParamsKeepsPositionAndRotation) {
  UnitRecord& u = w.units[5];
  u.alive = 1;
  u.unitKind = 7;
  u.posX = 1.0;
  u.posY = 9.0;
  u.posZ = 2.0;
  u.rotX = 3.0;
  u.rotY = 4.0;
  u.rotZ = 5.0;
  u.heel = 6.0;
  ctl.unitNumber = 5;
  LoadDefaultParams(c);
  EXPECT_DOUBLE_EQ(u.posX, 1.0);
  EXPECT_DOUBLE_EQ(u.posZ, 2.0);
  EXPECT_DOUBLE_EQ(u.posY, 0.4);
  EXPECT_DOUBLE_EQ(u.rotX, 3.0);
  EXPECT_DOUBLE_EQ(u.rotY, 4.0);
  EXPECT_DOUBLE_EQ(u.rotZ, 5.0);
  EXPECT_DOUBLE_EQ(u.heel, 6.0);
  EXPECT_EQ(u.maxLife, 250.0f);
}

TEST_F(EditorParameterTest, SetAllToDefaultsCountsEverySlotOfTheKindAliveOrNot) {
  for (int32_t i : {3, 4, 9}) {
    w.units[i].unitKind = 7;
    w.units[i].posX = i;
  }
  w.units[3].alive = 1;
  w.units[6].unitKind = 8;
  ctl.unitNumber = 3;
  EXPECT_EQ(SetAllToDefaults(c), 3);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "3 matches found");
  EXPECT_EQ(w.units[9].maxLife, 250.0f);
  EXPECT_DOUBLE_EQ(w.units[9].posX, 9.0);
  EXPECT_EQ(w.units[6].maxLife, 0.0f);
}

TEST_F(EditorParameterTest, CloneDeleteHealAndSaveAsDefaults) {
  UnitRecord& u = w.units[1];
  u.alive = 1;
  u.unitKind = 7;
  u.posY = 0.3;
  u.maxLife = 80.0f;
  u.life = 10.0f;
  ctl.unitNumber = 1;
  HealUnit(c);
  EXPECT_EQ(u.life, 80.0f);
  w.cameraPos = {5.0, 8.8, 6.0, 0.0};
  ASSERT_EQ(CloneUnit(c), 2);
  EXPECT_EQ(ctl.unitNumber, 2);
  EXPECT_DOUBLE_EQ(w.units[2].posX, 5.0);
  EXPECT_DOUBLE_EQ(w.units[2].posY, 0.3);
  EXPECT_DOUBLE_EQ(w.units[2].posZ, 9.7);
  DeleteUnit(c);
  EXPECT_EQ(w.units[2].alive, 0);
  EXPECT_EQ(w.units[2].unitKind, 0);
  ctl.unitNumber = 1;
  EXPECT_TRUE(SaveAsDefaults(c));
  UnitRecord back{};
  LoadUnitParameters(back, UnitParameterFile(w, 7));
  EXPECT_EQ(std::memcmp(&back, &u, sizeof back), 0);
}

TEST_F(EditorTest, ANewTriggerStandsAtHalfAUnitAndTruncSnapsItsPlace) {
  w.mouseWorldPos = {10.7, 3.0, -4.6, 0.0};
  ctl.newTriggerKind = 11;
  ASSERT_EQ(CreateTrigger(c), 1);
  EXPECT_EQ(w.bonuses[1].kind, 11);
  EXPECT_DOUBLE_EQ(w.bonuses[1].posY, 0.5);
  EXPECT_DOUBLE_EQ(w.bonuses[1].posX, 10.7);
  ctl.triggerTrunc = true;
  ASSERT_EQ(CreateTrigger(c), 2);
  EXPECT_DOUBLE_EQ(w.bonuses[2].posX, 10.0);
  EXPECT_DOUBLE_EQ(w.bonuses[2].posY, 0.5);
  EXPECT_DOUBLE_EQ(w.bonuses[2].posZ, -4.0);
  EXPECT_EQ(ctl.triggerNumber, 2);
  DeleteTrigger(c);
  EXPECT_EQ(w.bonuses[2].alive, 0);
  EXPECT_EQ(w.bonuses[2].kind, 0);
}

TEST_F(EditorTest, EpisodeAndLevelJumpsGoThroughTheLevelChange) {
  GoToEpisode(c, 2);
  GoToLevel(c, 3);
  EXPECT_EQ(host.levels, (std::vector<int32_t>{202, 3}));
}

TEST_F(EditorTest, FileLoadsRefuseAWrongSizeAndClearAlertsOnlyForUnits) {
  const std::string root = UseScratchRoot("editor_files");
  w.units[4].alive = 1;
  w.units[4].posX = 77.0;
  w.bonuses[6].alive = 1;
  w.heightMap[10][20] = 42;
  ASSERT_TRUE(EditorSaveUnits(c, "level.unt"));
  ASSERT_TRUE(EditorSaveBonuses(c, "level.bon"));
  ASSERT_TRUE(EditorSaveLevel(c, "level.lan"));
  EXPECT_EQ(std::filesystem::file_size(root + "level.lan"), kLandRangeSize);
  w.units[4].posX = 0.0;
  w.bonuses[6].alive = 0;
  w.heightMap[10][20] = 0;
  std::memset(w.unitAlerted, 1, sizeof w.unitAlerted);

  ASSERT_TRUE(EditorLoadBonuses(c, "level.bon"));
  EXPECT_EQ(w.bonuses[6].alive, 1);
  EXPECT_EQ(w.unitAlerted[5], 1);
  ASSERT_TRUE(EditorLoadUnits(c, "level.unt"));
  EXPECT_DOUBLE_EQ(w.units[4].posX, 77.0);
  EXPECT_EQ(w.unitAlerted[1], 0);
  EXPECT_EQ(w.unitAlerted[255], 0);
  ASSERT_TRUE(EditorLoadLevel(c, root + "level.lan"));  // an absolute name works too
  EXPECT_EQ(w.heightMap[10][20], 42);
  EXPECT_TRUE(host.messages.empty());

  // Short, long, missing and directory names are refused and change nothing.
  const std::vector<uint8_t> junk(1000, 0xEE);
  WriteBytes(root + "short.lan", junk.data(), junk.size());
  std::vector<uint8_t> long_(sizeof(w.units) + 1, 0xEE);
  WriteBytes(root + "long.unt", long_.data(), long_.size());
  std::filesystem::create_directories(root + "dir.bon");
  std::vector<uint8_t> before(SavedBytes(w).begin(), SavedBytes(w).end());
  EXPECT_FALSE(EditorLoadLevel(c, "short.lan"));
  EXPECT_FALSE(EditorLoadUnits(c, "long.unt"));
  EXPECT_FALSE(EditorLoadBonuses(c, "dir.bon"));
  EXPECT_FALSE(EditorLoadBonuses(c, "missing.bon"));
  EXPECT_FALSE(EditorLoadLevel(c, ""));
  EXPECT_EQ(host.messages.size(), 5u);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), SavedBytes(w).begin()));
  EXPECT_FALSE(EditorSaveUnits(c, "no/such/dir/x.unt"));
}

TEST_F(EditorTest, SavedLandscapeLoadsBackAsTheSameHeightMap) {
  const std::string root = UseScratchRoot("editor_landscape");
  for (int x = 0; x < kMapSize; x += 7)
    w.heightMap[x][(x * 3) % kMapSize] = static_cast<uint8_t>(x);
  ASSERT_TRUE(EditorSaveLandscape(c, "floor.bmp"));
  std::vector<uint8_t> saved(std::begin(w.heightMap[0]), std::end(w.heightMap[kMapSize - 1]));
  // The fake host decodes nothing: give it the picture the file holds, as the game's reader
  // would (green of pixel (x, z)).
  LevelPicture p;
  p.width = p.height = kMapSize;
  p.channels = 3;
  p.data.resize(static_cast<size_t>(kMapSize) * kMapSize * 3);
  std::ifstream in(root + "floor.bmp", std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(file.size(), 54u + static_cast<size_t>(kMapSize) * kMapSize * 3);
  std::copy(file.begin() + 54, file.end(), p.data.begin());
  host.pictures[root + "floor.bmp"] = p;
  std::memset(w.heightMap, 0, sizeof w.heightMap);
  ASSERT_TRUE(EditorLoadLandscape(c, "floor.bmp"));
  EXPECT_TRUE(std::equal(saved.begin(), saved.end(), &w.heightMap[0][0]));
}

TEST_F(EditorTest, ViewClickSelectsOrCreatesByBrushType) {
  w.units[3] = UnitRecord{};
  w.units[3].alive = 1;
  w.units[3].radius = 2.0f;
  w.units[3].posX = 10.0;
  w.units[3].posZ = 10.0;
  w.statics[1].alive = 1;
  w.statics[1].posX = 30.0;
  w.bonuses[5].alive = 1;
  w.bonuses[5].radius = 1.0f;
  w.bonuses[5].posX = 50.0;
  struct Row {
    BrushType type;
    double x, z;
    int32_t EditorControls::*selection;
    int32_t expected;
  };
  const Row rows[] = {
      {BrushType::kSelectUnits, 11.5, 10.0, &EditorControls::unitNumber, 3},
      {BrushType::kSelectUnits, 12.5, 10.0, &EditorControls::unitNumber, 1},
      {BrushType::kSelectIslands, 32.9, 0.0, &EditorControls::staticNumber, 1},
      {BrushType::kSelectTriggers, 52.9, 0.0, &EditorControls::triggerNumber, 5},
      {BrushType::kSelectTriggers, 53.1, 0.0, &EditorControls::triggerNumber, 1},
      {BrushType::kSetBonuses, 70.0, 0.0, &EditorControls::triggerNumber, 1},
  };
  for (const Row& r : rows) {
    ctl = EditorControls{};
    ctl.brushType = r.type;
    w.mouseWorldPos = {r.x, 0.0, r.z, 0.0};
    EditorViewClick(c);
    EXPECT_EQ(ctl.*r.selection, r.expected) << static_cast<int>(r.type) << " at " << r.x;
  }
  EXPECT_EQ(w.bonuses[1].alive, 1);  // the "Set bonuses" click made a trigger
}

}  // namespace
}  // namespace skerrow::test

namespace skerrow::test {
namespace {

TEST_F(EditorTest, AHintTriggerShowsItsHintTextAndOtherKindsShowNothing) {
  const std::string root = UseScratchRoot("editor_hint");
  std::filesystem::create_directories(root + "gdata/ata/hints");
  WriteBytes(root + "gdata/ata/hints/hint7.txt", "\xcf\xf0\xe8", 3);  // "При" in Windows-1251
  w.bonuses[2].kind = 11;
  w.bonuses[2].tag = 7;
  EXPECT_EQ(TriggerHintText(w, 2), "При");
  w.bonuses[2].tag = 8;
  EXPECT_EQ(TriggerHintText(w, 2), "");
  w.bonuses[2].kind = 3;
  w.bonuses[2].tag = 7;
  EXPECT_EQ(TriggerHintText(w, 2), "");
  EXPECT_EQ(TriggerHintText(w, 0), "");
  EXPECT_EQ(TriggerHintText(w, 256), "");
}

}  // namespace
}  // namespace skerrow::test

namespace skerrow::test {
namespace {

TEST_F(EditorTest, CameraNumberSetsTheFixedCameraOnlyForCamerasOneToThree) {
  struct Row {
    int32_t camera;
    uint8_t fixedBefore, fixedAfter;
  };
  const Row rows[] = {{1, 0, 1}, {2, 1, 0}, {3, 1, 0}, {4, 1, 1}, {4, 0, 0}, {99, 0, 0}};
  for (const Row& r : rows) {
    w.fixedCamera = r.fixedBefore;
    SetCameraNumber(c, r.camera);
    EXPECT_EQ(w.fixedCamera, r.fixedAfter) << r.camera;
  }
  EXPECT_EQ(w.cameraNumber, 10);  // 99 is brought into 1..10
  SetPlayerShip(c, 17);
  EXPECT_EQ(w.playerUnit, 17);
}

TEST_F(EditorTest, SnowBoxSetsBothFlagsAndAFreshDrift) {
  Random expected;
  expected.Seed(5);
  SharedRandom().Seed(5);
  SetSnow(c, true);
  EXPECT_EQ(w.snowOn, 1);
  EXPECT_EQ(w.snowActive, 1);
  const double r1 = expected.Real(), r2 = expected.Real();
  EXPECT_DOUBLE_EQ(w.snowDrift.x, 0.04 * r1);
  EXPECT_DOUBLE_EQ(w.snowDrift.y, 0.0);
  EXPECT_DOUBLE_EQ(w.snowDrift.z, 0.03 * r2);
  EXPECT_DOUBLE_EQ(w.snowDrift.w, 1.0);
  SetSnow(c, false);
  EXPECT_EQ(w.snowOn, 0);
  EXPECT_EQ(w.snowActive, 0);
}

TEST_F(EditorTest, CollisionPictureIsWhiteWhereTheLandIsTurnedAsTheGameWritesIt) {
  const std::string root = UseScratchRoot("editor_collisions");
  w.levelSize = 16;  // a 32 x 32 picture
  w.statics[1].alive = 1;
  w.statics[1].terrainKind = 2;
  w.statics[1].posX = 4.0;  // land for x in (-1, 9) and z in (7, 17)
  w.statics[1].posZ = 12.0;
  for (auto& row : w.islandHeights[2])
    for (auto& cell : row) cell = 255;
  ASSERT_TRUE(WriteCollisions(c, "land.bmp"));
  std::ifstream in(root + "land.bmp", std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(file.size(), 54u + 32u * 32u * 3u);
  // Pixel (column, row from the top); BMP rows are stored bottom-up.
  auto white = [&](int column, int rowFromTop) {
    const size_t at = 54 + (static_cast<size_t>(31 - rowFromTop) * 32 + column) * 3;
    return file[at] == 255;
  };
  // Point (x = j / 2, z = i / 2) lands at pixel (31 - i, 31 - j).
  EXPECT_TRUE(white(31 - 16, 31 - 2));   // x = 1, z = 8: land
  EXPECT_FALSE(white(31 - 2, 31 - 16));  // x = 8, z = 1: sea
  EXPECT_TRUE(white(0, 30));             // x = 0.5, z = 15.5: land
  EXPECT_FALSE(white(31, 31));           // (0, 0): sea
  EXPECT_FALSE(white(0, 0));             // (15.5, 15.5): sea
  w.levelSize = 0;
  EXPECT_FALSE(WriteCollisions(c, "none.bmp"));
}

}  // namespace
}  // namespace skerrow::test
