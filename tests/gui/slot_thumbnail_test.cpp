// The save and load window's thumbnail with a graphics context: a used slot shows its .tga, an
// empty one empty.qvt, and browsing releases each thumbnail before the next, so the number of
// live textures stays put.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/gl_fixture.h"
#include "engine/textures.h"
#include "gui/interface.h"
#include "gui/model_slots.h"
#include "gui/slot_actions.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

using SlotThumbnailTest = test::GlTest;

// An uncompressed 24-bit 2 x 2 TGA, all blue.
std::string BlueTga() {
  std::string bytes(18, '\0');
  bytes[2] = 2;                                                         // true colour
  bytes[12] = bytes[14] = 2;                                            // width, height
  bytes[16] = 24;                                                       // bits per pixel
  for (int i = 0; i < 4; ++i) bytes += std::string("\xFF\x00\x00", 3);  // B, G, R
  return bytes;
}

TEST_F(SlotThumbnailTest, UsedSlotsShowTheirTgaEmptyOnesEmptyQvtAndBrowsingLeaksNothing) {
  SKIP_WITHOUT_GL();
  const std::string root = TempDir();
  for (const char* dir : {"gdata/ata", "gdata/savegame", "gdata/textures/int"}) {
    fs::create_directories(root + dir);
  }
  test::WriteFile(root + "gdata/ata/font.fnt", std::string(256, '\6'));
  test::WriteFile(root + "gdata/savegame/slot1.tga", BlueTga());
  test::WriteFile(root + "gdata/savegame/slot2.tga", BlueTga());
  test::WriteFile(root + "gdata/savegame/slot1.txt", Utf8ToCp1251("Игрок : Анна\r\n"));
  // A description line far longer than the window: cut to the description panel.
  test::WriteFile(root + "gdata/savegame/slot2.txt",
                  Utf8ToCp1251("Игрок : ") + std::string(300, 'x') + "\r\n");
  std::vector<uint8_t> red;  // 4 x 4: the straight reader takes rows of whole 4-byte words
  for (int i = 0; i < 16; ++i) red.insert(red.end(), {255, 0, 0});
  test::WriteBmp24(root + "gdata/textures/int/empty.qvt", 4, 4, red);
  InvalidatePathCache();
  auto world = std::make_unique<WorldState>();
  WorldState& w = *world;
  w.appPath = root;
  w.browseSlot = 1;
  test::ModelSlots host;
  host.world = &w;
  TInterface ui;
  BuildInterface(ui, w, host, 0, 0, false);
  ui.withGL = true;  // the thumbnails only: the window's own art stays untextured
  OpenSlotWindow(ui, SlotMode::kLoad);
  const TWindow& window = ui.gui.windows.saveLoad;
  EXPECT_EQ(Cp1251ToUtf8(window.texts[0].caption), "Игрок : Анна");
  const uint32_t& thumbnail = window.pictures[kSlotThumbnailPicture].texture;
  ASSERT_NE(thumbnail, 0u);
  // The picture's middle on the 800 x 600 screen: window 115, 120 and picture 25, 50 (160 x
  // 120) below the 26-unit band.
  const auto middle = [&ui]() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawGUI(ui.gui);
    return Pixel(115 + 25 + 80, 26 + 120 + 50 + 60);
  };
  std::array<int, 3> rgb = middle();
  EXPECT_GT(rgb[2], rgb[0] + 100) << "slot 1's blue thumbnail";
  const int textures = RegisteredTextureCount();
  const struct {
    void (*press)(TInterface&);
    int slot;
    bool used;
  } kSteps[] = {{NextSlot, 2, true},     {NextSlot, 3, false},      {PreviousSlot, 2, true},
                {PreviousSlot, 1, true}, {PreviousSlot, 99, false}, {NextSlot, 1, true}};
  for (const auto& step : kSteps) {
    step.press(ui);
    ASSERT_EQ(w.browseSlot, step.slot);
    EXPECT_LE(GuiTextWidth(ui.gui, window.texts[0].caption), 315) << step.slot;
    EXPECT_NE(thumbnail, 0u) << step.slot;
    EXPECT_EQ(RegisteredTextureCount(), textures) << "slot " << step.slot;
    rgb = middle();
    if (step.used) {
      EXPECT_GT(rgb[2], rgb[0] + 100) << "slot " << step.slot << "'s thumbnail";
    } else {
      EXPECT_GT(rgb[0], rgb[2] + 100) << "empty.qvt for slot " << step.slot;
    }
  }
}

}  // namespace
}  // namespace skerrow
