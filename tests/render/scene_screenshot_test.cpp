// The built game's play frame of level 1 read back from its screenshot: the player's ship where
// the camera puts it, the island in sight of the start with sand and grass, the sea around,
// the start-up fade still darkening the first steps, the HUD's lives, a broadside with its
// shells, smoke and bars, and no heap allocation in a warm frame.
// Measured properties, no golden image.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
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
constexpr int kWidth = 800, kHeight = 600;
constexpr double kFieldOfView = 50.0;  // degrees, vertical, of the world camera

struct Rgb {
  int r, g, b;
};

// An uncompressed 24-bit TGA as rows from the top.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> bgr;
  Rgb At(int x, int y) const {
    const uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
    return {p[2], p[1], p[0]};
  }
};

bool ReadTga(const fs::path& file, Picture& out) {
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), {});
  if (d.size() < 18 || d[2] != 2 || d[16] != 24) return false;
  out.width = d[12] | (d[13] << 8);
  out.height = d[14] | (d[15] << 8);
  const size_t begin = 18u + d[0];
  const size_t row = static_cast<size_t>(out.width) * 3;
  if (d.size() < begin + row * out.height) return false;
  const bool topDown = (d[17] & 0x20) != 0;
  out.bgr.resize(row * out.height);
  for (int y = 0; y < out.height; ++y) {
    const int src = topDown ? y : out.height - 1 - y;
    std::memcpy(&out.bgr[row * y], &d[begin + row * src], row);
  }
  return true;
}

// One headless run of level 1 with no input but the clicks that close its opening hints, and
// `script` (scripted-input lines): its last frame and its saved block.
struct GameRun {
  Picture picture;
  std::unique_ptr<SavedState> state;
  std::string bench;  // the --bench line
};

bool RunLevelOne(int ticks, const fs::path& dir, GameRun& run, const std::string& script = "") {
  const fs::path shot = dir / ("shot" + std::to_string(ticks) + ".tga");
  const fs::path dump = dir / ("state" + std::to_string(ticks) + ".qvs");
  const fs::path bench = dir / ("bench" + std::to_string(ticks) + ".txt");
  const fs::path input = dir / ("input" + std::to_string(ticks) + ".txt");
  // The episode's hint is open from the start, the tutorial's first one a few steps later.
  std::ofstream(input) << test::HintClicks(kWidth, kHeight, {2, 12}) << script;
  const std::string cmd = "SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null " + kRoot +
                          "skerrow --headless --seed 7 --start 1:1 --size " +
                          std::to_string(kWidth) + "x" + std::to_string(kHeight) + " --ticks " +
                          std::to_string(ticks) + " --root " + kRoot + " --screenshot " +
                          shot.string() + " --dump-state " + dump.string() + " --input " +
                          input.string() + " --bench > " + bench.string() + " 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return false;
  if (!ReadTga(shot, run.picture)) return false;
  std::ifstream b(bench);
  std::getline(b, run.bench);
  std::ifstream in(dump, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() != sizeof(SavedState)) return false;
  run.state = std::make_unique<SavedState>();
  std::memcpy(run.state.get(), bytes.data(), bytes.size());
  return true;
}

// Pixel (x from the left, y from the top) of a world point through the world camera (position
// cameraPos, pitch and yaw cameraRot, no roll, 50 degrees vertical field of view). False
// behind the camera.
bool Project(const SavedState& s, double x, double y, double z, double& px, double& py) {
  const double pitch = s.cameraRot.x, yaw = s.cameraRot.y;
  const double f[3] = {std::cos(pitch) * std::sin(yaw), std::sin(pitch),
                       std::cos(pitch) * std::cos(yaw)};
  // side = f x up (up = +y), normalised; up' = side x f.
  double side[3] = {-f[2], 0, f[0]};
  const double n = std::hypot(side[0], side[2]);
  side[0] /= n;
  side[2] /= n;
  const double up[3] = {side[1] * f[2] - side[2] * f[1], side[2] * f[0] - side[0] * f[2],
                        side[0] * f[1] - side[1] * f[0]};
  const double rel[3] = {x - s.cameraPos.x, y - s.cameraPos.y, z - s.cameraPos.z};
  const double depth = rel[0] * f[0] + rel[1] * f[1] + rel[2] * f[2];
  if (depth <= 0.1) return false;
  const double sx = rel[0] * side[0] + rel[1] * side[1] + rel[2] * side[2];
  const double sy = rel[0] * up[0] + rel[1] * up[1] + rel[2] * up[2];
  const double focal = kHeight / 2.0 / std::tan(kFieldOfView / 2 * 3.14159265358979 / 180);
  px = kWidth / 2.0 + sx / depth * focal;
  py = kHeight / 2.0 - sy / depth * focal;
  return true;
}

// Colour classes of the content pack's art under the level's daylight.
bool Hull(Rgb c) {  // white planking and superstructure, red funnel
  return std::min({c.r, c.g, c.b}) > 150 || (c.r > 150 && c.g < 90);
}
bool Sand(Rgb c) {
  return c.r > 120 && c.g > 0.85 * c.r && c.g <= c.r + 5 && c.b < 0.55 * c.r;
}
bool Grass(Rgb c) {
  return c.g > 60 && c.g > 1.8 * c.r && c.g > 2 * c.b;
}
bool Sea(Rgb c) {  // the water sheet over the lit floor: green to blue, never black
  return c.g >= c.r && c.b >= 0.6 * c.g && c.r + c.g + c.b > 60;
}

template <typename Pred>
int Count(const Picture& p, int x0, int y0, int x1, int y1, Pred pred) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(p.height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(p.width, x1); ++x) n += pred(p.At(x, y)) ? 1 : 0;
  return n;
}

double MeanBrightness(const Picture& p) {
  double sum = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const Rgb c = p.At(x, y);
      sum += c.r + c.g + c.b;
    }
  return sum / (3.0 * p.width * p.height);
}

class SceneScreenshotTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists(kRoot + "gdata/Skerrow.qvp") || !fs::exists(kRoot + "skerrow")) return;
    dir_ =
        new fs::path(fs::temp_directory_path() / ("skerrow_scene_" + std::to_string(::getpid())));
    fs::remove_all(*dir_);
    fs::create_directories(*dir_);
    // The level's fade starts at 1 and loses 40 * 1.8e-4 per step: gone after 139 steps.
    play_ = new GameRun;
    if (!RunLevelOne(150, *dir_, *play_)) play_->state.reset();
    fading_ = new GameRun;
    if (!RunLevelOne(20, *dir_, *fading_)) fading_->state.reset();
  }
  static void TearDownTestSuite() {
    if (dir_) fs::remove_all(*dir_);
    delete dir_;
    delete play_;
    delete fading_;
    dir_ = nullptr;
    play_ = fading_ = nullptr;
  }
  void SetUp() override {
    if (!dir_) GTEST_SKIP() << "no executable or content pack in " << kRoot;
    ASSERT_TRUE(play_->state) << "the game did not run or wrote no screenshot";
    ASSERT_EQ(play_->picture.width, kWidth);
    ASSERT_EQ(play_->picture.height, kHeight);
    ASSERT_EQ(play_->state->GameMode, 2);
    ASSERT_GE(play_->state->playerUnit, 1);
    ASSERT_LT(play_->state->playerUnit, kUnitSlots);
  }
  static fs::path* dir_;
  static GameRun* play_;
  static GameRun* fading_;
};
fs::path* SceneScreenshotTest::dir_ = nullptr;
GameRun* SceneScreenshotTest::play_ = nullptr;
GameRun* SceneScreenshotTest::fading_ = nullptr;

TEST_F(SceneScreenshotTest, PlayerShipIsDrawnWhereTheCameraRulePutsIt) {
  const SavedState& s = *play_->state;
  const UnitRecord& p = s.units[s.playerUnit];
  // Camera 1 follows the ship from 9.7 behind, 8.8 up, looking down at 45 degrees.
  const double h = p.rotY;
  EXPECT_NEAR(s.cameraPos.x, p.posX - 1.9 * std::sin(h), 0.2);
  EXPECT_NEAR(s.cameraPos.y, 8.8, 1e-6);
  EXPECT_NEAR(s.cameraPos.z, p.posZ - 9.7 - 1.9 * std::cos(h), 0.2);
  EXPECT_NEAR(s.cameraRot.x, -3.14159265358979 / 4, 0.01);

  double sx = 0, sy = 0;
  ASSERT_TRUE(Project(s, p.posX, p.posY, p.posZ, sx, sy));
  const int x = static_cast<int>(sx), y = static_cast<int>(sy);
  ASSERT_GT(x, 50);
  ASSERT_LT(x, kWidth - 50);
  ASSERT_GT(y, 50);
  ASSERT_LT(y, kHeight - 50);
  const Picture& pic = play_->picture;
  // The hull covers a few hundred pixels around its projected centre; open sea the same size
  // to either side holds none of its colours.
  EXPECT_GT(Count(pic, x - 25, y - 30, x + 25, y + 30, Hull), 60)
      << "ship expected at " << x << "," << y;
  EXPECT_LT(Count(pic, x - 175, y - 30, x - 125, y + 30, Hull), 5);
  EXPECT_LT(Count(pic, x - 25, y + 150, x + 25, y + 210, Hull), 5);
}

TEST_F(SceneScreenshotTest, IslandInSightShowsSandAndGrassAroundItsProjectedCentre) {
  const SavedState& s = *play_->state;
  const Picture& pic = play_->picture;
  int inView = 0, drawn = 0;
  for (int i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& st = s.statics[i];
    if (st.alive != 1) continue;
    double sx = 0, sy = 0;
    if (!Project(s, st.posX, 0, st.posZ, sx, sy)) continue;
    if (sx < 0 || sx >= kWidth || sy < 0 || sy >= kHeight) continue;
    ++inView;
    const int x = static_cast<int>(sx), y = static_cast<int>(sy);
    const int sand = Count(pic, x - 120, y - 100, x + 120, y + 100, Sand);
    const int grass = Count(pic, x - 120, y - 100, x + 120, y + 100, Grass);
    if (sand > 500 && grass > 1000) ++drawn;
  }
  EXPECT_GE(inView, 1) << "level 1 must show an island from the start";
  EXPECT_EQ(drawn, inView);
}

TEST_F(SceneScreenshotTest, SeaCoversTheForegroundWithoutLandColours) {
  const Picture& pic = play_->picture;
  // The HUD's bar panel (0..21 % across, 72..100 % down) is not sea.
  const int panel = kWidth * 21 / 100;
  const int band = (kWidth - panel) * (kHeight / 3);
  EXPECT_GT(Count(pic, panel, kHeight - kHeight / 3, kWidth, kHeight, Sea), band * 9 / 10);
  EXPECT_EQ(Count(pic, 0, kHeight - kHeight / 3, kWidth, kHeight, Grass), 0);
  // The floor shows through the additive sheet: the sea is not one flat colour.
  int lo = 255, hi = 0;
  for (int x = 0; x < kWidth; x += 7) {
    const Rgb c = pic.At(x, kHeight - 50);
    lo = std::min(lo, c.g);
    hi = std::max(hi, c.g);
  }
  EXPECT_GT(hi - lo, 15);
}

TEST_F(SceneScreenshotTest, StartFadeDarkensTheFirstStepsOnly) {
  ASSERT_TRUE(fading_->state);
  EXPECT_GT(fading_->state->screenFade, 0.8);  // 1 - 20 * 0.0072
  EXPECT_EQ(play_->state->screenFade, 0.0);
  const double lit = MeanBrightness(play_->picture);
  EXPECT_GT(lit, 40);
  EXPECT_LT(MeanBrightness(fading_->picture), lit * 0.3);
}

TEST_F(SceneScreenshotTest, LivesTextShowsBesideTheShipIcon) {
  // "x3" in the large font: white letters in the text cell at the top left (anchor 6 %, 1 % of
  // the width: pixels 56..88 and 11..38 for the first character), over the sea.
  const Picture& pic = play_->picture;
  auto ink = [](Rgb c) { return c.r > 220 && c.g > 180; };  // white, warmer toward the feet
  EXPECT_GT(Count(pic, 56, 11, 110, 38, ink), 30);
  EXPECT_LT(Count(pic, 150, 11, 204, 38, ink), 5);
}

TEST_F(SceneScreenshotTest, BroadsideShowsShellsSmokeAndTheBars) {
  // Full ahead until the guns unlock along the route (near tick 120, after the steering hint and
  // with the guns' hint; the hint button is clicked every 8 ticks until 140), then the right
  // battery fires at tick 160 (D down, then up); the frame 6 ticks later.
  GameRun battle;
  ASSERT_TRUE(RunLevelOne(167, *dir_, battle,
                          "1 key-down 38\n" +
                              test::HintClicks(kWidth, kHeight,
                                               {20, 28, 36, 44, 52, 60, 68, 76, 84, 92, 100, 108,
                                                116, 124, 132, 140}) +
                              "140 key-up 38\n160 key-down 68\n161 key-up 68\n"));
  const SavedState& s = *battle.state;
  ASSERT_EQ(+s.gunsUnlocked, 1);
  const Picture& pic = battle.picture;
  int shells = 0, shown = 0;
  for (int i = 1; i < kProjectileSlots; ++i) {
    const ProjectileRecord& p = s.projectiles[i];
    double x = 0, y = 0;
    if (p.active != 1 || !Project(s, p.pos.x, p.pos.y, p.pos.z, x, y)) continue;
    if (x < 5 || y < 5 || x >= kWidth - 5 || y >= kHeight - 5) continue;
    ++shells;
    // A shell is a yellow sphere under an additive glow: something bright within 4 pixels.
    auto bright = [](Rgb c) { return c.r > 200 && c.g > 150; };
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    if (Count(pic, px - 4, py - 4, px + 5, py + 5, bright) > 0) ++shown;
  }
  EXPECT_GT(shells, 0) << "no shell in flight in view";
  EXPECT_EQ(shown, shells);
  int smoke = 0;
  for (int i = 1; i <= kParticleSlots; ++i) {
    const ParticleRecord& p = s.particles[i];
    if (p.active == 1 && (p.kind == 13 || p.kind == 11)) ++smoke;
  }
  EXPECT_GT(smoke, 0);
  // The life bar fills its slot: red across 5.4..19.9 % at 96.75 % down.
  const UnitRecord& u = s.units[s.playerUnit];
  ASSERT_GT(u.maxLife, 0);
  const int row = kHeight * 9675 / 10000;
  auto red = [](Rgb c) { return c.r > 150 && c.r > 2 * c.g; };
  const int right = static_cast<int>(kWidth * (5.4 + 14.5 * u.life / u.maxLife) / 100);
  EXPECT_GT(Count(pic, kWidth * 54 / 1000 + 2, row, right - 2, row + 1, red),
            (right - kWidth * 54 / 1000 - 4) * 8 / 10);
  EXPECT_EQ(Count(pic, right + 3, row, kWidth * 21 / 100, row + 1, red), 0);
}

TEST_F(SceneScreenshotTest, PlayFramesAllocateNothingOnceWarm) {
  const std::string key = "steady_frame_allocs=";
  const size_t at = play_->bench.find(key);
  ASSERT_NE(at, std::string::npos) << play_->bench;
  const long long allocs = std::atoll(play_->bench.c_str() + at + key.size());
  if (allocs < 0) GTEST_SKIP() << "this build does not count heap allocations";
  EXPECT_EQ(allocs, 0) << "operator new calls in the play frames after the warm-up";
}

}  // namespace
}  // namespace skerrow
