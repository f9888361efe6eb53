// The executable on OpenAL Soft's wave-file backend: the file records what the game played.
// The movies are left out of the run's gdata so that the recording starts with the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/hint_clicks.h"
#include "support/temp_dir.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = SKERROW_BINARY_DIR;

bool HaveGameAndPack() {
  return fs::exists(kBuild / "skerrow") && fs::exists(kBuild / "gdata" / "sounds");
}

// A root whose gdata links every folder of the pack but the movies.
fs::path MakeRoot(const std::string& name, const std::string& settings) {
  const fs::path root = test::ScratchDir("wave_" + name);
  fs::create_directories(root / "gdata");
  for (const auto& e : fs::directory_iterator(kBuild / "gdata")) {
    if (e.path().filename() != "movies")
      fs::create_symlink(e.path(), root / "gdata" / e.path().filename());
  }
  std::ofstream(root / "settings.dat") << "[Skerrow Settings]\n" << settings;
  return root;
}

// Runs the game with the wave backend writing `root`/out.wav; returns the exit code.
int RunRecorded(const fs::path& root, const std::string& args) {
  std::ofstream(root / "alsoft.conf") << "[wave]\nfile = " << (root / "out.wav").string() << "\n";
  const std::string cmd =
      "env -u DISPLAY SDL_VIDEODRIVER=offscreen LP_NUM_THREADS=0 "
      "ALSOFT_DRIVERS=wave ALSOFT_CONF=" +
      (root / "alsoft.conf").string() + " " + (kBuild / "skerrow").string() + " --root " +
      root.string() + " --windowed --size 640x480 " + args + " > /dev/null 2>&1";
  return std::system(cmd.c_str());
}

// The recording as mono levels: RMS of each 50 ms window (samples of 16-bit or float PCM).
std::vector<double> WindowLevels(const fs::path& wav) {
  std::ifstream f(wav, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)),
                               std::istreambuf_iterator<char>());
  auto u32 = [&](size_t p) {
    return uint32_t(b[p]) | b[p + 1] << 8 | b[p + 2] << 16 | uint32_t(b[p + 3]) << 24;
  };
  size_t pos = 12, data = 0, size = 0;
  int channels = 0, rate = 0, bits = 0;
  while (pos + 8 <= b.size()) {
    const uint32_t len = u32(pos + 4);
    if (std::memcmp(&b[pos], "fmt ", 4) == 0 && pos + 24 <= b.size()) {
      channels = b[pos + 10] | b[pos + 11] << 8;
      rate = static_cast<int>(u32(pos + 12));
      bits = b[pos + 22] | b[pos + 23] << 8;
    }
    if (std::memcmp(&b[pos], "data", 4) == 0) {
      data = pos + 8;
      size = std::min<size_t>(len, b.size() - data);
      break;
    }
    pos += 8 + len + (len & 1);
  }
  std::vector<double> levels;
  if (data == 0 || channels < 1 || rate < 1 || (bits != 16 && bits != 32)) return levels;
  const size_t frameBytes = static_cast<size_t>(channels) * bits / 8;
  const size_t window = static_cast<size_t>(rate) / 20;
  double sum = 0;
  size_t n = 0;
  for (size_t at = data; at + frameBytes <= data + size; at += frameBytes) {
    for (int c = 0; c < channels; ++c) {
      double v;
      if (bits == 16) {
        int16_t s;
        std::memcpy(&s, &b[at + c * 2], 2);
        v = s / 32768.0;
      } else {
        float s;
        std::memcpy(&s, &b[at + c * 4], 4);
        v = s;
      }
      sum += v * v;
    }
    if (++n == window) {
      levels.push_back(std::sqrt(sum / (window * channels)));
      sum = 0;
      n = 0;
    }
  }
  return levels;
}

double Peak(const std::vector<double>& levels) {
  double m = 0;
  for (double l : levels) m = std::max(m, l);
  return m;
}

// The loudest level held over three windows in a row (150 ms): a button's click (menu.wav, 45 ms)
// spans at most two windows and counts as nothing; a battery's shot (half a second) counts whole.
double Sustained(const std::vector<double>& levels) {
  double m = 0;
  for (size_t i = 0; i + 2 < levels.size(); ++i)
    m = std::max(m, std::min({levels[i], levels[i + 1], levels[i + 2]}));
  return m;
}

// The last `windows` levels of a recording (all of a shorter one).
std::vector<double> Tail(const std::vector<double>& levels, size_t windows) {
  return {levels.end() - static_cast<std::ptrdiff_t>(std::min(windows, levels.size())),
          levels.end()};
}

TEST(WaveRun, TheMenuPlaysThePrelude) {
  if (!HaveGameAndPack()) GTEST_SKIP() << "no game or content pack in the build";
  const fs::path root = MakeRoot("menu", "");
  ASSERT_EQ(RunRecorded(root, "--ticks 100"), 0);
  const std::vector<double> levels = WindowLevels(root / "out.wav");
  ASSERT_GT(levels.size(), 4u);
  // The backend writes silence as exact zeros; the prelude fades in over its first half second.
  EXPECT_GT(Peak(levels), 0.002);
}

constexpr const char* kEffectsOnly = "playmusic_Checked=False\nhintssound_Checked=False\n";

TEST(WaveRun, ABroadsideInPlayAddsALouderBurst) {
  if (!HaveGameAndPack()) GTEST_SKIP() << "no game or content pack in the build";
  // Music and hint voices off, so the effects stand alone. Both runs sail full ahead and close
  // level 1's hints as a player would (a click every 10 ticks: the run keeps the wall clock, so the
  // guns unlock about 8 units along the route at no fixed tick); only the second fires the left
  // battery (A, 65; a battery fires on release) three times, the last released 20 ticks before the
  // end. Only the last 2 s are compared, and only sounds that last: both runs hear the click of
  // each hint's button (a single window, louder than a battery), and the last hint, the guns',
  // opens at a wall-clock time, so its click can fall into the last 2 s of either run.
  std::vector<int> clicks = {2, 12};
  for (int t = 30; t <= 250; t += 10) clicks.push_back(t);
  std::string sail = "1 key-down 38\n";
  for (int t : clicks) sail += test::HintClicks(640, 480, {t});
  const fs::path still = MakeRoot("still", kEffectsOnly);
  std::ofstream(still / "in.txt") << sail;
  ASSERT_EQ(RunRecorded(still, "--start 1:1 --ticks 260 --input " + (still / "in.txt").string()),
            0);
  const fs::path ahead = MakeRoot("ahead", kEffectsOnly);
  std::ofstream(ahead / "in.txt") << sail << "150 key-down 65\n160 key-up 65\n190 key-down 65\n"
                                  << "200 key-up 65\n230 key-down 65\n240 key-up 65\n";
  ASSERT_EQ(RunRecorded(ahead, "--start 1:1 --ticks 260 --input " + (ahead / "in.txt").string()),
            0);
  const double quiet = Sustained(Tail(WindowLevels(still / "out.wav"), 40));
  const double burst = Sustained(Tail(WindowLevels(ahead / "out.wav"), 40));
  EXPECT_GT(burst, 0.05);
  EXPECT_GT(burst, 3 * quiet);
}

TEST(WaveRun, AMenuButtonClicks) {
  if (!HaveGameAndPack()) GTEST_SKIP() << "no game or content pack in the build";
  // Music off; one run only waits in the menu, the other presses "Сетевая игра" (the main
  // menu's third button, at 540, 222 of the 640 x 480 window), whose click is menu.wav.
  const fs::path still = MakeRoot("menu_still", "playmusic_Checked=False\n");
  ASSERT_EQ(RunRecorded(still, "--ticks 40"), 0);
  const fs::path click = MakeRoot("menu_click", "playmusic_Checked=False\n");
  std::ofstream(click / "in.txt") << "10 mouse-move 540 222\n11 mouse-down 0\n12 mouse-up 0\n";
  ASSERT_EQ(RunRecorded(click, "--ticks 40 --input " + (click / "in.txt").string()), 0);
  const double quiet = Peak(WindowLevels(still / "out.wav"));
  const double clicked = Peak(WindowLevels(click / "out.wav"));
  EXPECT_GT(clicked, 0.002);
  EXPECT_GT(clicked, 3 * quiet);
}

}  // namespace
}  // namespace skerrow
