// A machine with no sound device: the game starts, enters play and runs silently, and the
// terminal shows the game's own line about it, none of the sound libraries' own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/skerrow_form.h"
#include "support/temp_dir.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

// The build's pack linked entry by entry into a scratch folder, without its movies (which
// would play for seconds of real time).
fs::path PackWithoutMovies(const std::string& name) {
  const fs::path pack = fs::path(SKERROW_BINARY_DIR) / "gdata";
  const fs::path root = test::ScratchDir(name);
  fs::create_directories(root / "gdata");
  for (const auto& e : fs::directory_iterator(pack)) {
    const fs::path n = e.path().filename();
    if (n != "movies" && n != "savegame") fs::create_symlink(e.path(), root / "gdata" / n);
  }
  return root;
}

// The executable with sound asked for, OpenAL Soft limited to its ALSA back-end and ALSA sent
// to a card that does not exist: on a machine with sound hardware too, this is how a machine
// without it looks, and ALSA and OpenAL Soft both print pages of their own.
TEST(NoSoundDevice, TheTerminalShowsOnlyTheGamesOwnLines) {
  const fs::path build = SKERROW_BINARY_DIR;
  if (!fs::exists(build / "gdata" / "Worlds") || !fs::exists(build / "skerrow")) {
    GTEST_SKIP() << "no content pack or no game executable";
  }
  const fs::path root = PackWithoutMovies("no_device_terminal");
  const fs::path err = root / "stderr.txt";
  const std::string cmd =
      "env -u DISPLAY -u ALSOFT_LOGLEVEL SDL_VIDEODRIVER=offscreen LP_NUM_THREADS=0 "
      "ALSOFT_DRIVERS=alsa ALSA_CARD=NoSuchCard " +
      (build / "skerrow").string() + " --root " + root.string() +
      " --windowed --size 400x300 --ticks 3 > /dev/null 2> " + err.string();
  const int rc = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << cmd;
  std::ifstream in(err);
  std::vector<std::string> foreign, sound;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("skerrow: ", 0) != 0) foreign.push_back(line);
    if (line.find("sound") != std::string::npos) sound.push_back(line);
  }
  std::ostringstream all;
  all << std::ifstream(err).rdbuf();
  EXPECT_TRUE(foreign.empty()) << all.str();
  ASSERT_EQ(sound.size(), 1u) << all.str();
  EXPECT_EQ(sound[0], "skerrow: no sound device; sound and music are off for this run");
  // The libraries' lines are kept in the log file, for whoever looks into a silent game.
  std::ostringstream log;
  log << std::ifstream(root / "skerrow.log").rdbuf();
  EXPECT_NE(log.str().find("ALSA"), std::string::npos) << log.str();
}

TEST(NoSoundDevice, TheGameStartsAndPlaysSilently) {
  const fs::path pack = fs::path(SKERROW_BINARY_DIR) / "gdata";
  if (!fs::exists(pack / "Worlds")) GTEST_SKIP() << "no content pack in the build";
  // OpenAL Soft reads its backend list once, at its first use in the process: a backend that
  // does not exist leaves it with no device, as on a machine without sound hardware.
  setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
  const fs::path root = PackWithoutMovies("no_device");
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
