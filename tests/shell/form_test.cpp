// The main game object end to end: start-up to the menu mode, --ticks, scripted input through
// the handlers, and the executable's exit actions (--dump-state, --screenshot, --bench).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/vk_codes.h"
#include "shell/skerrow_form.h"
#include "support/temp_dir.h"
#include "support/tga_header.h"
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

}  // namespace
}  // namespace skerrow
