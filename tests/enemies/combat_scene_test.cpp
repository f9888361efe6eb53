// One combat scene through the executable on a copy of the content pack: level 1 with a
// trigger under the start that unlocks the guns and a passive enemy brig 4.5 ahead of the hero;
// the hero fires its bow gun and its left broadside (scripted keys), the dumped state shows
// the shots in flight, and a later dump shows the brig hit, sinking and the kill bonus paid.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/hint_clicks.h"
#include "support/temp_dir.h"
#include "world/records.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = fs::path(SKERROW_BINARY_DIR);

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const fs::path& p, const void* data, size_t size) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The episode folder's Data directory that holds level 1's unit file.
fs::path LevelOneData(const fs::path& root) {
  for (const auto& e : fs::directory_iterator(root / "gdata" / "Worlds"))
    if (fs::exists(e.path() / "Data" / "normal1.unt")) return e.path() / "Data";
  return {};
}

class CombatScene : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kBuild / "skerrow") || !fs::exists(kBuild / "gdata" / "Skerrow.qvp"))
      GTEST_SKIP() << "no executable or content pack in " << kBuild;
    root_ = test::ScratchDir("combat_scene");
    fs::copy(kBuild / "gdata", root_ / "gdata", fs::copy_options::recursive);
    const fs::path data = LevelOneData(root_);
    ASSERT_FALSE(data.empty());

    auto units = std::make_unique<UnitRecord[]>(kUnitSlots);
    const std::vector<uint8_t> unt = ReadAll(data / "normal1.unt");
    ASSERT_EQ(unt.size(), sizeof(UnitRecord) * kUnitSlots);
    std::memcpy(units.get(), unt.data(), unt.size());
    const UnitRecord& hero = units[1];
    int32_t slot = 0;
    for (int32_t i = 2; i < kUnitSlots && slot == 0; ++i)
      if (units[i].alive == 0) slot = i;
    ASSERT_NE(slot, 0);
    enemySlot_ = slot;

    // The brig from its parameter file, passive, with little life, 4.5 ahead of the hero's bow.
    UnitRecord brig{};
    const std::vector<uint8_t> par = ReadAll(root_ / "gdata" / "parameters" / "unit10.par");
    ASSERT_EQ(par.size(), sizeof(UnitRecord));
    std::memcpy(&brig, par.data(), sizeof brig);
    brig.alive = 1;
    brig.haveAI = 0;
    brig.life = 5.0f;
    brig.posX = hero.posX - 4.5 * std::sin(hero.rotY);
    brig.posZ = hero.posZ - 4.5 * std::cos(hero.rotY);
    brig.rotY = hero.rotY + 1.5;
    units[slot] = brig;
    WriteAll(data / "normal1.unt", units.get(), unt.size());

    // A hint trigger (kind 11) with tag 3 under the hero: the guns unlock on the first
    // trigger step.
    auto bonuses = std::make_unique<BonusRecord[]>(kBonusSlots);
    const std::vector<uint8_t> bon = ReadAll(data / "normal1.bon");
    ASSERT_EQ(bon.size(), sizeof(BonusRecord) * kBonusSlots);
    std::memcpy(bonuses.get(), bon.data(), bon.size());
    BonusRecord& trigger = bonuses[kBonusSlots - 1];
    trigger = BonusRecord{};
    trigger.posX = hero.posX;
    trigger.posZ = hero.posZ;
    trigger.kind = bonus::kHint;
    trigger.tag = 3;
    trigger.alive = 1;
    WriteAll(data / "normal1.bon", bonuses.get(), bon.size());

    // The episode's hint, the tutorial's first one and this trigger's hint pause the play step
    // until their button is clicked (ticks 2 to 14); then W (87) tapped at tick 15, A (65) at
    // tick 18: the bow gun and the left broadside.
    std::ofstream(root_ / "scene.txt") << test::HintClicks(320, 240, {2, 6, 10, 13})
                                       << "15 key-down 87\n16 key-up 87\n18 key-down 65\n"
                                          "19 key-up 65\n";
  }

  std::unique_ptr<SavedState> Run(int ticks) {
    const fs::path dump = root_ / ("scene" + std::to_string(ticks) + ".qvs");
    const std::string cmd = (kBuild / "skerrow").string() +
                            " --headless --seed 11 --start 1:1 --size 320x240 --ticks " +
                            std::to_string(ticks) + " --input " + (root_ / "scene.txt").string() +
                            " --root " + root_.string() + " --dump-state " + dump.string() +
                            " > /dev/null 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return nullptr;
    const std::vector<uint8_t> bytes = ReadAll(dump);
    if (bytes.size() != sizeof(SavedState)) return nullptr;
    auto state = std::make_unique<SavedState>();
    std::memcpy(state.get(), bytes.data(), bytes.size());
    return state;
  }

  fs::path root_;
  int32_t enemySlot_ = 0;
};

TEST_F(CombatScene, HeroFiresBowGunAndBroadsideAndSinksABrig) {
  const auto early = Run(22);
  ASSERT_NE(early, nullptr);
  ASSERT_EQ(+early->gunsUnlocked, 1);
  const int32_t pu = early->playerUnit;
  ASSERT_EQ(pu, 1);
  const UnitRecord& hero = early->units[pu];
  ASSERT_EQ(hero.unitKind, kind::kPaddleSteamer);

  // One bow shot ahead and the four guns of the left broadside, all cannonballs in flight.
  int ahead = 0, left = 0;
  const double h = hero.rotY;
  for (const ProjectileRecord& p : early->projectiles) {
    if (p.active != 1 || p.owner != pu) continue;
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.variant, 0);
    const double dx = p.pos.x - hero.posX, dz = p.pos.z - hero.posZ;
    const double forward = -dx * std::sin(h) - dz * std::cos(h);
    const double side = -dx * std::cos(h) + dz * std::sin(h);  // along h + pi/2
    if (forward > 1.5 && std::fabs(side) < 0.5) ++ahead;
    if (side > 1.0) ++left;
  }
  EXPECT_EQ(ahead, 1);
  EXPECT_EQ(left, 4);
  EXPECT_EQ(early->units[enemySlot_].life, 5.0f);

  // Later the bow shot has struck: the brig is out of life and sinking (or already gone), and
  // the kill bonus (its maxLife times the episode) is paid.
  const auto late = Run(70);
  ASSERT_NE(late, nullptr);
  const UnitRecord& brig = late->units[enemySlot_];
  EXPECT_LE(brig.life, 0.0f);
  EXPECT_TRUE(brig.sinking == 1 || brig.alive == 0);
  EXPECT_EQ(late->experience - early->experience,
            static_cast<int32_t>(brig.maxLife) * late->episode);
}

}  // namespace
}  // namespace skerrow
