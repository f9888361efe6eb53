// A machine with no sound device: the game starts, enters play and runs silently.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"
#include "shell/skerrow_form.h"
#include "support/temp_dir.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

TEST(NoSoundDevice, TheGameStartsAndPlaysSilently) {
  const fs::path pack = fs::path(SKERROW_BINARY_DIR) / "gdata";
  if (!fs::exists(pack / "Worlds")) GTEST_SKIP() << "no content pack in the build";
  // OpenAL Soft reads its backend list once, at its first use in the process: a backend that
  // does not exist leaves it with no device, as on a machine without sound hardware.
  setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
  // The pack without its movies, which would play for seconds of real time.
  const fs::path root = test::ScratchDir("no_device");
  fs::create_directories(root / "gdata");
  for (const auto& e : fs::directory_iterator(pack)) {
    if (e.path().filename() != "movies") {
      fs::create_symlink(e.path(), root / "gdata" / e.path().filename());
    }
  }
  CommandLine cl;
  cl.headless = false;  // audio is asked for, and none is there
  cl.root = root.string();
  cl.start = "1:1";
  cl.ticks = 20;
  TSkerrowForm form(cl, platform::CreateNullWindow());
  ASSERT_EQ(form.Run(), 0);
  EXPECT_EQ(form.World().GameMode, game_mode::kPlay);
  EXPECT_FALSE(form.AudioDeviceOpened());
}

}  // namespace
}  // namespace skerrow
