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
  EXPECT_LE(nearest[hint_tag::kMouse], player.radius);  // met at once
  for (size_t i = 2; i < l.units.size(); ++i) {
    const UnitRecord& u = l.units[i];
    if (u.alive != 1 || u.haveAI != 1) continue;
    const double d = std::hypot(u.posX - player.posX, u.posZ - player.posZ);
    EXPECT_GT(d - 15.5, nearest[hint_tag::kGuns] + 20) << "unit " << i << " kind " << u.unitKind;
  }
}

}  // namespace
}  // namespace skerrow::content
