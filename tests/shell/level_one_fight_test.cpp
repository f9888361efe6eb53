// A scripted scene through the executable in level 1 of the content pack: the hero ship sails at
// the first gunboat of the tutorial's fight (ahead, beside the way); the gunboat notices it,
// closes in and fires, while the next one further on still lies in wait.
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

const std::string kRoot = std::string(SKERROW_BINARY_DIR) + "/";

double Distance(const UnitRecord& a, const UnitRecord& b) {
  return std::hypot(a.posX - b.posX, a.posY - b.posY, a.posZ - b.posZ);
}

TEST(LevelOneFight, AGunboatNoticesTheHeroShipClosesInAndFires) {
  if (!fs::exists(kRoot + "gdata/Skerrow.qvp") || !fs::exists(kRoot + "skerrow")) {
    GTEST_SKIP() << "no executable or content pack in " << kRoot;
  }
  const fs::path dir = test::ScratchDir("fight");
  {
    // Full ahead on the start heading (toward -z), engines stopped once the gunboat is within
    // its alert distance. The tutorial's hints along the route pause the play step until their
    // button is clicked: a click every 20 ticks closes each soon after it opens (with no hint
    // open, a press and release in the same tick moves nothing).
    std::vector<int> clicks = {2, 12};
    for (int t = 30; t < 1800; t += 20) clicks.push_back(t);
    std::ofstream f(dir / "scene.txt");
    f << "1 key-down 38\n1000 key-up 38\n";
    for (int t : clicks) f << test::HintClicks(160, 120, {t});
  }
  const fs::path dump = dir / "fight.qvs";
  const std::string cmd = kRoot + "skerrow --headless --seed 7 --start 1:1 --input " +
                          (dir / "scene.txt").string() + " --ticks 1800 --size 160x120 --root " +
                          kRoot + " --dump-state " + dump.string() + " > /dev/null 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0);
  std::ifstream in(dump, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), sizeof(SavedState));
  auto s = std::make_unique<SavedState>();
  std::memcpy(s.get(), bytes.data(), bytes.size());

  ASSERT_EQ(s->playerUnit, 1);
  const UnitRecord& hero = s->units[1];
  EXPECT_EQ(+hero.alive, 1);
  // The gunboat that waited about 56 units along the way.
  int32_t found = 0;
  for (int32_t i = 2; i < kUnitSlots; ++i)
    if (s->units[i].unitKind == kind::kGunboat && s->unitAlerted[i] == 1) found = i;
  ASSERT_NE(found, 0) << "no gunboat noticed the hero ship";
  const UnitRecord& g = s->units[found];
  EXPECT_EQ(+g.alive, 1);
  EXPECT_LE(Distance(g, hero), 5.0);  // closed in to its firing band
  EXPECT_EQ(+g.ctlForward, 0);
  // Firing: the main gun is held (charging) or has just been released.
  EXPECT_TRUE(g.ctlMainGun == 1 || g.ctlPrevious[kCtlMainGun] == 1);
  // The gunboats that never came near still lie in wait.
  for (int32_t i = 2; i < kUnitSlots; ++i) {
    if (i != found && s->units[i].unitKind == kind::kGunboat) {
      EXPECT_EQ(+s->unitAlerted[i], 0);
    }
  }
}

}  // namespace
}  // namespace skerrow
