// Input handling: screenshot sizes and names, TGA and BMP files, name typing, Esc and the
// tilde key, the upgrade buttons, counting clicks with their marker, and the GUI pointer.
#include "shell/input.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/messages.h"
#include "platform/notices.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/vk_codes.h"
#include "support/tga_header.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

class FrameHost : public FrameSource {
 public:
  WorldState* world = nullptr;
  double fadeSeen = -1;
  int frames = 0;
  bool RenderFrame(int32_t, int32_t, std::vector<uint8_t>& bgr) override {
    ++frames;
    fadeSeen = world->screenFade;
    if (!bgr.empty()) bgr[0] = 0x7F;  // the first pixel's blue
    return true;
  }
};

class FakeGui : public InputGui {
 public:
  bool hint = false, menu = false, held = false;
  int opened = 0, releasedState = 0, releases = 0, presses = 0, editorShown = 0;
  int32_t px = -1, py = -1;
  bool HintWindowOpen() override { return hint; }
  bool InGameMenuOpen() override { return menu; }
  void OpenInGameMenu() override { ++opened; }
  void ReleaseButtonState() override { ++releasedState; }
  void Release() override { ++releases; }
  void Press() override { ++presses; }
  bool PointerButtonHeld() override { return held; }
  void SetPointer(int32_t x, int32_t y) override {
    px = x;
    py = y;
  }
  void ShowEditor() override { ++editorShown; }
};

class InputTest : public ::testing::Test {
 protected:
  InputTest()
      : world_(std::make_unique<WorldState>()),
        w(*world_),
        dir_(fs::temp_directory_path() / ("skerrow_input_" + std::to_string(::getpid()))),
        c{w, host, gui, 1000, 1000, false} {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    w.appPath = dir_.string() + "/";
    host.world = &w;
    w.GameMode = 2;
    w.gameSpeed = 40;
    w.playerUnit = 1;
    w.units[1].alive = 1;
    w.units[1].unitKind = 1;
    w.units[1].maxLife = 100.0f;
    w.units[1].life = 100.0f;
    w.shipChoice = 1;
    w.hqEffects = 1;
    SharedRandom().Seed(5);
    InvalidatePathCache();
  }
  ~InputTest() override { fs::remove_all(dir_); }

  void Touch(const std::string& name) {
    std::ofstream(dir_ / name) << "x";
    InvalidatePathCache();
  }
  // Left click and release at per-mille coordinates of the 1000 x 1000 display.
  void ClickAt(int x, int y) {
    InputMouseDown(c, platform::kMouseLeft, x, y);
    InputMouseUp(c, platform::kMouseLeft, x, y);
  }

  std::unique_ptr<WorldState> world_;
  WorldState& w;
  fs::path dir_;
  FrameHost host;
  FakeGui gui;
  InputContext c;
};

TEST(Screenshot, SizeByDisplay) {
  struct Case {
    int32_t dw, dh, w, h;  // w = 0: none
  };
  for (Case k :
       {Case{320, 240, 256, 128}, Case{512, 384, 512, 256}, Case{640, 480, 512, 256},
        Case{800, 600, 512, 512}, Case{1024, 768, 1024, 512}, Case{1152, 864, 1024, 512},
        Case{1600, 1200, 1024, 1024},
        // Widths outside the list take the largest size that fits.
        Case{1280, 1024, 1024, 1024}, Case{1920, 1080, 1024, 1024}, Case{1366, 768, 1024, 512},
        Case{1600, 900, 1024, 512}, Case{200, 100, 0, 0}, Case{0, 0, 0, 0}}) {
    int32_t w = 0, h = 0;
    EXPECT_EQ(ScreenshotSize(k.dw, k.dh, w, h), k.w != 0) << k.dw << "x" << k.dh;
    if (k.w != 0) {
      EXPECT_EQ(w, +k.w) << k.dw << "x" << k.dh;
      EXPECT_EQ(h, +k.h) << k.dw << "x" << k.dh;
    }
  }
}

TEST_F(InputTest, F5WritesTheNextFreeTgaWithoutTheFade) {
  Touch("Screen0000.tga");
  Touch("Screen0001.tga");
  Touch("Screen0002.tga");
  w.screenFade = 0.6;
  InputKeyDown(c, VkFunction(5));
  const fs::path shot = dir_ / "Screen0003.tga";
  ASSERT_TRUE(fs::exists(shot));
  EXPECT_EQ(fs::file_size(shot), 18u + 512u * 512u * 3u);  // 1000 x 1000: largest that fits
  EXPECT_EQ(test::ExpectTga24Header(shot.string(), 512, 512), 0x7F);
  EXPECT_EQ(host.fadeSeen, 0.0);
  EXPECT_EQ(+w.screenFade, 0.6);
  InputKeyDown(c, VkFunction(5));
  EXPECT_TRUE(fs::exists(dir_ / "Screen0004.tga"));
  // A display too small for every size writes nothing.
  c.displayWidth = 100;
  InputKeyDown(c, VkFunction(5));
  EXPECT_FALSE(fs::exists(dir_ / "Screen0005.tga"));
}

// A screenshot that cannot be written (its folder gone) is told to the player once, in the
// game's language, for F5 and Print Screen alike; the game goes on.
TEST_F(InputTest, AScreenshotThatCannotBeWrittenIsToldOnce) {
  platform::ResetFailureNotices();
  std::vector<std::string> shown;
  const platform::MessageHandler previous = platform::SetMessageHandler(
      [&](const std::string&, const std::string& text) { shown.push_back(text); });
  w.appPath = (dir_ / "gone").string() + "/";
  InvalidatePathCache();
  InputKeyDown(c, VkFunction(5));
  InputKeyDown(c, VkFunction(5));
  c.displayWidth = 10;
  c.displayHeight = 4;
  InputKeyUp(c, kVkSnapshot);
  platform::SetMessageHandler(previous);
  platform::ResetFailureNotices();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], platform::FailureNotice(platform::Failure::kScreenshot));
  EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

TEST_F(InputTest, PrintScreenWritesTheFrameAsBmp) {
  c.displayWidth = 10;  // rows of 30 bytes padded to 32
  c.displayHeight = 4;
  InputKeyUp(c, kVkSnapshot);
  const fs::path bmp = dir_ / "Screen0000.bmp";
  ASSERT_TRUE(fs::exists(bmp));
  EXPECT_EQ(fs::file_size(bmp), 54u + 32u * 4u);
  std::ifstream f(bmp, std::ios::binary);
  uint8_t h[55];
  f.read(reinterpret_cast<char*>(h), 55);
  EXPECT_EQ(h[0], 'B');
  EXPECT_EQ(h[1], 'M');
  EXPECT_EQ(h[18], 10);
  EXPECT_EQ(h[22], 4);
  EXPECT_EQ(h[28], 24);
  EXPECT_EQ(h[54], 0x7F);
  InputKeyDown(c, kVkSnapshot);  // key down does nothing
  EXPECT_FALSE(fs::exists(dir_ / "Screen0001.bmp"));
}

TEST_F(InputTest, NameTypingOnTheSelectionScreens) {
  w.GameMode = 1;
  w.menuScreen = 3;
  for (uint8_t ch : {uint8_t{' '}, uint8_t{'/'}, uint8_t{'0'}, uint8_t{'A'}, uint8_t{0xC0}})
    InputKeyPress(c, ch);
  EXPECT_EQ(w.heroChoiceName, std::string("0A\xC0"));
  InputKeyDown(c, kVkBack);
  EXPECT_EQ(w.heroChoiceName, "0A");
  for (int k = 0; k < 30; ++k) InputKeyPress(c, 'z');
  EXPECT_EQ(w.heroChoiceName.size(), 21u);
  w.menuScreen = 4;
  InputKeyPress(c, 'Q');
  EXPECT_EQ(w.shipChoiceName, "Q");
  InputKeyDown(c, kVkBack);
  InputKeyDown(c, kVkBack);  // nothing left to remove
  EXPECT_EQ(w.shipChoiceName, "");
  w.GameMode = 2;
  InputKeyPress(c, 'R');
  EXPECT_EQ(w.shipChoiceName, "");
}

TEST_F(InputTest, EscapeTildeAndTheEditorKey) {
  gui.hint = true;
  InputKeyDown(c, kVkEscape);
  EXPECT_EQ(gui.opened, 0);
  gui.hint = false;
  InputKeyDown(c, kVkEscape);
  EXPECT_EQ(gui.opened, 1);
  EXPECT_EQ(gui.releasedState, 1);

  InputKeyDown(c, kVkOem3);  // locked panels: nothing
  EXPECT_EQ(+w.infoPanelOpen, 0);
  w.infoPanelUnlocked = 1;
  w.upgradePanelUnlocked = 1;
  InputKeyDown(c, kVkOem3);
  EXPECT_EQ(+w.infoPanelOpen, 1);
  InputKeyDown(c, kVkOem3);
  EXPECT_EQ(+w.infoPanelOpen, 0);
  EXPECT_EQ(+w.upgradePanelOpen, 1);
  InputKeyDown(c, kVkOem3);
  EXPECT_EQ(+w.upgradePanelOpen, 0);
  EXPECT_EQ(+w.infoPanelOpen, 0);

  InputKeyDown(c, kVkSpace);
  EXPECT_EQ(gui.editorShown, 0);
  c.editorEnabled = true;
  InputKeyDown(c, kVkSpace);
  EXPECT_EQ(gui.editorShown, 1);
}

TEST_F(InputTest, UpgradeButtonsEdgesPointsAndLimits) {
  w.upgradePanelOpen = 1;
  w.upgradePanelUnlocked = 1;
  w.upgradePoints = 10;
  struct Case {
    int x, y;
    int armour, guns, speed;  // points after the click
  };
  // Armour 965..980 x 815..835, guns 840..860, speed 865..885 (per mille, edges included).
  for (Case k : {Case{965, 815, 1, 0, 0}, Case{980, 835, 2, 0, 0}, Case{964, 820, 2, 0, 0},
                 Case{981, 820, 2, 0, 0}, Case{970, 836, 2, 0, 0}, Case{970, 840, 2, 1, 0},
                 Case{970, 885, 2, 1, 1}, Case{970, 886, 2, 1, 1}}) {
    ClickAt(k.x, k.y);
    EXPECT_EQ(+w.armourPoints, +k.armour) << k.x << "," << k.y;
    EXPECT_EQ(+w.gunPoints, +k.guns) << k.x << "," << k.y;
    EXPECT_EQ(+w.speedPoints, +k.speed) << k.x << "," << k.y;
  }
  EXPECT_EQ(+w.upgradePoints, 6);
  EXPECT_FLOAT_EQ(+w.units[1].maxLife, 5 * 2 + 0 + 50);  // ApplyUpgrades ran
  // No points left, the ship's maximum, an open hint window: nothing changes.
  w.upgradePoints = 0;
  ClickAt(970, 820);
  EXPECT_EQ(+w.armourPoints, 2);
  w.upgradePoints = 5;
  w.armourPoints = 220;
  ClickAt(970, 820);
  EXPECT_EQ(+w.armourPoints, 220);
  gui.hint = true;
  ClickAt(970, 845);
  EXPECT_EQ(+w.gunPoints, 1);
  EXPECT_EQ(+w.upgradePoints, 5);
}

TEST_F(InputTest, ClicksCountOutsideTheUpgradeStripsAndLeaveAMarker) {
  w.cameraPos = {0, 8.8, 5, 0};
  w.mouseWorldPos = {1.0, 0.0, 2.0, 0.0};
  InputMouseDown(c, platform::kMouseRight, 500, 500);
  EXPECT_EQ(+w.mouseRightHeld, 1);
  const ParticleRecord& p = w.particles[1];
  EXPECT_EQ(+p.active, 1);
  EXPECT_EQ(+p.kind, 5);
  EXPECT_EQ(+p.pos.x, 1.0);
  EXPECT_EQ(+p.pos.y, 0.01);
  EXPECT_EQ(+p.size.x, 0.3);
  EXPECT_GE(+p.fadeRate, 0.016);
  EXPECT_LT(+p.fadeRate, 0.017);
  EXPECT_EQ(+p.angle, static_cast<int>(p.angle));
  InputMouseUp(c, platform::kMouseRight, 500, 500);
  EXPECT_EQ(+w.mouseRightHeld, 0);

  w.upgradePanelOpen = 1;
  InputMouseDown(c, platform::kMouseLeft, 820, 100);  // right strip
  InputMouseDown(c, platform::kMouseLeft, 100, 820);  // bottom strip
  EXPECT_EQ(+w.mouseLeftHeld, 0);
  InputMouseDown(c, platform::kMouseLeft, 819, 819);
  EXPECT_EQ(+w.mouseLeftHeld, 1);
  // The in-game menu takes every click.
  w.mouseLeftHeld = 0;
  gui.menu = true;
  InputMouseDown(c, platform::kMouseLeft, 100, 100);
  EXPECT_EQ(+w.mouseLeftHeld, 0);
  EXPECT_EQ(gui.presses, 1);
}

TEST_F(InputTest, ReleaseAfterAHintSkipsTheGuiButOnlyOnce) {
  w.mouseLeftHeld = 1;
  w.skipNextRelease = 1;
  InputMouseUp(c, platform::kMouseLeft, 10, 10);
  EXPECT_EQ(gui.releases, 0);
  EXPECT_EQ(+w.skipNextRelease, 0);
  EXPECT_EQ(+w.mouseLeftHeld, 0);
  InputMouseUp(c, platform::kMouseLeft, 10, 10);
  EXPECT_EQ(gui.releases, 1);
  EXPECT_EQ(gui.releasedState, 2);
}

TEST_F(InputTest, PointerInVirtualCoordinatesUpwards) {
  c.displayWidth = 1600;
  c.displayHeight = 1200;
  InputMouseMove(c, 800, 300);
  EXPECT_EQ(gui.px, 400);
  EXPECT_EQ(gui.py, 450);
  EXPECT_EQ(gui.presses, 0);
  gui.held = true;  // dragging
  InputMouseMove(c, 0, 1200);
  EXPECT_EQ(gui.px, 0);
  EXPECT_EQ(gui.py, 0);
  EXPECT_EQ(gui.presses, 1);
  c.displayWidth = 0;
  InputMouseMove(c, 5, 5);  // no display: nothing
  EXPECT_EQ(gui.px, 0);
}

}  // namespace
}  // namespace skerrow
