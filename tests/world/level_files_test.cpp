// Level loading: raw level file round trips, picture decodings into the state and EnterLevel's
// state rules, with a recording host that serves pictures from memory.
#include "world/level_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/paths.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadWhole(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteWhole(const fs::path& p, std::span<const uint8_t> bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  InvalidatePathCache();
}

// A picture whose pixel (x, y), y from the top, is fn(x, y) = {r, g, b}.
template <typename Fn>
LevelPicture MakePicture(int32_t w, int32_t h, Fn fn) {
  LevelPicture p;
  p.width = w;
  p.height = h;
  p.channels = 3;
  p.data.resize(static_cast<size_t>(w) * h * 3);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const auto rgb = fn(x, y);
      const size_t at = (static_cast<size_t>(h - 1 - y) * w + x) * 3;
      p.data[at] = rgb[0];
      p.data[at + 1] = rgb[1];
      p.data[at + 2] = rgb[2];
    }
  }
  return p;
}

// Serves pictures from memory by game path and records what EnterLevel asks of the game.
class FakeHost : public LevelHost {
 public:
  std::map<std::string, LevelPicture> pictures;
  std::vector<std::string> calls;

  bool ReadPicture(const std::string& path, LevelPicture& out) override {
    auto it = pictures.find(path);
    if (it == pictures.end()) return false;
    out = it->second;
    return true;
  }
  void ResetLoadingProgress() override { calls.push_back("progress0"); }
  void LoadLoadingPicture(int32_t e) override { calls.push_back("loading" + std::to_string(e)); }
  void LoadEpisodeArt(const std::string& name) override {
    calls.push_back("art:" + Cp1251ToUtf8(name));
  }
  void LoadMinimap(const std::string&) override { calls.push_back("minimap"); }
  void SetFpsTimer(bool on) override { calls.push_back(on ? "fps on" : "fps off"); }
  void StartEpisodeMusic(int32_t e) override { calls.push_back("music" + std::to_string(e)); }
  void ShowEpisodeHint(const std::string& voice, const std::string&) override {
    calls.push_back("hint:" + voice.substr(voice.find_last_of('\\') + 1));
  }
  void ShowOutro() override { calls.push_back("outro"); }
  void ShowLevelMessage(const LevelMessage& m) override {
    calls.push_back("message:" + m.caption + ":" + m.text);
  }
};

class LevelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/skerrow_level_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    ws_ = std::make_unique<WorldState>();
    ws_->appPath = root_.string() + "/";
    ws_->playerUnit = 1;
  }
  void TearDown() override {
    fs::remove_all(root_);
    InvalidatePathCache();
  }
  // Directory of episode 1 on disk (UTF-8 name).
  fs::path EpisodeDir() const { return root_ / "gdata" / "Worlds" / "Заманчивые тропики"; }
  std::string GameDir() const { return ws_->appPath + "gdata\\Worlds\\" + EpisodeName(1) + "\\"; }

  fs::path root_;
  std::unique_ptr<WorldState> ws_;
  FakeHost host_;
};

TEST_F(LevelTest, RawFilesRoundTripByteForByte) {
  // Distinct bytes in every range, so a transfer at the wrong offset shows.
  auto fill = [](std::span<uint8_t> s, uint8_t seed) {
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<uint8_t>(i * 7 + (i >> 11) + seed);
  };
  fill(LandBytes(*ws_), 1);
  fill(UnitBytes(*ws_), 2);
  fill(BonusBytes(*ws_), 3);
  UnitRecord par{};
  fill(UnitRecordBytes(par), 4);
  const std::string base = ws_->appPath;
  ASSERT_TRUE(SaveLand(*ws_, base + "a.lan"));
  ASSERT_TRUE(SaveUnits(*ws_, base + "a.unt"));
  ASSERT_TRUE(SaveBonuses(*ws_, base + "a.bon"));
  ASSERT_TRUE(SaveUnitParameters(par, base + "a.par"));
  EXPECT_EQ(fs::file_size(root_ / "a.lan"), 6'986'776u);
  EXPECT_EQ(fs::file_size(root_ / "a.unt"), 69'632u);
  EXPECT_EQ(fs::file_size(root_ / "a.bon"), 33'792u);
  EXPECT_EQ(fs::file_size(root_ / "a.par"), 272u);

  auto other = std::make_unique<WorldState>();
  UnitRecord par2{};
  LoadLand(*other, base + "A.LAN");  // names are looked up in any letter case
  LoadUnits(*other, base + "a.unt");
  LoadBonuses(*other, base + "a.bon");
  LoadUnitParameters(par2, base + "a.par");
  ASSERT_TRUE(SaveLand(*other, base + "b.lan"));
  ASSERT_TRUE(SaveUnits(*other, base + "b.unt"));
  ASSERT_TRUE(SaveBonuses(*other, base + "b.bon"));
  ASSERT_TRUE(SaveUnitParameters(par2, base + "b.par"));
  for (const char* ext : {"lan", "unt", "bon", "par"}) {
    EXPECT_EQ(ReadWhole(root_ / (std::string("a.") + ext)),
              ReadWhole(root_ / (std::string("b.") + ext)))
        << ext;
  }
  // Nothing outside the land range moved: the neighbour links follow it directly.
  EXPECT_EQ(other->neighbourPlusX, 0);
  EXPECT_EQ(other->GameMode, 0);
}

TEST_F(LevelTest, MissingShortAndUnnamedFiles) {
  ws_->units[5].life = 42;
  LoadUnits(*ws_, ws_->appPath + "none.unt");
  EXPECT_EQ(ws_->units[5].life, 42);
  // A short bonus file fills only its own length.
  ws_->bonuses[2].kind = 9;
  std::vector<uint8_t> shortFile(sizeof(BonusRecord) + 4, 0xAB);
  WriteWhole(root_ / "s.bon", shortFile);
  LoadBonuses(*ws_, ws_->appPath + "s.bon");
  EXPECT_EQ(ws_->bonuses[0].kind, static_cast<int32_t>(0xABABABAB));
  EXPECT_EQ(ws_->bonuses[2].kind, 9);
  EXPECT_FALSE(SaveUnits(*ws_, ""));
  EXPECT_FALSE(SaveLand(*ws_, ""));
}

// A unit parameter file or a kind pack holding a value that is not a number is refused when it
// is read: the record or the table keeps what it had (a NaN turn rate used to sail the player's
// ship to (NaN, NaN, NaN), and the game then refused its own saves).
TEST_F(LevelTest, ParameterAndKindFilesWithValuesThatAreNotNumbersAreRefused) {
  const float nan = std::nanf("");
  const float inf = INFINITY;
  struct Case {
    const char* name;
    void (*damage)(UnitRecord& u, float bad);
    float bad;
  };
  const Case cases[] = {
      {"turn rate", [](UnitRecord& u, float b) { u.turnRate = b; }, nan},
      {"mass", [](UnitRecord& u, float b) { u.mass = b; }, inf},
      {"side power speed", [](UnitRecord& u, float b) { u.sidePowerSpeed = b; }, nan},
      {"velocity", [](UnitRecord& u, float b) { u.vel.z = b; }, -inf},
      {"place", [](UnitRecord& u, float b) { u.posX = b; }, nan},
  };
  UnitRecord good{};
  good.unitKind = 1;
  good.turnRate = 0.01f;
  good.maxLife = 100;
  ASSERT_TRUE(SaveUnitParameters(good, ws_->appPath + "good.par"));
  for (const Case& c : cases) {
    UnitRecord bad = good;
    c.damage(bad, c.bad);
    EXPECT_FALSE(UnitNumbersFinite(bad)) << c.name;
    ASSERT_TRUE(SaveUnitParameters(bad, ws_->appPath + "bad.par"));
    UnitRecord read{};
    read.maxLife = 5;
    EXPECT_EQ(LoadUnitParameters(read, ws_->appPath + "bad.par"), 0u) << c.name;
    EXPECT_EQ(read.maxLife, 5) << c.name;
    EXPECT_EQ(read.turnRate, 0) << c.name;
    // A unit of a level file with such a value is refused with the level.
    auto units = std::make_unique<std::array<UnitRecord, kUnitSlots>>();
    (*units)[4] = bad;
    (*units)[4].alive = 1;
    EXPECT_NE(CheckUnitTable(*units).find("единицы 4 "), std::string::npos) << c.name;
  }
  UnitRecord read{};
  EXPECT_EQ(LoadUnitParameters(read, ws_->appPath + "good.par"), sizeof(UnitRecord));
  EXPECT_EQ(read.turnRate, 0.01f);

  auto pack = std::make_unique<KindTable>();
  pack->kinds[7].kindAlertRadius = 50;
  pack->kinds[9].kindStandoffMax = nan;
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(pack.get()), sizeof(KindTable));
  WriteWhole(root_ / "gdata" / "Skerrow.qvp", bytes);
  ws_->kindTable.kinds[7].kindAlertRadius = 3;
  const std::string refused = LoadKindPack(*ws_);
  EXPECT_NE(refused.find("у типа 9 радиус не число"), std::string::npos) << refused;
  EXPECT_EQ(ws_->kindTable.kinds[7].kindAlertRadius, 3);
  pack->kinds[9].kindStandoffMax = 10;
  WriteWhole(root_ / "gdata" / "Skerrow.qvp", bytes);
  EXPECT_EQ(LoadKindPack(*ws_), "");
  EXPECT_EQ(ws_->kindTable.kinds[7].kindAlertRadius, 50);
}

TEST(LevelPictures, IslandHeightsTurnedAndShadowMapsStraight) {
  auto ws = std::make_unique<WorldState>();
  const LevelPicture pic = MakePicture(128, 128, [](int32_t x, int32_t y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                  static_cast<uint8_t>(x ^ y)};
  });
  StoreIslandHeights(*ws, 7, pic);
  EXPECT_EQ(ws->islandHeights[7][0][0], 127);    // green of pixel (127, 127)
  EXPECT_EQ(ws->islandHeights[7][127][3], 124);  // green of pixel (0, 124)
  ASSERT_TRUE(StoreTerrainShadowMap(*ws, 100, pic));
  EXPECT_EQ(ws->terrainShadowMaps[100][5][9], 5);  // red of pixel (5, 9)
  // Piece numbers from data outside the tables store nothing and do not crash.
  StoreIslandHeights(*ws, 0, pic);
  StoreIslandHeights(*ws, 128, pic);
  EXPECT_FALSE(StoreTerrainShadowMap(*ws, 101, pic));
  EXPECT_FALSE(StoreTerrainShadowMap(*ws, -3, pic));
  // A picture whose sizes do not match its data is ignored.
  LevelPicture broken = pic;
  broken.data.resize(10);
  ws->islandHeights[2][0][0] = 77;
  StoreIslandHeights(*ws, 2, broken);
  EXPECT_EQ(ws->islandHeights[2][0][0], 77);
}

TEST(LevelPictures, HeightMapCornerAndTerrainColoursThroughGradient) {
  auto ws = std::make_unique<WorldState>();
  ws->heightMap[20][20] = 9;
  const LevelPicture height = MakePicture(16, 8, [](int32_t x, int32_t y) {
    return std::array<uint8_t, 3>{0, static_cast<uint8_t>(x * 10 + y), 0};
  });
  StoreHeightMapPicture(*ws, height);
  EXPECT_EQ(ws->heightMap[3][5], 35);
  EXPECT_EQ(ws->heightMap[15][7], 157);
  EXPECT_EQ(ws->heightMap[20][20], 9);  // outside the picture: unchanged

  // Gradient: row h is (h, 255, 128); colours: white except a dark pixel.
  const LevelPicture grad = MakePicture(2, 256, [](int32_t, int32_t y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(y), 255, 128};
  });
  const LevelPicture colours = MakePicture(16, 8, [](int32_t x, int32_t y) {
    return x == 1 && y == 1 ? std::array<uint8_t, 3>{51, 102, 0}
                            : std::array<uint8_t, 3>{255, 255, 255};
  });
  TerrainColourAt(*ws, 30, 30) = {0.5f, 0.5f, 0.5f, 0.5f};
  ComputeTerrainColours(*ws, colours, grad);
  const Color4f c = TerrainColourAt(*ws, 3, 5);  // height 35
  EXPECT_FLOAT_EQ(c.r, 35 / 255.0f);
  EXPECT_FLOAT_EQ(c.g, 1.0f);
  EXPECT_FLOAT_EQ(c.b, 128 / 255.0f);
  EXPECT_FLOAT_EQ(c.a, 1.0f);
  const Color4f d = TerrainColourAt(*ws, 1, 1);  // height 11
  EXPECT_FLOAT_EQ(d.r, 0.2f * 11 / 255.0f);
  EXPECT_FLOAT_EQ(d.g, 0.4f);
  EXPECT_FLOAT_EQ(d.b, 0.0f);
  EXPECT_FLOAT_EQ(TerrainColourAt(*ws, 30, 30).r, 0.5f);  // outside the picture

  // A short gradient leaves the rows it lacks black.
  const LevelPicture shortGrad = MakePicture(1, 10, [](int32_t, int32_t) {
    return std::array<uint8_t, 3>{255, 255, 255};
  });
  ComputeTerrainColours(*ws, colours, shortGrad);
  EXPECT_FLOAT_EQ(TerrainColourAt(*ws, 0, 5).g, 1.0f);  // height 5
  EXPECT_FLOAT_EQ(TerrainColourAt(*ws, 3, 5).g, 0.0f);  // height 35
}

TEST_F(LevelTest, TerrainColoursNeedTheGradientOfTheLevel) {
  ws_->levelNumber = 4;
  const LevelPicture white = MakePicture(4, 4, [](int32_t, int32_t) {
    return std::array<uint8_t, 3>{255, 255, 255};
  });
  host_.pictures["x\\dir\\col.qvt"] = white;
  TerrainColourAt(*ws_, 0, 0) = {0.25f, 0.25f, 0.25f, 1};
  LoadTerrainColours(*ws_, host_, "x\\dir\\col.qvt");  // no ugrad4.qvt: nothing changes
  EXPECT_FLOAT_EQ(TerrainColourAt(*ws_, 0, 0).r, 0.25f);
  host_.pictures["x\\dir\\ugrad4.qvt"] = white;
  LoadTerrainColours(*ws_, host_, "x\\dir\\col.qvt");
  EXPECT_FLOAT_EQ(TerrainColourAt(*ws_, 0, 0).r, 1.0f);
}

// Writes level `n` of episode 1: land with a wrong terrainView, units and bonuses as given.
class EnterLevelTest : public LevelTest {
 protected:
  void WriteLevel(int32_t n, const std::vector<UnitRecord>& units,
                  const std::vector<BonusRecord>& bonuses) {
    auto src = std::make_unique<WorldState>();
    src->terrainView[0] = 1;
    src->terrainView[3] = 99;
    src->heightMap[100][200] = static_cast<uint8_t>(n);
    src->statics[1].alive = 1;
    src->statics[1].terrainKind = 3;
    for (size_t i = 0; i < units.size(); ++i) src->units[i] = units[i];
    for (size_t i = 0; i < bonuses.size(); ++i) src->bonuses[i] = bonuses[i];
    const std::string dir = GameDir();
    fs::create_directories(EpisodeDir() / "data");
    InvalidatePathCache();
    const std::string ns = std::to_string(n);
    ASSERT_TRUE(SaveLand(*src, dir + "data\\Land" + ns + ".lan"));
    ASSERT_TRUE(SaveUnits(*src, dir + "data\\normal" + ns + ".unt"));
    ASSERT_TRUE(SaveBonuses(*src, dir + "data\\normal" + ns + ".bon"));
    host_.pictures[dir + "Data\\size" + ns + ".qvt"] = MakePicture(160, 2, [](int32_t, int32_t) {
      return std::array<uint8_t, 3>{0, 0, 0};
    });
  }
  static UnitRecord Unit(int32_t kind, float life, double x, double rot) {
    UnitRecord u{};
    u.alive = 1;
    u.unitKind = kind;
    u.life = life;
    u.maxLife = life;
    u.posX = x;
    u.posZ = x + 1;
    u.posY = -5;
    u.rotY = rot;
    u.heel = rot * 2;
    u.reload = 3;
    return u;
  }
};

TEST_F(EnterLevelTest, EpisodeStartLoadsArtThenLevelOne) {
  WriteLevel(1, {UnitRecord{}, Unit(2, 80, 10, 0.5), Unit(40, 100, 20, 1)}, {});
  ASSERT_TRUE(EnterLevel(*ws_, host_, 201));
  EXPECT_EQ(Cp1251ToUtf8(ws_->episodeName.View()), "Заманчивые тропики");
  EXPECT_EQ(ws_->episode, 1);
  EXPECT_EQ(ws_->levelNumber, 1);
  EXPECT_EQ(ws_->levelSize, 160);
  EXPECT_EQ(ws_->heightMap[100][200], 1);
  EXPECT_EQ(ws_->statics[1].terrainKind, 3);
  EXPECT_DOUBLE_EQ(ws_->screenFade, 1.0);
  const std::vector<std::string> expected = {
      "fps off", "progress0", "loading1",        "art:Заманчивые тропики",
      "music1",  "fps on",    "hint:Whint1.wav", "minimap"};
  EXPECT_EQ(host_.calls, expected);
  // The land file's own view is replaced.
  EXPECT_EQ(ws_->terrainView[0], 47);
  EXPECT_EQ(ws_->terrainView[1], 14);
  EXPECT_EQ(ws_->terrainView[2], 47);
  EXPECT_EQ(ws_->terrainView[3], 64);
  EXPECT_EQ(ws_->units[2].unitKind, 40);
}

TEST_F(EnterLevelTest, PlayerKeepsItsStateAndTakesPlaceAndHeading) {
  WriteLevel(3, {UnitRecord{}, Unit(9, 1, 55, 2.5), Unit(40, 100, 20, 1)}, {});
  ws_->episode = 3;
  ws_->episodeName.Set(EpisodeName(1));
  ws_->keys[1] = 1;
  ws_->unitAlerted[4] = 1;
  ws_->neighbourPlusZ = 7;
  UnitRecord& p = ws_->units[1];
  p = Unit(2, 64, 1, 0.1);
  p.maxLife = 90;
  p.posY = 0.25;
  p.reload = 17;
  p.ctlMainGun = 1;
  p.reserved264 = 1234;
  ASSERT_TRUE(EnterLevel(*ws_, host_, 3));
  const UnitRecord& q = ws_->units[1];
  EXPECT_EQ(q.unitKind, 2);
  EXPECT_FLOAT_EQ(q.life, 64);  // not scaled by the episode
  EXPECT_FLOAT_EQ(q.maxLife, 90);
  EXPECT_DOUBLE_EQ(q.posY, 0.25);
  EXPECT_FLOAT_EQ(q.reload, 17);
  EXPECT_EQ(q.ctlMainGun, 1);
  EXPECT_EQ(q.reserved264, 1234);
  EXPECT_DOUBLE_EQ(q.posX, 55);
  EXPECT_DOUBLE_EQ(q.posZ, 56);
  EXPECT_DOUBLE_EQ(q.rotY, 2.5);
  EXPECT_DOUBLE_EQ(q.heel, 5.0);
  // Episode 3: an enemy of 100 has 300.
  EXPECT_FLOAT_EQ(ws_->units[2].maxLife, 300);
  EXPECT_FLOAT_EQ(ws_->units[2].life, 300);
  EXPECT_EQ(ws_->keys[1], 0);
  EXPECT_EQ(ws_->unitAlerted[4], 0);
  EXPECT_EQ(ws_->neighbourPlusZ, 0);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"minimap"});
}

TEST_F(EnterLevelTest, PickupsLoseTheirRadiusTriggersKeepIt) {
  std::vector<BonusRecord> bonuses(20);
  const int32_t kinds[] = {1, 6, 7, 10, 11, 15, 16, 19, 0, -4, 1000};
  const bool zeroed[] = {true, true, false, false, true, true, false, false, false, false, false};
  for (size_t i = 0; i < std::size(kinds); ++i) {
    bonuses[i + 1].kind = kinds[i];
    bonuses[i + 1].radius = 2.5f;
    bonuses[i + 1].alive = 1;
  }
  WriteLevel(2, {}, bonuses);
  ws_->episodeName.Set(EpisodeName(1));
  ws_->episode = 1;
  ASSERT_TRUE(EnterLevel(*ws_, host_, 2));
  for (size_t i = 0; i < std::size(kinds); ++i) {
    EXPECT_FLOAT_EQ(ws_->bonuses[i + 1].radius, zeroed[i] ? 0.0f : 2.5f) << "kind " << kinds[i];
  }
}

TEST_F(EnterLevelTest, OutroAndNumbersOutsideTheTable) {
  ws_->GameMode = 2;
  ws_->levelNumber = 4;
  ASSERT_TRUE(EnterLevel(*ws_, host_, 500));
  EXPECT_EQ(ws_->GameMode, 1);
  EXPECT_EQ(ws_->levelNumber, 4);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"outro"});
  host_.calls.clear();
  for (int32_t n : {0, -1, 205, 499, 501, 1 << 30}) {
    EXPECT_FALSE(EnterLevel(*ws_, host_, n)) << n;
  }
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(ws_->levelNumber, 4);
}

TEST_F(EnterLevelTest, MissingFilesKeepTheStateAndABadPlayerSlotIsSafe) {
  ws_->episodeName.Set(EpisodeName(2));  // no files of episode 2
  ws_->episode = 2;
  ws_->units[3].life = 10;
  ws_->levelSize = 77;
  ws_->playerUnit = 100000;  // from a file: not a slot
  ASSERT_TRUE(EnterLevel(*ws_, host_, 9));
  EXPECT_EQ(ws_->levelSize, 77);
  EXPECT_FLOAT_EQ(ws_->units[3].life, 20);  // scaled again, as every entry does
  EXPECT_EQ(ws_->terrainView[3], 64);
}

TEST_F(EnterLevelTest, LevelSizeOutsideTheSeaFloorIsRefusedWithAMessage) {
  struct Row {
    int32_t width;
    int32_t levelSize;  // after the read; 77 = unchanged
    bool message;
  };
  ws_->episodeName.Set(EpisodeName(1));
  const std::string file = GameDir() + "Data\\size3.qvt";
  const std::string said = [&](int32_t w) {
    return "Размер уровня " + std::to_string(w) + " в «" + ResolvePath(file) +
           "» вне пределов 1..1024.";
  }(1025);
  for (const Row& row : {Row{1, 1, false}, Row{1024, 1024, false}, Row{1025, 77, true},
                         Row{16384, 77, true}, Row{0, 77, true}}) {
    SCOPED_TRACE(row.width);
    host_.pictures[file] = MakePicture(row.width, 1, [](int, int) {
      return std::array<uint8_t, 3>{0, 0, 0};
    });
    ws_->levelSize = 77;
    const LevelMessage m = ReadLevelSize(*ws_, host_, 3);
    EXPECT_EQ(ws_->levelSize, row.levelSize);
    EXPECT_EQ(m.text.empty(), !row.message);
    if (row.message) {
      EXPECT_EQ(m.caption, "Skerrow");
      EXPECT_EQ(m.text, "Размер уровня " + std::to_string(row.width) + " в «" + ResolvePath(file) +
                            "» вне пределов 1..1024.");
    }
  }
  // EnterLevel hands the message to its host, which shows it, and leaves the level unentered.
  host_.pictures[file] = MakePicture(1025, 1, [](int, int) {
    return std::array<uint8_t, 3>{0, 0, 0};
  });
  ws_->levelSize = 77;
  ws_->levelNumber = 2;
  ASSERT_FALSE(EnterLevel(*ws_, host_, 3));
  EXPECT_EQ(ws_->levelSize, 77);
  EXPECT_EQ(ws_->levelNumber, 2);
  const std::vector<std::string> expected = {"message:Skerrow:" + said};
  EXPECT_EQ(host_.calls, expected);
}

// A level file of the wrong length, or whose units, statics or bonuses fail their checks, is
// refused before anything changes: an episode start loads no art, the running level stays.
TEST_F(EnterLevelTest, AHostileLevelIsRefusedWithItsMessageAndNothingChanges) {
  const double nan = std::nan("");
  struct Case {
    const char* name;
    std::function<void(WorldState&)> damage;  // to the level's records before they are saved
    const char* file = nullptr;               // then this file of level 4 is cut or lengthened
    long delta = 0;                           // bytes added to it (negative: cut)
    const char* said = "";                    // a part of the message
  };
  const auto none = [](WorldState&) {};
  const Case cases[] = {
      {"short land", none, "data\\Land4.lan", -1, "содержит 6986775 байт вместо 6986776"},
      {"long units", none, "data\\normal4.unt", 1, "длиннее 69632 байт"},
      {"empty bonuses", none, "data\\normal4.bon", -33792, "содержит 0 байт"},
      {"unit kind", [](WorldState& s) { s.units[9] = Unit(999, 5, 3, 0); }, nullptr, 0,
       "у единицы 9 неизвестный тип 999"},
      {"negative kind of a sinking unit",
       [](WorldState& s) {
         s.units[9].sinking = 1;
         s.units[9].unitKind = -1;
       },
       nullptr, 0, "у единицы 9 неизвестный тип -1"},
      {"unit place", [nan](WorldState& s) { s.units[2].posZ = nan; }, nullptr, 0,
       "место единицы 2 не число"},
      {"unit heading", [](WorldState& s) { s.units[2].rotY = INFINITY; }, nullptr, 0, "единицы 2"},
      {"player's slot not in use",
       [nan](WorldState& s) {
         s.units[1].alive = 0;
         s.units[1].posX = nan;
       },
       nullptr, 0, "место корабля игрока не число"},
      {"terrain piece", [](WorldState& s) { s.statics[3].terrainKind = 128; }, nullptr, 0,
       "у острова 3 неизвестный вид суши 128"},
      {"static place", [nan](WorldState& s) { s.statics[3].posY = nan; }, nullptr, 0,
       "место острова 3"},
      {"object kind", [](WorldState& s) { s.statics[3].objects[32].objectKind = 0; }, nullptr, 0,
       "у острова 3 предмет неизвестного вида 0"},
      {"object turn", [nan](WorldState& s) { s.statics[3].objects[32].rotX = nan; }, nullptr, 0,
       "место предмета острова 3"},
      {"bonus place", [nan](WorldState& s) { s.bonuses[255].posX = -nan; }, nullptr, 0,
       "место бонуса 255"},
      {"bonus radius", [](WorldState& s) { s.bonuses[255].radius = -INFINITY; }, nullptr, 0,
       "бонуса 255"},
  };
  const fs::path data = EpisodeDir() / "data";
  const auto writeLevel = [&](const Case& c) {
    auto src = std::make_unique<WorldState>();
    src->units[1] = Unit(1, 100, 30, 0.5);
    src->units[2] = Unit(7, 40, 60, 1.0);
    src->statics[3].alive = 1;
    src->statics[3].terrainKind = 2;
    src->statics[3].objects[32].alive = 1;
    src->statics[3].objects[32].objectKind = 128;
    src->bonuses[255].alive = 1;
    src->bonuses[255].kind = 3;
    c.damage(*src);
    const std::string dir = GameDir();
    fs::create_directories(data);
    InvalidatePathCache();
    ASSERT_TRUE(SaveLand(*src, dir + "data\\Land4.lan"));
    ASSERT_TRUE(SaveUnits(*src, dir + "data\\normal4.unt"));
    ASSERT_TRUE(SaveBonuses(*src, dir + "data\\normal4.bon"));
    if (c.file != nullptr) {
      std::string name = c.file;
      name = name.substr(name.find('\\') + 1);
      const fs::path f = data / name;
      fs::resize_file(f, static_cast<uintmax_t>(static_cast<long>(fs::file_size(f)) + c.delta));
    }
  };
  // The running game: level 2 of episode 1, whose own files do not matter here.
  ws_->episodeName.Set(EpisodeName(1));
  ws_->episode = 1;
  ws_->levelNumber = 2;
  ws_->levelSize = 77;
  ws_->units[1] = Unit(2, 64, 5, 0.25);
  ws_->units[4] = Unit(7, 40, 9, 2.0);
  ws_->heightMap[7][7] = 200;
  ws_->neighbourPlusX = 4;
  const std::vector<uint8_t> before(SavedBytes(*ws_).begin(), SavedBytes(*ws_).end());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeLevel(c);
    host_.calls.clear();
    ASSERT_FALSE(EnterLevel(*ws_, host_, 4));
    EXPECT_TRUE(std::ranges::equal(SavedBytes(*ws_), before));
    EXPECT_EQ(ws_->levelSize, 77);
    ASSERT_EQ(host_.calls.size(), 1u);
    EXPECT_NE(host_.calls[0].find("Уровень 4 из"), std::string::npos) << host_.calls[0];
    EXPECT_NE(host_.calls[0].find(c.said), std::string::npos) << host_.calls[0];
  }
  // The same level undamaged is entered.
  writeLevel({"sound", none});
  host_.calls.clear();
  EXPECT_TRUE(EnterLevel(*ws_, host_, 4));
  EXPECT_EQ(ws_->units[2].unitKind, 7);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"minimap"});
}

// An episode whose first level is refused starts nothing: no art, music, hint or timer call.
TEST_F(EnterLevelTest, AnEpisodeWhoseFirstLevelIsRefusedIsNotStarted) {
  WriteLevel(1, {UnitRecord{}, Unit(1, 100, 10, 0.5), Unit(300, 100, 20, 1)}, {});
  ws_->episodeName.Set(EpisodeName(2));
  ws_->episode = 2;
  ASSERT_FALSE(EnterLevel(*ws_, host_, 201));
  EXPECT_EQ(ws_->episode, 2);
  EXPECT_EQ(ws_->episodeName.View(), EpisodeName(2));
  ASSERT_EQ(host_.calls.size(), 1u);
  EXPECT_NE(host_.calls[0].find("у единицы 2 неизвестный тип 300"), std::string::npos)
      << host_.calls[0];
}

TEST(EpisodeTable, NamesAndMusicRows) {
  EXPECT_EQ(Cp1251ToUtf8(EpisodeName(2)), "Ледяной плен");
  EXPECT_EQ(EpisodeName(0), "");
  EXPECT_EQ(EpisodeName(5), "");
  EXPECT_EQ(EpisodeMusic(4), EpisodeMusic(3));
  EXPECT_EQ(Cp1251ToUtf8(EpisodeMusic(1)), "GData\\Music\\batle\\Одиночество.mp3");
  EXPECT_EQ(EpisodeMusic(0), "");
}

}  // namespace
}  // namespace skerrow
