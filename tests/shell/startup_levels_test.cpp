// Start-up and level loading on the content pack: the loading bar, stored settings taking
// effect, the display chosen from them, every episode-1 level through EnterLevel, and the
// direct start (--start E:L) in process and through the executable.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "render/game_resources.h"
#include "shell/level_host.h"
#include "shell/settings.h"
#include "shell/skerrow_form.h"
#include "support/temp_dir.h"
#include "world/level_files.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kPackRoot = std::string(SKERROW_BINARY_DIR) + "/";

bool HavePack() {
  return fs::exists(fs::path(kPackRoot) / "gdata" / "Skerrow.qvp");
}

fs::path TempDir(const std::string& name) {
  fs::path p = test::ScratchDir("start_" + name);
  InvalidatePathCache();
  return p;
}

// A window without GL that counts presented frames.
class CountingWindow : public platform::Window {
 public:
  explicit CountingWindow(int* swaps) : inner_(platform::CreateNullWindow()), swaps_(swaps) {}
  bool Open(const platform::DisplayConfig& c) override { return inner_->Open(c); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  bool HasGL() const override { return false; }
  int Width() const override { return inner_->Width(); }
  int Height() const override { return inner_->Height(); }
  void SwapBuffers() override { ++*swaps_; }
  void PumpEvents(platform::EventSink& s) override { inner_->PumpEvents(s); }
  void ShowCursor(bool v) override { inner_->ShowCursor(v); }
  void* GetProcAddress(const char* n) override { return inner_->GetProcAddress(n); }
  const std::string& Error() const override { return inner_->Error(); }

 private:
  std::unique_ptr<platform::Window> inner_;
  int* swaps_;
};

TEST(Startup, LoadingBarAnimatesEveryValueAndNeverGoesBack) {
  int swaps = 0;
  CommandLine cl;
  cl.headless = true;
  cl.root = TempDir("bar").string();
  TSkerrowForm form(cl, std::make_unique<CountingWindow>(&swaps));
  form.FormCreate();
  ASSERT_TRUE(form.ddrawInitialize());
  form.ShowLoadingProgress(7);  // 0..7: eight frames
  EXPECT_EQ(swaps, 8);
  form.ShowLoadingProgress(35);  // 7..35: 29 frames
  EXPECT_EQ(swaps, 37);
  form.ShowLoadingProgress(20);  // backwards: nothing
  EXPECT_EQ(swaps, 37);
  EXPECT_EQ(form.LoadingPercent(), 35);
  form.ResetLoadingProgress();
  form.ShowLoadingProgress(0);
  EXPECT_EQ(form.LoadingPercent(), 0);
  form.FormDestroy();
}

// An 8-bit palette bitmap: the full-resolution texture loader refuses it with
// "Error reading info header".
void WritePaletteBitmap(const fs::path& file) {
  std::string b = "BM";
  auto u32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [&b](uint16_t v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>(v >> 8));
  };
  u32(54 + 8 + 16), u32(0), u32(54 + 8);                     // file header
  u32(40), u32(4), u32(4), u16(1), u16(8), u32(0), u32(16);  // 4 x 4, 8 bits
  u32(0), u32(0), u32(2), u32(0);                            // two palette entries
  b += std::string(8 + 16, '\x01');
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << b;
}

// A 3DS file whose material holds a chunk no material may hold: the reader refuses it.
void WriteBroken3ds(const fs::path& file) {
  const char bytes[] = {0x4D, 0x4D, 24, 0, 0, 0,   // M3DMAGIC
                        0x3D, 0x3D, 18, 0, 0, 0,   // MDATA
                        -1,   -81,  12, 0, 0, 0,   // MAT_ENTRY (0xAFFF)
                        -16,  -96,  6,  0, 0, 0};  // 0xA0F0
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(bytes, sizeof bytes);
}

TEST(Startup, LoaderMessagesAreShownAsBoxesInLoadOrder) {
  const fs::path dir = TempDir("boxes");
  const fs::path gdata = dir / "gdata";
  // One refusal in each of three groups: the loading screen, the models, the bonuses.
  WritePaletteBitmap(gdata / "textures" / "int" / "loading.qvt");
  WriteBroken3ds(gdata / "models" / "ships" / "ship1.3ds");
  WritePaletteBitmap(gdata / "textures" / "bonuses" / "bonus7.qvt");
  InvalidatePathCache();
  std::vector<std::string> shown;
  const platform::MessageHandler previous =
      platform::SetMessageHandler([&shown](const std::string& caption, const std::string& text) {
        shown.push_back(caption + ": " + text.substr(0, 26));
      });
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 0;
  cl.root = dir.string();
  TSkerrowForm form(cl);
  form.FormCreate();
  const bool gl = form.ddrawInitialize() && form.Display().HasGL();
  if (gl) form.LoadResources(true);
  form.FormDestroy();
  platform::SetMessageHandler(previous);
  fs::remove_all(dir);
  if (!gl) GTEST_SKIP() << "no GL context";
  const std::vector<std::string> expected = {
      "BMP Unit: Error reading info header",
      "Skerrow: An invalid Chunk structure",
      "BMP Unit: Error reading info header",
      // Then the interface, built last: its atlas and its font's width table are missing.
      "TGA Texture: " + ("File not found  - " + dir.string()).substr(0, 26),
      "Font Loader: Unable to find font.fnt",
  };
  EXPECT_EQ(shown, expected);
}

TEST(Startup, StoredOptionsReachTheState) {
  const fs::path dir = TempDir("opts");
  {
    std::ofstream f(dir / "settings.dat");
    f << "[Skerrow Settings]\nmaxshadowsnumber_Value=2.7\nhqeffects_Checked=False\n"
         "playmusic_Checked=maybe\nstretchmovies_Checked=True\nqualityterraintexture_Checked="
         "False\n";
  }
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 0;
  cl.root = dir.string();
  TSkerrowForm form(cl, platform::CreateNullWindow());
  ASSERT_EQ(form.Run(), 0);
  const WorldState& w = form.World();
  EXPECT_EQ(w.maxShadows, 2);
  EXPECT_EQ(w.hqEffects, 0);
  EXPECT_EQ(w.stretchMovies, 1);
  EXPECT_EQ(w.textureQuality, 0);
  EXPECT_EQ(w.fourPipelines, 1);
  EXPECT_TRUE(form.Settings().playmusic);  // the bad value left the default
  // Start-up ends in the menu with the bar full, the menu view and the start-up colours.
  EXPECT_EQ(w.GameMode, 1);
  EXPECT_EQ(form.LoadingPercent(), 100);
  EXPECT_EQ(w.terrainView[1], 14);
  EXPECT_EQ(w.terrainView[3], 75);
  EXPECT_DOUBLE_EQ(w.screenFade, 1.2);
  EXPECT_EQ(w.heightBrush, 5);
  EXPECT_EQ(w.browseSlot, 1);
  EXPECT_EQ(w.cameraNumber, 1);
}

TEST(Startup, DisplayFollowsTheStoredModeAndTheOverrides) {
  StoredSettings s;
  CommandLine cl;
  platform::DisplayConfig c = DisplayFromSettings(s, cl);
  EXPECT_TRUE(c.fullscreen);  // the default set holds doFullScreen
  ParseSettings(
      "[Skerrow Settings]\nddraw_Options=[doCenter]\nddraw_DisplayWidth=1024\n"
      "ddraw_DisplayHeight=700\n",
      s);
  c = DisplayFromSettings(s, cl);
  EXPECT_FALSE(c.fullscreen);
  EXPECT_EQ(c.width, 1024);
  EXPECT_EQ(c.height, 700);
  EXPECT_TRUE(c.fitToDesktop);  // a stored window size is fitted to the desktop
  cl.fullscreen = true;
  EXPECT_TRUE(DisplayFromSettings(s, cl).fullscreen);
  EXPECT_FALSE(DisplayFromSettings(s, cl).fitToDesktop);
  cl.fullscreen.reset();
  cl.width = 640;
  cl.height = 480;
  c = DisplayFromSettings(s, cl);
  EXPECT_FALSE(c.fullscreen);
  EXPECT_EQ(c.width, 640);
  EXPECT_FALSE(c.fitToDesktop);  // --size is taken as given
  ParseSettings("[Skerrow Settings]\nddraw_Options=[doFullScreen]\n", s);
  cl.width = cl.height = 0;
  EXPECT_TRUE(DisplayFromSettings(s, cl).fullscreen);
  cl.headless = true;
  c = DisplayFromSettings(s, cl);
  EXPECT_FALSE(c.fullscreen);
  EXPECT_EQ(c.width, 800);
  EXPECT_FALSE(c.fitToDesktop);
}

// A host without graphics for EnterLevel over the real pack.
class PackHost : public LevelHost {
 public:
  bool ReadPicture(const std::string& p, LevelPicture& out) override {
    return reader.ReadPicture(p, out);
  }
  void ResetLoadingProgress() override {}
  void LoadLoadingPicture(int32_t) override {}
  void LoadEpisodeArt(const std::string&) override { ++artLoads; }
  void LoadMinimap(const std::string& p) override { minimapFound = PathExists(p); }
  void SetFpsTimer(bool) override {}
  void StartEpisodeMusic(int32_t) override {}
  void ShowEpisodeHint(const std::string&, const std::string&) override {}
  void ShowLevelMessage(const LevelMessage& m) override { messages.push_back(m.text); }
  std::vector<std::string> messages;
  void ShowOutro() override {}
  EnginePictureReader reader;
  int artLoads = 0;
  bool minimapFound = false;
};

TEST(Levels, EveryEpisodeOneLevelOfThePackLoads) {
  if (!HavePack()) GTEST_SKIP() << "no content pack in " << kPackRoot;
  auto ws = std::make_unique<WorldState>();
  ws->appPath = kPackRoot;
  ws->playerUnit = 1;
  PackHost host;
  ASSERT_TRUE(EnterLevel(*ws, host, 201));
  EXPECT_EQ(host.artLoads, 1);
  int levels = 0;
  for (int32_t n = 1; n <= kLastLevelNumber; ++n) {
    if (!LevelFilesExist(kPackRoot, 1, n)) continue;
    ++levels;
    ws->levelSize = 0;
    ws->units[2].alive = 0;
    ASSERT_TRUE(EnterLevel(*ws, host, n)) << n;
    EXPECT_EQ(ws->levelNumber, n);
    EXPECT_GT(ws->levelSize, 0) << n;
    EXPECT_TRUE(host.minimapFound) << n;
    int units = 0;
    for (int32_t u = 1; u < kUnitSlots; ++u) units += ws->units[u].alive == 1 ? 1 : 0;
    EXPECT_GT(units, 1) << n;
    int statics = 0;
    for (int32_t s = 1; s < kStaticSlots; ++s) statics += ws->statics[s].alive == 1 ? 1 : 0;
    EXPECT_GT(statics, 0) << n;
    // Colours came through the gradient: some point of the map is lit.
    EXPECT_EQ(TerrainColourAt(*ws, 10, 10).a, 1.0f) << n;
  }
  EXPECT_GE(levels, 1);
  EXPECT_EQ(host.artLoads, 1);  // levels of one episode share its art
}

TEST(Levels, DirectStartSetsUpTheHeroAndEntersTheLevel) {
  if (!HavePack()) GTEST_SKIP() << "no content pack in " << kPackRoot;
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 0;
  cl.root = kPackRoot;
  cl.start = "1:2";
  cl.ship = 2;
  if (!LevelFilesExist(kPackRoot, 1, 2)) cl.start = "1:1";
  TSkerrowForm form(cl, platform::CreateNullWindow());
  ASSERT_EQ(form.Run(), 0);
  const WorldState& w = form.World();
  EXPECT_EQ(w.GameMode, 2);
  EXPECT_EQ(w.episode, 1);
  EXPECT_EQ(w.levelNumber, cl.start == "1:2" ? 2 : 1);
  const UnitRecord& p = w.units[w.playerUnit];
  EXPECT_EQ(p.unitKind, 2);
  EXPECT_EQ(w.shipChoice, 2);
  EXPECT_EQ(w.heroChoice, 1);
  EXPECT_EQ(w.gunPoints, 45);     // hero 1 adds nothing to guns
  EXPECT_EQ(w.armourPoints, 55);  // 25 + 30
  EXPECT_EQ(w.lives, 3);
  EXPECT_FLOAT_EQ(p.maxLife, 5 * 55 + 1 + 50);
  EXPECT_FLOAT_EQ(p.life, p.maxLife);
  EXPECT_EQ(Cp1251ToUtf8(w.shipName.View()), "Буревестник");
}

// A new game after a finished one: the tutorial's triggers must find every unlock flag cleared
// again, and the panels shut.
TEST(Levels, NewPlayerStartsWithEverythingTheTutorialUnlocksLocked) {
  auto world = std::make_unique<WorldState>();
  WorldState& w = *world;
  w.playerUnit = 0;  // no unit to fill: only the player's progress is set up
  uint8_t* flags[] = {&w.gunsUnlocked,         &w.mouseSteering,   &w.infoPanelUnlocked,
                      &w.upgradePanelUnlocked, &w.radarUnlocked,   &w.weaponZUnlocked,
                      &w.weaponSUnlocked,      &w.weaponXUnlocked, &w.infoPanelOpen,
                      &w.upgradePanelOpen};
  for (uint8_t* f : flags) *f = 1;
  SetUpNewPlayer(w, 1, 1, "Hero", "Ship");
  for (size_t i = 0; i < std::size(flags); ++i) EXPECT_EQ(*flags[i], 0) << "flag " << i;
  EXPECT_EQ(w.lives, 3);
}

TEST(Levels, DirectStartOfAMissingEpisodeOrLevelExitsWithTwo) {
  for (const char* start : {"7:1", "1:199"}) {
    CommandLine cl;
    cl.headless = true;
    cl.ticks = 5;
    cl.root = HavePack() ? kPackRoot : TempDir("nostart").string();
    cl.start = start;
    TSkerrowForm form(cl, platform::CreateNullWindow());
    EXPECT_EQ(form.Run(), 2) << start;
    EXPECT_NE(form.World().GameMode, 2) << start;
  }
}

int RunGame(const std::string& args) {
  const std::string cmd =
      std::string(SKERROW_BINARY_DIR) + "/skerrow " + args + " > /dev/null 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(Executable, HeadlessDirectStartDumpsThePlayState) {
  if (!HavePack() || !fs::exists(std::string(SKERROW_BINARY_DIR) + "/skerrow")) {
    GTEST_SKIP() << "no executable or content pack";
  }
  const fs::path dir = TempDir("exe");
  const fs::path dump = dir / "s.qvs";
  ASSERT_EQ(RunGame("--headless --start 1:1 --ticks 1 --dump-state " + dump.string()), 0);
  std::ifstream in(dump, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(b.size(), sizeof(SavedState));
  auto state = std::make_unique<SavedState>();
  std::memcpy(state.get(), b.data(), b.size());
  EXPECT_EQ(state->GameMode, 2);
  EXPECT_EQ(state->levelNumber, 1);
  EXPECT_EQ(state->episodeName.View(), Utf8ToCp1251("Заманчивые тропики"));
  EXPECT_EQ(state->episodeName.View().size(), 18u);  // one byte per letter: Windows-1251
  EXPECT_EQ(state->terrainView[0], 47);
  EXPECT_EQ(state->terrainView[1], 14);
  EXPECT_EQ(state->terrainView[2], 47);
  EXPECT_EQ(state->terrainView[3], 64);
  int units = 0;
  for (int32_t u = 1; u < kUnitSlots; ++u) units += state->units[u].alive == 1 ? 1 : 0;
  EXPECT_GT(units, 1);
  EXPECT_EQ(state->units[state->playerUnit].unitKind, 1);
  EXPECT_EQ(RunGame("--headless --start 9:1 --ticks 1"), 2);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace skerrow
