// Headless replay through level 1 of the content pack: scripted steering and gunfire for 750
// steps, the saved block at the end compared with a stored hash (a second run would only
// repeat it: the hash already fails when a run is not deterministic).
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

#include "support/hint_clicks.h"
#include "world/records.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kRoot = std::string(SKERROW_BINARY_DIR) + "/";

// The hash of the dump after 750 steps. It changes whenever the play step, the level files or
// the content pack change on purpose: run the test, check the new play, and store the value.
constexpr uint64_t kReplayHash = 0x3d7d1be3eb244b51ull;

uint64_t Fnv1a64(const std::vector<uint8_t>& bytes) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (uint8_t b : bytes) {
    h ^= b;
    h *= 0x100000001B3ull;
  }
  return h;
}

std::vector<uint8_t> RunReplay(const fs::path& dir, const std::string& name) {
  const fs::path dump = dir / (name + ".qvs");
  const std::string cmd = kRoot + "skerrow --headless --seed 7 --start 1:1 --input " +
                          (dir / "replay.txt").string() + " --ticks 750 --size 320x240 --root " +
                          kRoot + " --dump-state " + dump.string() + " > /dev/null 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return {};
  std::ifstream in(dump, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
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

}  // namespace
}  // namespace skerrow
