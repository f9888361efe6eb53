// The main game object end to end: start-up to the menu mode, --ticks, scripted input through
// the handlers, and the executable's exit actions (--dump-state, --screenshot, --bench).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/ktzgl.h"
#include "gui/interface.h"
#include "gui/key_window.h"
#include "platform/key_bindings.h"
#include "platform/platform.h"
#include "platform/vk_codes.h"
#include "render/game_resources.h"
#include "render/renderer.h"
#include "shell/skerrow_form.h"
#include "support/hint_clicks.h"
#include "support/temp_dir.h"
#include "support/tga_header.h"
#include "world/records.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string& name) {
  return test::ScratchDir("form_" + name);
}

TEST(Form, HeadlessRunReachesMenuAndCountsTicks) {
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 7;
  cl.seed = 1;
  cl.root = TempDir("ticks").string();
  TSkerrowForm form(cl, platform::CreateNullWindow());
  ASSERT_EQ(form.Run(), 0);
  WorldState& w = form.World();
  EXPECT_EQ(w.GameMode, 1);
  EXPECT_EQ(w.menuScreen, 1);
  EXPECT_EQ(w.gameSpeed, 40);
  EXPECT_EQ(w.playerUnit, 1);
  EXPECT_EQ(w.levelNumber, 1);
  EXPECT_EQ(form.TicksSinceStartup(), 7);
  // The virtual clock advances 40 ms per tick: one step each, nothing left over.
  EXPECT_EQ(w.lastLagCount, 40);
  EXPECT_EQ(w.lagAccumulator, 0);
  EXPECT_EQ(w.frameCounter, 7);
}

TEST(Form, ScriptedInputReachesTheHandlers) {
  fs::path dir = TempDir("input");
  {
    std::ofstream f(dir / "in.txt");
    f << "1 key-down 87\n2 mouse-move 100 200\n2 mouse-down 0\n3 mouse-down 1\n"
         "4 mouse-up 0\n5 key-down 38\n5 key-up 87\n";
  }
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 5;
  cl.root = dir.string();
  cl.inputFile = (dir / "in.txt").string();
  TSkerrowForm form(cl, platform::CreateNullWindow());
  ASSERT_EQ(form.Run(), 0);
  WorldState& w = form.World();
  EXPECT_EQ(w.mouseLeftHeld, 0);  // down at tick 2, up at tick 4
  EXPECT_EQ(w.mouseRightHeld, 1);
  form.RefreshKeyboard();
  EXPECT_TRUE(form.KeyDown(kVkUp));
  EXPECT_FALSE(form.KeyDown('W'));
}

// A backend whose keyboard holds what the test says, with no window events at all.
class HeldKeysWindow final : public platform::Window {
 public:
  KeyboardState held;
  bool Open(const platform::DisplayConfig&) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return true; }
  bool HasGL() const override { return false; }
  int Width() const override { return 0; }
  int Height() const override { return 0; }
  void SwapBuffers() override {}
  void PumpEvents(platform::EventSink&) override {}
  void ShowCursor(bool) override {}
  void* GetProcAddress(const char*) override { return nullptr; }
  bool ReadKeyboard(KeyboardState& keys) override {
    keys = held;
    return true;
  }
  const std::string& Error() const override { return error_; }

 private:
  std::string error_;
};

TEST(Form, KeyboardSnapshotIsTheBackendKeyboardWhicheverWindowHasFocus) {
  auto owned = std::make_unique<HeldKeysWindow>();
  HeldKeysWindow& window = *owned;
  CommandLine cl;
  cl.headless = true;
  TSkerrowForm form(cl, std::move(owned));
  // Up held while another window (the editor) has focus: the main window saw no event.
  window.held.SetDown(kVkUp, true);
  form.RefreshKeyboard();
  EXPECT_TRUE(form.KeyDown(kVkUp));
  // Left went down in the main window and up elsewhere: released, whatever the events said.
  form.FormKeyDown(kVkLeft, 0);
  window.held.SetDown(kVkUp, false);
  form.RefreshKeyboard();
  EXPECT_FALSE(form.KeyDown(kVkLeft));
  EXPECT_FALSE(form.KeyDown(kVkUp));
}

TEST(Form, ReboundKeysAndControllerKeysReachTheSnapshotAsGameKeys) {
  auto owned = std::make_unique<HeldKeysWindow>();
  HeldKeysWindow& window = *owned;
  CommandLine cl;
  cl.headless = true;
  TSkerrowForm form(cl, std::move(owned));
  KeyBindings keys;
  ASSERT_TRUE(BindKey(keys, kKeyForward, 'K'));
  form.ApplyKeyBindings(keys);
  EXPECT_EQ(form.Settings().keys, keys);
  window.held.SetDown('K', true);
  form.RefreshKeyboard();
  EXPECT_TRUE(form.KeyDown(kVkUp));
  EXPECT_FALSE(form.KeyDown('K'));
  window.held.SetDown('K', false);
  window.held.SetDown(kVkUp, true);  // the old key
  form.RefreshKeyboard();
  EXPECT_FALSE(form.KeyDown(kVkUp));
  // A controller's keys are game keys: Up from the stick drives though the keyboard's Up does
  // nothing now.
  form.OnKeyDown(kVkUp, platform::kShiftController);
  form.RefreshKeyboard();
  EXPECT_TRUE(form.KeyDown(kVkUp));
  form.OnKeyUp(kVkUp, platform::kShiftController);
  form.RefreshKeyboard();
  EXPECT_FALSE(form.KeyDown(kVkUp));
}

TEST(Form, TheKeyWindowTakesTheNextKeyBeforeTheGame) {
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 1;
  cl.root = TempDir("keywindow").string();  // where the options write settings.dat
  TSkerrowForm form(cl, platform::CreateNullWindow());
  ASSERT_EQ(form.Run(), 0);  // start-up builds the windows
  WorldState& w = form.World();
  w.GameMode = game_mode::kPlay;
  TInterface& ui = form.Interface();
  OpenOptions(ui);
  OpenKeyWindow(ui);
  TButton& row = ui.gui.windows.keys.buttons[kKeyRowButton + kKeyMenu];
  row.action(row, 0);
  form.OnKeyDown(kVkEscape, 0);  // cancels the wait; no in-game menu
  EXPECT_EQ(+ui.gui.windows.inGameMenu.visible, 0);
  row.action(row, 0);
  form.OnKeyDown('M', 0);
  form.OnKeyDown('M', 0);  // its repeat is not the game's either
  form.OnKeyUp('M', 0);
  EXPECT_EQ(ui.keyEdit.keys[kKeyMenu], 'M');
  form.RefreshKeyboard();
  EXPECT_FALSE(form.KeyDown('M'));
  EXPECT_EQ(form.Settings().keys, KeyBindings{});  // in force only when the options close
  ui.gui.windows.keys.visible = 0;
  CloseOptions(ui);
  EXPECT_EQ(form.Settings().keys.keys[kKeyMenu], 'M');
  form.OnKeyDown('M', 0);  // now the menu key
  EXPECT_EQ(+ui.gui.windows.inGameMenu.visible, 1);
}

// The offscreen SDL window with a size of the test's choosing: the offscreen driver keeps a
// window's size in full screen, as no real display does.
class SizedWindow final : public platform::Window {
 public:
  int width = 0, height = 0;  // 0: the real window's
  bool Open(const platform::DisplayConfig& c) override { return inner_->Open(c); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  bool HasGL() const override { return inner_->HasGL(); }
  int Width() const override { return width > 0 ? width : inner_->Width(); }
  int Height() const override { return height > 0 ? height : inner_->Height(); }
  void SwapBuffers() override { inner_->SwapBuffers(); }
  void PumpEvents(platform::EventSink& s) override { inner_->PumpEvents(s); }
  void ShowCursor(bool v) override { inner_->ShowCursor(v); }
  void* GetProcAddress(const char* n) override { return inner_->GetProcAddress(n); }
  const std::string& Error() const override { return inner_->Error(); }

 private:
  std::unique_ptr<platform::Window> inner_ = platform::CreateSdlWindow();
};

TEST(Form, TheSceneFollowsTheWindowsSizeAndNothingElseChanges) {
  auto owned = std::make_unique<SizedWindow>();
  SizedWindow& window = *owned;
  CommandLine cl;
  cl.headless = true;
  cl.root = TempDir("fullscreen").string();
  TSkerrowForm form(cl, std::move(owned));
  form.FormCreate();
  ASSERT_TRUE(form.ddrawInitialize());
  if (!form.Display().HasGL()) GTEST_SKIP() << "no offscreen GL";
  const TKTZGL_Scene& scene = *form.Render().resources.scene;
  ASSERT_EQ(scene.Width, 800);
  const auto saved = std::make_unique<SavedState>();
  std::memcpy(saved.get(), &static_cast<SavedState&>(form.World()), sizeof(SavedState));
  const auto viewport = [] {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
  };

  window.width = 1280;  // full screen on a 1280 x 1024 desktop
  window.height = 1024;
  form.FollowWindowSize();
  EXPECT_EQ(scene.Width, 1280);
  EXPECT_EQ(scene.Height, 1024);
  EXPECT_DOUBLE_EQ(scene.Aspect, 1.25);
  EXPECT_DOUBLE_EQ(form.World().screenAspect, 1.25);
  EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 1280, 1024}));
  window.width = window.height = 0;  // back in the window
  form.FollowWindowSize();
  EXPECT_EQ(scene.Width, 800);
  EXPECT_EQ(scene.Height, 600);
  EXPECT_DOUBLE_EQ(form.World().screenAspect, 800.0 / 600.0);
  EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 800, 600}));
  EXPECT_EQ(std::memcmp(saved.get(), &static_cast<SavedState&>(form.World()), sizeof(SavedState)),
            0);  // the saved block is as it was
}

TEST(Form, BadInputScriptExitsWithTwo) {
  fs::path dir = TempDir("badinput");
  {
    std::ofstream f(dir / "in.txt");
    f << "1 key-down 87\n1 fly 3\n";
  }
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 1;
  cl.inputFile = (dir / "in.txt").string();
  TSkerrowForm form(cl, platform::CreateNullWindow());
  EXPECT_EQ(form.Run(), 2);
}

// Runs the built executable; returns its exit status.
int RunGame(const std::string& args, const fs::path& out = {}) {
  std::string cmd = std::string(SKERROW_BINARY_DIR) + "/skerrow " + args;
  cmd += " > " + (out.empty() ? std::string("/dev/null") : out.string());
  cmd += " 2>/dev/null";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(Executable, DumpStateScreenshotAndBench) {
  fs::path dir = TempDir("exe");
  fs::path dump = dir / "s.qvs", shot = dir / "f.tga", bench = dir / "bench.txt";
  ASSERT_EQ(RunGame("--headless --ticks 10 --root " + dir.string() + " --dump-state " +
                        dump.string() + " --screenshot " + shot.string() + " --bench",
                    bench),
            0);
  ASSERT_EQ(fs::file_size(dump), 7515316u);
  std::ifstream d(dump, std::ios::binary);
  d.seekg(32);
  int32_t mode = 0;
  d.read(reinterpret_cast<char*>(&mode), 4);
  EXPECT_EQ(mode, 1);

  ASSERT_EQ(fs::file_size(shot), 18u + 800u * 600u * 3u);
  test::ExpectTga24Header(shot.string(), 800, 600);

  std::ifstream b(bench);
  std::string line;
  std::getline(b, line);
  EXPECT_EQ(line.rfind("bench ticks=10 steps=10 ", 0), 0u) << line;
  EXPECT_NE(line.find("frame_us_p99="), std::string::npos);
}

TEST(Executable, BadOptionsExitWithTwo) {
  EXPECT_EQ(RunGame("--no-such-option"), 2);
  EXPECT_EQ(RunGame("--ticks"), 2);
  EXPECT_EQ(RunGame("--size 12"), 2);
  EXPECT_EQ(RunGame("--help"), 0);
}

// The saved block after 60 steps of level 1 with `script` on a root of its own whose
// settings.dat is `settings` (none when empty); empty when the run failed. The episode's and
// the tutorial's opening hints pause play, so every run closes them first (ticks 2 and 12).
std::vector<uint8_t> LevelOneDump(const std::string& name, const std::string& settings,
                                  const std::string& script) {
  const fs::path dir = TempDir("keys_" + name);
  fs::create_directory_symlink(fs::path(SKERROW_BINARY_DIR) / "gdata", dir / "gdata");
  if (!settings.empty()) std::ofstream(dir / "settings.dat", std::ios::binary) << settings;
  std::ofstream(dir / "in.txt") << test::HintClicks(160, 120, {2, 12}) << script;
  const fs::path dump = dir / "s.qvs";
  if (RunGame("--headless --seed 7 --start 1:1 --ticks 60 --size 160x120 --root " + dir.string() +
              " --input " + (dir / "in.txt").string() + " --dump-state " + dump.string()) != 0) {
    return {};
  }
  std::ifstream in(dump, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

// The player's x + z in a dump of SavedState's size (NaN without a player).
double PlayerPlace(const std::vector<uint8_t>& dump) {
  auto state = std::make_unique<SavedState>();
  std::memcpy(state.get(), dump.data(), sizeof(SavedState));
  if (state->playerUnit < 1 || state->playerUnit >= kUnitSlots) return NAN;
  const UnitRecord& p = state->units[state->playerUnit];
  return p.posX + p.posZ;
}

TEST(Executable, AReboundKeyMovesTheShipAndTheOldKeyNoLonger) {
  if (!fs::exists(fs::path(SKERROW_BINARY_DIR) / "gdata" / "Skerrow.qvp")) {
    GTEST_SKIP() << "no content pack";
  }
  const std::string rebound = "[Skerrow Keys]\r\nctlForward=75\r\n";  // ahead on K
  const std::vector<uint8_t> still = LevelOneDump("still", rebound, "");
  const std::vector<uint8_t> byK = LevelOneDump("k", rebound, "20 key-down 75\n");
  const std::vector<uint8_t> byUp = LevelOneDump("up", rebound, "20 key-down 38\n");
  const std::vector<uint8_t> byUpDefault = LevelOneDump("default", "", "20 key-down 38\n");
  for (const auto* d : {&still, &byK, &byUp, &byUpDefault})
    ASSERT_EQ(d->size(), sizeof(SavedState));
  EXPECT_GT(std::abs(PlayerPlace(byK) - PlayerPlace(still)), 0.05);  // K sails
  EXPECT_TRUE(byK == byUpDefault);  // exactly as Up does without the rebinding
  EXPECT_TRUE(byUp == still);       // the old key does nothing
}

}  // namespace
}  // namespace skerrow
