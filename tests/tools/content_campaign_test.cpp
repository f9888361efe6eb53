// The campaign of the built content pack read back through the game's own loaders: every level
// of every episode enters without a message, the links and boss rewards lead from the first
// level to the end, every hint, found item and boss has its text, every door its key or switch,
// and the tutorial, the bonus and trigger kinds and the unit kinds are all where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "render/game_resources.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"
#include "world_hints.h"
#include "world_kinds.h"
#include "world_levels.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

const std::string kPackRoot = std::string(SKERROW_BINARY_DIR) + "/";

// EnterLevel's host over the pack, without graphics: it counts what a player would be told.
class CampaignHost : public LevelHost {
 public:
  bool ReadPicture(const std::string& p, LevelPicture& out) override {
    return reader.ReadPicture(p, out);
  }
  void ResetLoadingProgress() override {}
  void LoadLoadingPicture(int32_t) override {}
  void LoadEpisodeArt(const std::string&) override {}
  void LoadMinimap(const std::string& p) override { minimapFound = PathExists(p); }
  void SetFpsTimer(bool) override {}
  void StartEpisodeMusic(int32_t) override {}
  void ShowEpisodeHint(const std::string&, const std::string& text) override {
    openingHints.push_back(text);
  }
  void ShowLevelMessage(const LevelMessage& m) override { messages.push_back(m.text); }
  void ShowOutro() override {}
  EnginePictureReader reader;
  std::vector<std::string> messages, openingHints;
  bool minimapFound = false;
};

// One level as EnterLevel leaves it.
struct EnteredLevel {
  int32_t episode = 0, number = 0;
  std::vector<UnitRecord> units;     // slots 0..255
  std::vector<BonusRecord> bonuses;  // slots 0..255
};

std::string HintFile(const std::string& name) {
  return ResolvePath(kPackRoot + "gdata\\ata\\hints\\" + name + ".txt");
}

class Campaign : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    levels_ = new std::vector<EnteredLevel>();
    messages_ = new std::vector<std::string>();
    if (!fs::exists(fs::path(kPackRoot) / "gdata" / "Skerrow.qvp")) return;
    InvalidatePathCache();
    auto ws = std::make_unique<WorldState>();
    ws->appPath = kPackRoot;
    ws->playerUnit = 1;
    CampaignHost host;
    for (int32_t e = 1; e <= kCampaignEpisodes; ++e) {
      for (int32_t n = 1; n <= CampaignEpisode(e).levels; ++n) {
        host.minimapFound = false;
        ws->levelSize = 0;
        bool entered = EnterLevel(*ws, host, n == 1 ? 200 + e : n);
        if (!entered || ws->levelSize <= 0 || !host.minimapFound || ws->episode != e ||
            ws->levelNumber != n)
          messages_->push_back("level " + std::to_string(e) + ":" + std::to_string(n) +
                               " did not load whole");
        EnteredLevel level{e, n, {}, {}};
        level.units.assign(ws->units, ws->units + kUnitSlots);
        level.bonuses.assign(ws->bonuses, ws->bonuses + kBonusSlots);
        levels_->push_back(std::move(level));
      }
    }
    for (const std::string& m : host.messages) messages_->push_back(m);
    openingHints_ = new std::vector<std::string>(host.openingHints);
  }
  static void TearDownTestSuite() {
    delete levels_;
    delete messages_;
    delete openingHints_;
  }
  void SetUp() override {
    if (levels_->empty()) GTEST_SKIP() << "no content pack in " << kPackRoot;
  }
  static const EnteredLevel& Level(int32_t e, int32_t n) {
    for (const EnteredLevel& l : *levels_)
      if (l.episode == e && l.number == n) return l;
    throw std::runtime_error("no such level");
  }

  static std::vector<EnteredLevel>* levels_;
  static std::vector<std::string>* messages_;
  static std::vector<std::string>* openingHints_;
};
std::vector<EnteredLevel>* Campaign::levels_ = nullptr;
std::vector<std::string>* Campaign::messages_ = nullptr;
std::vector<std::string>* Campaign::openingHints_ = nullptr;

TEST_F(Campaign, EveryLevelOfEveryEpisodeEntersWithoutAMessage) {
  EXPECT_EQ(levels_->size(), 16u);
  for (const std::string& m : *messages_) ADD_FAILURE() << m;
  ASSERT_EQ(openingHints_->size(), static_cast<size_t>(kCampaignEpisodes));
  for (const std::string& text : *openingHints_) EXPECT_TRUE(PathExists(text)) << text;
}

// Follows exits, the hidden gate and the boss rewards from the first level of episode 1.
TEST_F(Campaign, LinksAndBossRewardsLeadFromTheFirstLevelToEveryLevelAndTheEnd) {
  std::set<std::pair<int32_t, int32_t>> seen;
  std::vector<std::pair<int32_t, int32_t>> todo = {{1, 1}};
  bool end = false;
  while (!todo.empty()) {
    auto [e, n] = todo.back();
    todo.pop_back();
    if (!seen.insert({e, n}).second) continue;
    const EnteredLevel& level = Level(e, n);
    std::vector<int32_t> targets;
    for (int32_t i = 1; i < kUnitSlots; ++i) {
      const UnitRecord& u = level.units[static_cast<size_t>(i)];
      if (u.alive != 1) continue;
      if (KindRoleOf(u.unitKind)->kindClass == unit_class::kExitGate)
        targets.push_back(static_cast<int32_t>(u.rotateSpeed));
      if (u.unitKind == kind::kPirateFlagship) targets.push_back(202);
      if (u.unitKind == kind::kIronclad) targets.push_back(203);
      if (u.unitKind == kind::kFlyingFortress) targets.push_back(500);
    }
    EXPECT_FALSE(targets.empty()) << e << ":" << n << " leads nowhere";
    for (int32_t t : targets) {
      SCOPED_TRACE(std::to_string(e) + ":" + std::to_string(n) + " -> " + std::to_string(t));
      if (t == 500) {
        end = true;
      } else if (t > 200) {
        ASSERT_TRUE(LevelFilesExist(kPackRoot, t - 200, 1));
        todo.push_back({t - 200, 1});
      } else {
        ASSERT_TRUE(LevelFilesExist(kPackRoot, e, t));
        todo.push_back({e, t});
      }
    }
  }
  EXPECT_EQ(seen.size(), levels_->size());
  EXPECT_TRUE(end);
}

TEST_F(Campaign, EachBossEndsItsEpisodeInItsLastLevel) {
  const std::pair<int32_t, int32_t> bosses[] = {
      {1, kind::kPirateFlagship}, {2, kind::kIronclad}, {3, kind::kFlyingFortress}};
  for (auto [e, boss] : bosses) {
    int found = 0;
    for (const EnteredLevel& l : *levels_)
      for (const UnitRecord& u : l.units)
        if (u.alive == 1 && u.unitKind == boss) {
          EXPECT_EQ(l.episode, e);
          EXPECT_EQ(l.number, CampaignEpisode(e).levels);
          EXPECT_EQ(+u.haveAI, 1);
          ++found;
        }
    EXPECT_EQ(found, 1) << "boss " << boss;
    EXPECT_TRUE(PathExists(HintFile("Boss" + std::to_string(e)))) << e;
  }
}

// Every text the placed triggers, found items and episodes ask for: Windows-1251, CR LF line
// ends, and no more than the hint window's ten lines of about 45 characters once wrapped.
TEST_F(Campaign, EveryHintFoundItemAndBossHasItsText) {
  std::set<std::string> wanted = {"Boss1", "Boss2", "Boss3"};
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e) wanted.insert("Whint" + std::to_string(e));
  for (const EnteredLevel& l : *levels_) {
    for (const BonusRecord& b : l.bonuses)
      if (b.alive == 1 && b.kind == bonus::kHint) wanted.insert("hint" + std::to_string(b.tag));
    for (const UnitRecord& u : l.units) {
      if (u.alive != 1) continue;
      const int32_t k = u.unitKind;
      if (k != kind::kMonitor && k != kind::kItemWreck22 && k != kind::kItemWreck37 &&
          k != kind::kItemWreck50)
        continue;
      const std::string n = std::to_string(static_cast<int32_t>(u.acceleration));
      const std::string own =
          "Get" + std::to_string(l.episode) + "-" + std::to_string(l.number) + "-" + n;
      EXPECT_GT(u.acceleration, 0) << "a found item without its number";
      wanted.insert(PathExists(HintFile(own)) ? own : "Get" + n);
    }
  }
  EXPECT_GT(wanted.size(), 20u);
  for (const std::string& name : wanted) {
    SCOPED_TRACE(name);
    std::string path = HintFile(name);
    ASSERT_TRUE(PathExists(path));
    std::ifstream f(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), {});
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(bytes)), bytes);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    int windowLines = 0;
    size_t begin = 0;
    for (size_t end; (end = bytes.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
      EXPECT_EQ(bytes.substr(begin, end - begin).find('\n'), std::string::npos);
      windowLines += std::max<int>(1, static_cast<int>((end - begin + 44) / 45));
    }
    EXPECT_EQ(begin, bytes.size()) << "a line without CR LF";
    EXPECT_LE(windowLines, 10);
  }
}

TEST_F(Campaign, EveryDoorHasItsKeyOrSwitchInItsLevel) {
  int doors = 0;
  for (const EnteredLevel& l : *levels_) {
    SCOPED_TRACE(std::to_string(l.episode) + ":" + std::to_string(l.number));
    std::set<int32_t> keys;
    for (const BonusRecord& b : l.bonuses)
      if (b.alive == 1 && b.kind >= bonus::kKey1 && b.kind <= bonus::kKey3) keys.insert(b.kind);
    for (const UnitRecord& u : l.units) {
      if (u.alive != 1) continue;
      const int32_t k = u.unitKind;
      int32_t key = 0;
      if (k == kind::kKeyGate1 || k == kind::kKeyGate1b) key = bonus::kKey1;
      if (k == kind::kKeyGate2 || k == kind::kKeyGate2b) key = bonus::kKey2;
      if (k == kind::kKeyGate3 || k == kind::kKeyGate3b) key = bonus::kKey3;
      if (key) {
        ++doors;
        EXPECT_TRUE(keys.count(key)) << "door " << k << " without its key";
      }
      const bool switched = k == kind::kLock || k == kind::kLock2 ||
                            KindRoleOf(k)->kindClass == unit_class::kLinkedGun;
      if (switched) {
        ++doors;
        const int32_t s = static_cast<int32_t>(u.rotateSpeed);
        ASSERT_GT(s, 0) << "kind " << k << " without its switch";
        ASSERT_LT(s, kUnitSlots);
        EXPECT_EQ(l.units[static_cast<size_t>(s)].unitKind, kind::kSwitch) << "kind " << k;
      }
    }
  }
  EXPECT_GE(doors, 10);
}

TEST_F(Campaign, EveryBonusAndTriggerKindIsPlacedWhereItBelongs) {
  std::set<int32_t> placed;
  std::map<int32_t, std::set<std::pair<int32_t, int32_t>>> levelsOf;  // kind -> levels
  for (const EnteredLevel& l : *levels_)
    for (const BonusRecord& b : l.bonuses)
      if (b.alive == 1) {
        placed.insert(b.kind);
        levelsOf[b.kind].insert({l.episode, l.number});
      }
  for (int32_t k = 1; k < bonus::kCount; ++k) EXPECT_TRUE(placed.count(k)) << "bonus kind " << k;
  for (int32_t k : {bonus::kSnowStarts, bonus::kSnowStops}) {
    ASSERT_FALSE(levelsOf[k].empty());
    for (auto [e, n] : levelsOf[k]) EXPECT_EQ(e, 2) << "snow outside the ice";
  }
  // Darkness and light again in the same level of episode 3.
  ASSERT_EQ(levelsOf[bonus::kDarkness].size(), 1u);
  EXPECT_EQ(levelsOf[bonus::kDarkness], levelsOf[bonus::kLightAgain]);
  EXPECT_EQ(levelsOf[bonus::kDarkness].begin()->first, 3);
}

TEST_F(Campaign, EveryKindTheCodeDrivesIsPlaced) {
  std::set<int32_t> placed;
  for (const EnteredLevel& l : *levels_)
    for (const UnitRecord& u : l.units)
      if (u.alive == 1) placed.insert(u.unitKind);
  // Kinds with a behaviour, a death event or a fixed class of their own.
  const int32_t wanted[] = {2,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                            19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,
                            35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 50, 51};
  for (int32_t k : wanted) EXPECT_TRUE(placed.count(k)) << "kind " << k << " is never placed";
  // The wanderer is the stern-wheeler under computer control.
  bool wanderer = false;
  for (const EnteredLevel& l : *levels_)
    for (size_t i = 2; i < l.units.size(); ++i)
      wanderer |= l.units[i].alive == 1 && l.units[i].unitKind == kind::kSternWheeler &&
                  l.units[i].haveAI == 1;
  EXPECT_TRUE(wanderer);
}

// Aircraft fly: every bomber, autogyro, seaplane, flying fortress and fighter the levels place,
// and the .par a summoning boss (or the editor) loads for its kind, is above the water, among
// the units drawn in the air (above 0.5); the bombers, the fortress and the fighter high enough
// for the homing rockets to find them (above 3).
TEST_F(Campaign, EveryAircraftIsPlacedAndSummonedAtAFlyingHeight) {
  const std::pair<int32_t, double> flyers[] = {{kind::kBomber, 3},         {kind::kHeavyBomber, 3},
                                               {kind::kAutogyro, 0.5},     {kind::kSeaplane, 0.5},
                                               {kind::kFlyingFortress, 3}, {kind::kFighter, 3}};
  std::map<int32_t, int> placed;
  for (const EnteredLevel& l : *levels_) {
    for (size_t i = 1; i < l.units.size(); ++i) {
      const UnitRecord& u = l.units[i];
      if (u.alive != 1) continue;
      for (auto [k, above] : flyers) {
        if (u.unitKind != k) continue;
        ++placed[k];
        EXPECT_GT(u.posY, above) << "kind " << k << " in level " << l.episode << ":" << l.number
                                 << ", slot " << i;
      }
    }
  }
  for (auto [k, above] : flyers) {
    EXPECT_GT(placed[k], 0) << "kind " << k << " is never placed";
    std::ifstream f(kPackRoot + "gdata/parameters/unit" + std::to_string(k) + ".par",
                    std::ios::binary);
    UnitRecord par{};
    ASSERT_TRUE(f.read(reinterpret_cast<char*>(&par), sizeof par)) << "unit" << k << ".par";
    EXPECT_GT(par.posY, above) << "unit" << k << ".par";
  }
  // Everything else sits on the water.
  for (const KindRole& r : kKindRoles) {
    if (r.nameUtf8 == nullptr) continue;
    bool flies = false;
    for (auto [k, above] : flyers) flies |= k == r.kind;
    if (flies) continue;
    std::ifstream f(kPackRoot + "gdata/parameters/unit" + std::to_string(r.kind) + ".par",
                    std::ios::binary);
    UnitRecord par{};
    ASSERT_TRUE(f.read(reinterpret_cast<char*>(&par), sizeof par)) << "unit" << r.kind << ".par";
    EXPECT_EQ(par.posY, 0) << "unit" << r.kind << ".par";
  }
}

// The first level teaches the ship in order along its first stretch, and the guns work before
// any enemy can come near: the guns' trigger lies nearer the start than the alert reach of
// every enemy.
TEST_F(Campaign, TheTutorialUnlocksInOrderAndTheGunsComeFirst) {
  const EnteredLevel& l = Level(1, 1);
  const UnitRecord& player = l.units[1];
  std::map<int32_t, double> nearest;  // tag -> nearest trigger's distance from the start
  for (const BonusRecord& b : l.bonuses) {
    if (b.alive != 1 || b.kind != bonus::kHint) continue;
    double d = std::hypot(b.posX - player.posX, b.posZ - player.posZ);
    if (!nearest.count(b.tag) || d < nearest[b.tag]) nearest[b.tag] = d;
  }
  const int32_t order[] = {hint_tag::kMouse,     hint_tag::kGuns,  hint_tag::kInfoPanel,
                           hint_tag::kUpgrades,  hint_tag::kRadar, hint_tag::kWeaponS,
                           hint_tag::kEverything};
  double last = -1;
  for (int32_t tag : order) {
    ASSERT_TRUE(nearest.count(tag)) << "tag " << tag;
    EXPECT_GT(nearest[tag], last) << "tag " << tag << " out of order";
    last = nearest[tag];
  }
  // Met a few units ahead, once the opening hint has been read and the ship set off, and not
  // in the steps that settle a new game before that hint.
  EXPECT_GT(nearest[hint_tag::kMouse], 1.0 + player.radius);
  EXPECT_LT(nearest[hint_tag::kMouse], 6.0);
  for (size_t i = 2; i < l.units.size(); ++i) {
    const UnitRecord& u = l.units[i];
    if (u.alive != 1 || u.haveAI != 1) continue;
    const double d = std::hypot(u.posX - player.posX, u.posZ - player.posZ);
    EXPECT_GT(d - 15.5, nearest[hint_tag::kGuns] + 20) << "unit " << i << " kind " << u.unitKind;
  }
}

// The route of a level every quarter unit, shifted `offset` units to the right of it.
struct TrackPoint {
  double x, z;
};
std::vector<TrackPoint> RouteTrack(int32_t e, int32_t n, double offset) {
  const std::vector<Waypoint> route = LevelRoute(e, n);
  std::vector<TrackPoint> track;
  for (size_t i = 1; i < route.size(); ++i) {
    const double dx = route[i].x - route[i - 1].x, dz = route[i].z - route[i - 1].z;
    const double len = std::hypot(dx, dz);
    if (len <= 0) continue;
    const double rx = -dz / len, rz = dx / len;  // a side of the way, the same all along
    for (double t = 0; t < len; t += 0.25)
      track.push_back({route[i - 1].x + dx * t / len + rx * offset,
                       route[i - 1].z + dz * t / len + rz * offset});
  }
  return track;
}

// The hero ships' radii: a trigger of radius 0 fires when it lies within the ship's own.
std::vector<double> HeroRadii() {
  std::vector<double> radii;
  for (int32_t k : {kind::kPaddleSteamer, kind::kSternWheeler, kind::kCruiser})
    radii.push_back(FindKind(k)->radius);
  return radii;
}

// A ship sailing level 1's route, on it or half a unit to either side, meets each lesson's hint
// once, in the order of the lessons.
TEST_F(Campaign, EachTutorialHintFiresOnceOnTheRouteInLessonOrder) {
  const EnteredLevel& l = Level(1, 1);
  const std::set<int32_t> lessons = {hint_tag::kMouse,     hint_tag::kGuns,  hint_tag::kInfoPanel,
                                     hint_tag::kUpgrades,  hint_tag::kRadar, hint_tag::kWeaponS,
                                     hint_tag::kEverything};
  const std::vector<int32_t> order = {hint_tag::kMouse,     hint_tag::kGuns,  hint_tag::kInfoPanel,
                                      hint_tag::kUpgrades,  hint_tag::kRadar, hint_tag::kWeaponS,
                                      hint_tag::kEverything};
  for (double radius : HeroRadii()) {
    for (double offset : {-0.5, 0.0, 0.5}) {
      SCOPED_TRACE("ship radius " + std::to_string(radius) + ", " + std::to_string(offset) +
                   " beside the route");
      std::vector<bool> fired(l.bonuses.size(), false);
      std::vector<int32_t> shown;
      for (const TrackPoint& p : RouteTrack(1, 1, offset)) {
        for (size_t i = 1; i < l.bonuses.size(); ++i) {
          const BonusRecord& b = l.bonuses[i];
          if (fired[i] || b.alive != 1 || b.kind != bonus::kHint) continue;
          const double dy = b.posY;  // the ship floats at 0
          if (std::sqrt(std::pow(b.posX - p.x, 2) + dy * dy + std::pow(b.posZ - p.z, 2)) >
              radius + b.radius)
            continue;
          fired[i] = true;
          if (lessons.count(b.tag)) shown.push_back(b.tag);
        }
      }
      EXPECT_EQ(shown, order);
    }
  }
}

// A row of hint triggers across the way catches a ship that strays from it, but never fires its
// hint twice: no straight course that crosses the row within 25 degrees of square passes within
// a hero ship's reach of two of its triggers.
TEST_F(Campaign, NoRowOfHintTriggersFiresItsHintTwice) {
  double widest = 0;
  for (double r : HeroRadii()) widest = std::max(widest, r);
  int rows = 0;
  for (const EnteredLevel& l : *levels_) {
    std::map<int32_t, std::vector<const BonusRecord*>> byTag;
    for (const BonusRecord& b : l.bonuses)
      if (b.alive == 1 && b.kind == bonus::kHint) byTag[b.tag].push_back(&b);
    for (const auto& [tag, row] : byTag) {
      SCOPED_TRACE("hint " + std::to_string(tag) + " in level " + std::to_string(l.episode) + ":" +
                   std::to_string(l.number));
      if (row.size() < 2) continue;
      ++rows;
      const double ax = row.back()->posX - row.front()->posX;
      const double az = row.back()->posZ - row.front()->posZ;
      const double len = std::hypot(ax, az);
      ASSERT_GT(len, 0);
      const double ux = ax / len, uz = az / len;  // along the row
      const double cx = (row.front()->posX + row.back()->posX) / 2;
      const double cz = (row.front()->posZ + row.back()->posZ) / 2;
      for (double deg = -25; deg <= 25; deg += 1) {
        const double a = deg * std::numbers::pi / 180;
        // Square across the row is (-uz, ux); turned by a.
        const double dx = -uz * std::cos(a) - ux * std::sin(a);
        const double dz = ux * std::cos(a) - uz * std::sin(a);
        for (double o = -len; o <= len; o += 0.02) {
          int touched = 0;
          for (const BonusRecord* b : row) {
            const double px = b->posX - (cx + o * ux), pz = b->posZ - (cz + o * uz);
            const double off = std::abs(px * dz - pz * dx);
            if (std::sqrt(off * off + b->posY * b->posY) <= widest) ++touched;
          }
          ASSERT_LE(touched, 1) << "a course " << deg << " degrees off square, " << o
                                << " along the row";
        }
      }
    }
  }
  EXPECT_GE(rows, 10);
}

// The first fight of the tutorial: along level 1's route every enemy that notices the ship does
// so ahead of it, after the guns' hint, and never two at once.
TEST_F(Campaign, TheFirstFightComesAheadAfterTheGunsOneEnemyAtATime) {
  const EnteredLevel& l = Level(1, 1);
  const std::vector<TrackPoint> track = RouteTrack(1, 1, 0);
  double gunsAt = -1;  // the track index where the guns' hint fires
  for (size_t t = 0; t < track.size() && gunsAt < 0; ++t)
    for (const BonusRecord& b : l.bonuses)
      if (b.alive == 1 && b.kind == bonus::kHint && b.tag == hint_tag::kGuns &&
          std::hypot(b.posX - track[t].x, b.posZ - track[t].z) <= l.units[1].radius)
        gunsAt = static_cast<double>(t);
  ASSERT_GE(gunsAt, 0) << "the guns' hint is not on the route";
  std::vector<size_t> enemies;
  for (size_t i = 2; i < l.units.size(); ++i) {
    const UnitRecord& u = l.units[i];
    if (u.alive != 1 || u.haveAI != 1) continue;
    if (u.unitKind == kind::kCoinChest || u.unitKind == kind::kSeaMine) continue;  // no fight
    enemies.push_back(i);
  }
  ASSERT_FALSE(enemies.empty());
  // An enemy notices the ship within its alert radius + 3.5, then stays on it.
  auto notices = [&](size_t i, const TrackPoint& p) {
    const UnitRecord& u = l.units[i];
    const double reach = FindKind(u.unitKind)->alertRadius + 3.5;
    return std::sqrt(std::pow(u.posX - p.x, 2) + u.posY * u.posY + std::pow(u.posZ - p.z, 2)) <
           reach;
  };
  std::set<size_t> met;
  for (size_t t = 1; t < track.size(); ++t) {
    int near = 0;
    std::string who;
    for (size_t i : enemies) {
      if (!notices(i, track[t])) continue;
      ++near;
      who += " unit " + std::to_string(i) + " (kind " + std::to_string(l.units[i].unitKind) + ")";
      if (!met.insert(i).second) continue;
      const UnitRecord& u = l.units[i];
      SCOPED_TRACE("unit " + std::to_string(i) + " kind " + std::to_string(u.unitKind));
      EXPECT_GT(static_cast<double>(t), gunsAt) << "noticed the ship before the guns' hint";
      const double hx = track[t].x - track[t - 1].x, hz = track[t].z - track[t - 1].z;
      EXPECT_GT((u.posX - track[t].x) * hx + (u.posZ - track[t].z) * hz, 0) << "met from behind";
    }
    ASSERT_LE(near, 1) << "two enemies at once at " << track[t].x << ", " << track[t].z << ":"
                       << who;
  }
  EXPECT_GE(met.size(), 3u) << "the route meets too few enemies for a first fight";
}

// What the hints say matches what the screen shows when they open: the first one names the
// steering keys, the steering hint the mouse, the panel hint a map, the radar hint no map.
TEST_F(Campaign, HintTextsSayWhatTheScreenShows) {
  struct Case {
    const char* hint;
    std::vector<const char*> says, never;
  };
  const Case cases[] = {
      {"Whint1", {"стрелк", "вверх", "влево", "вправо"}, {}},
      {"hint2", {"мыш", "левую кнопку", "Правая кнопка"}, {}},
      {"hint3", {"W", "A", "D"}, {}},
      {"hint5", {"карт", "крестик"}, {"монет", "жизн", "опыт", "корпус", "тильд"}},
      {"hint7", {"опыт", "брон", "орудия", "скорост", "тильд"}, {}},
      {"hint8", {"радар", "точк"}, {"остров", "карт"}},
      {"hint13", {"S", "самолёт"}, {}},
      {"hint15", {"Z"}, {"X", "огнемёт"}},  // the flame-thrower comes with the first boss
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hint);
    std::ifstream f(HintFile(c.hint), std::ios::binary);
    const std::string text = Cp1251ToUtf8(std::string((std::istreambuf_iterator<char>(f)), {}));
    ASSERT_FALSE(text.empty());
    for (const char* w : c.says) EXPECT_NE(text.find(w), std::string::npos) << "says no " << w;
    for (const char* w : c.never) EXPECT_EQ(text.find(w), std::string::npos) << "says " << w;
  }
  // A new game writes the greeting with the player's name over the opening hint's first line,
  // so that line is the greeting the voice reads (without the name).
  std::ifstream f(HintFile("Whint1"), std::ios::binary);
  std::string first;
  std::getline(f, first);
  EXPECT_EQ(Cp1251ToUtf8(first), "Добро пожаловать на борт, капитан!\r");
}

}  // namespace
}  // namespace skerrow::content
