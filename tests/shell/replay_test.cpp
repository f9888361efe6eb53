// Headless replays: scripted steering and gunfire for 750 steps through level 1 of the content
// pack, and a fight, a level change with its save and a second run that loads that save, on
// levels of the test's own; the saved block at the end compared with a stored hash. The
// sanitizer build runs the same tests against the same hashes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/fixture_pack.h"
#include "support/hint_clicks.h"
#include "world/records.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kRoot = std::string(SKERROW_BINARY_DIR) + "/";

// The hash of the dump after 750 steps. It changes whenever the play step, the level files or
// the content pack change on purpose: run the test, check the new play, and store the value.
constexpr uint64_t kReplayHash = 0x963df4a1a9276203ull;

uint64_t Fnv1a64(const std::vector<uint8_t>& bytes) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (uint8_t b : bytes) {
    h ^= b;
    h *= 0x100000001B3ull;
  }
  return h;
}

std::vector<uint8_t> ReadDump(const fs::path& dump) {
  std::ifstream in(dump, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

std::vector<uint8_t> RunReplay(const fs::path& dir, const std::string& name) {
  const fs::path dump = dir / (name + ".qvs");
  const std::string cmd = kRoot + "skerrow --headless --seed 7 --start 1:1 --input " +
                          (dir / "replay.txt").string() + " --ticks 750 --size 320x240 --root " +
                          kRoot + " --dump-state " + dump.string() + " > /dev/null 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return {};
  return ReadDump(dump);
}

TEST(Replay, LevelOneSevenHundredFiftyStepsMatchTheStoredHash) {
  if (!fs::exists(kRoot + "gdata/Skerrow.qvp") || !fs::exists(kRoot + "skerrow")) {
    GTEST_SKIP() << "no executable or content pack in " << kRoot;
  }
  const fs::path dir = fs::temp_directory_path() / ("skerrow_replay_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  {
    // Full ahead, a long left turn, bow-gun shots, a right turn, side batteries, astern. The
    // tutorial's hints pause the play step until their button is clicked: the episode's and the
    // first tutorial hint open at the start, the later ones along the route.
    std::ofstream f(dir / "replay.txt");
    f << test::HintClicks(320, 240, {2, 12, 60, 120, 180, 240, 300, 360, 420, 480, 540, 600})
      << "1 key-down 38\n100 key-down 37\n220 key-up 37\n250 key-down 87\n260 key-up 87\n"
         "300 key-down 39\n380 key-up 39\n420 key-down 65\n430 key-up 65\n440 key-down 68\n"
         "450 key-up 68\n500 key-up 38\n520 key-down 40\n640 key-up 40\n660 key-down 38\n";
  }
  const std::vector<uint8_t> a = RunReplay(dir, "a");
  ASSERT_EQ(a.size(), sizeof(SavedState));

  auto state = std::make_unique<SavedState>();
  std::memcpy(state.get(), a.data(), a.size());
  EXPECT_EQ(state->GameMode, 2);
  ASSERT_GE(state->playerUnit, 1);
  ASSERT_LT(state->playerUnit, kUnitSlots);
  const UnitRecord& p = state->units[state->playerUnit];
  EXPECT_EQ(p.alive, 1);
  EXPECT_NE(+p.rotY, 0.0);  // the turns happened
  EXPECT_EQ(Fnv1a64(a), kReplayHash) << std::hex << "new hash: 0x" << Fnv1a64(a);
  fs::remove_all(dir);
}

// The hash of the dump at the end of the second run of the battle replay below (after its load).
constexpr uint64_t kBattleReplayHash = 0x6d5f2459ae775c15ull;

// Runs the game headless on `root` with `args` and `script`; the dumped block, or empty when
// the run failed.
std::vector<uint8_t> RunOn(const fs::path& root, const std::string& args, const std::string& script,
                           const std::string& name) {
  const fs::path in = root / (name + ".txt"), dump = root / (name + ".qvs");
  std::ofstream(in) << script;
  const std::string cmd = kRoot + "skerrow --headless --seed 11 --size 320x240 --root " +
                          root.string() + " --input " + in.string() + " " + args +
                          " --dump-state " + dump.string() + " > /dev/null 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return {};
  return ReadDump(dump);
}

std::unique_ptr<SavedState> AsState(const std::vector<uint8_t>& bytes) {
  auto s = std::make_unique<SavedState>();
  if (bytes.size() == sizeof(SavedState)) std::memcpy(s.get(), bytes.data(), bytes.size());
  return s;
}

// Level 41: the hero's ship 10 units from the level's -z edge, heading there, a gunboat
// without orders between it and the edge, the hint trigger that unlocks the guns under the
// ship, and an armed exit marker that opens the -z edge into level 42. Level 42: open sea.
void WriteBattleLevels(const fs::path& root) {
  const UnitRecord gunboat = test::FixtureUnit(kind::kGunboat, 128, 14, 0.0, 40);
  UnitRecord exit = test::FixtureUnit(kind::kExitMarker, 4, 4, 0.0, 100000);
  exit.sinking = 1;       // armed
  exit.acceleration = 4;  // edge 4: -z
  exit.rotateSpeed = 42;  // into level 42
  test::WriteFixtureLevel(
      root, 41,
      {{1, test::FixtureUnit(kind::kPaddleSteamer, 128, 24, 0.0, 100)}, {2, gunboat}, {3, exit}},
      {{1, test::FixtureBonus(bonus::kHint, 128, 24, 3)}});
  test::WriteFixtureLevel(root, 42,
                          {{1, test::FixtureUnit(kind::kPaddleSteamer, 128, 200, 0.0, 100)}}, {});
}

// The first run: bow-gun shots held 6 to 16 ticks (longer holds carry further, so one of them
// lands on the gunboat 10 units ahead), then full ahead across the edge into level 42, whose
// entry saves into slot 1. The second run loads slot 1 (--load) and turns left, then sails on.
TEST(Replay, ABattleALevelChangeItsSaveAndALoadRepeatAndMatchTheStoredHash) {
  if (!fs::exists(kRoot + "gdata/Skerrow.qvp") || !fs::exists(kRoot + "skerrow")) {
    GTEST_SKIP() << "no executable or content pack in " << kRoot;
  }
  std::string battle;
  int tick = 1;
  for (int hold = 6; hold <= 16; hold += 2) {
    battle +=
        std::to_string(tick) + " key-down 87\n" + std::to_string(tick + hold) + " key-up 87\n";
    tick += hold + 32;  // the reload takes 30 steps
  }
  battle += std::to_string(tick + 10) + " key-down 38\n";
  const std::string battleArgs = "--start 1:41 --slot 1 --ticks " + std::to_string(tick + 190);
  const std::string loaded = "1 key-down 37\n20 key-up 37\n21 key-down 38\n";
  const std::string loadArgs = "--load 1 --ticks 40";

  std::vector<uint8_t> first[2], save[2], second[2];
  for (int run = 0; run < 2; ++run) {
    const fs::path root = test::FixturePack("replay_battle" + std::to_string(run), kRoot + "gdata");
    WriteBattleLevels(root);
    first[run] = RunOn(root, battleArgs, battle, "battle");
    save[run] = ReadDump(root / "gdata" / "savegame" / "slot1.qvs");
    second[run] = RunOn(root, loadArgs, loaded, "loaded");
  }
  ASSERT_EQ(first[0].size(), sizeof(SavedState));
  ASSERT_EQ(save[0].size(), sizeof(SavedState));
  ASSERT_EQ(second[0].size(), sizeof(SavedState));
  EXPECT_EQ(first[0], first[1]) << "the first run did not repeat";
  EXPECT_EQ(save[0], save[1]) << "the save did not repeat";
  EXPECT_EQ(second[0], second[1]) << "the run after the load did not repeat";

  // The gunboat went down (its kill bonus is the experience), the ship crossed into level 42
  // and that entry saved; the second run goes on from the save.
  const auto a = AsState(first[0]), s = AsState(save[0]), b = AsState(second[0]);
  EXPECT_EQ(a->levelNumber, 42);
  EXPECT_GT(a->experience, 0);
  EXPECT_EQ(s->levelNumber, 42);
  EXPECT_EQ(s->experience, a->experience);
  EXPECT_EQ(b->GameMode, game_mode::kPlay);
  EXPECT_EQ(b->levelNumber, 42);
  EXPECT_EQ(b->experience, s->experience);
  ASSERT_EQ(b->playerUnit, 1);
  const UnitRecord& p = b->units[1];
  EXPECT_GT(p.rotY, s->units[1].rotY + 0.1);  // the left turn after the load
  EXPECT_NEAR(p.posZ, s->units[1].posZ, 10.0);
  EXPECT_EQ(Fnv1a64(second[0]), kBattleReplayHash)
      << std::hex << "new hash: 0x" << Fnv1a64(second[0]);
}

}  // namespace
}  // namespace skerrow
