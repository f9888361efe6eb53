// The GUI font and drawing: the width table font.fnt (its limits and its absence), a Cyrillic
// caption drawn with those widths and read back, the pack's own table, and where windows land.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/gl_fixture.h"
#include "engine/textures.h"
#include "gui/gui.h"
#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/paths.h"

namespace skerrow {
namespace {

class GuiFontTest : public test::GlTest {
 protected:
  void WriteTable(const std::string& bytes) {
    std::filesystem::create_directories(TempDir() + "gdata/ata");
    test::WriteFile(TempDir() + "gdata/ata/font.fnt", bytes);
    InvalidatePathCache();
  }
};

TEST_F(GuiFontTest, TableWidthsAreCappedAtSixteenAndAShortFileLeavesZeros) {
  std::string bytes(256, '\0');
  bytes[0xC6] = 12;  // Ж
  bytes['i'] = 3;
  bytes[0xFF] = 40;  // too wide for a 16-pixel cell
  WriteTable(bytes);
  TGui gui;
  ASSERT_TRUE(LoadFont(gui, TempDir()));
  EXPECT_EQ(gui.glyphWidths[0xC6], 12);
  EXPECT_EQ(gui.glyphWidths['i'], 3);
  EXPECT_EQ(gui.glyphWidths[0xFF], 16);

  WriteTable(std::string(1, '\x05'));  // one byte: glyph 0 only
  gui.glyphWidths.fill(9);
  ASSERT_TRUE(LoadFont(gui, TempDir()));
  EXPECT_EQ(gui.glyphWidths[0], 5);
  EXPECT_EQ(gui.glyphWidths[1], 0);
}

TEST_F(GuiFontTest, MissingTableSaysSoOnce) {
  std::vector<std::string> shown;
  const platform::MessageHandler previous =
      platform::SetMessageHandler([&shown](const std::string& caption, const std::string& text) {
        shown.push_back(caption + ": " + text);
      });
  TGui gui;
  gui.glyphWidths.fill(4);
  const bool loaded = LoadFont(gui, TempDir());
  platform::SetMessageHandler(previous);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(shown, std::vector<std::string>{"Font Loader: Unable to find font.fnt"});
  EXPECT_EQ(gui.glyphWidths['A'], 0);  // empty glyphs: text still draws, as nothing
}

TEST_F(GuiFontTest, CyrillicCaptionIsDrawnGlyphByGlyphWithTheTableWidths) {
  SKIP_WITHOUT_GL();
  TGui gui;
  const std::string text = Utf8ToCp1251("Пир");
  gui.glyphWidths[static_cast<uint8_t>(text[0])] = 10;
  gui.glyphWidths[static_cast<uint8_t>(text[1])] = 7;
  gui.glyphWidths[static_cast<uint8_t>(text[2])] = 5;
  // A font picture that is opaque white everywhere: every glyph quad shows in full.
  std::vector<uint8_t> white(256 * 256 * 4, 255);
  gui.textures.font = CreateTexture(256, 256, kTexFormatRGBA, white.data(), messages_);
  ASSERT_NE(gui.textures.font, 0u);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 800, 0, 600, -1, 1);  // one unit a pixel on the 800 x 600 window
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glEnable(GL_TEXTURE_2D);
  DrawGuiText(gui, 100, 300, text);

  // Row 292 from the top lies inside the 16-unit glyphs drawn upwards from y 300.
  std::vector<std::pair<int, int>> runs;  // (first x, length) of dark red
  for (int x = 90; x < 140; ++x) {
    const auto p = Pixel(x, 292);
    const bool ink = p[0] > 40 && p[0] < 60 && p[1] == 0 && p[2] == 0;
    if (!ink) continue;
    if (!runs.empty() && runs.back().first + runs.back().second == x) {
      ++runs.back().second;
    } else {
      runs.push_back({x, 1});
    }
  }
  // Each glyph its own width, one unit apart.
  const std::vector<std::pair<int, int>> expected = {{100, 10}, {111, 7}, {119, 5}};
  EXPECT_EQ(runs, expected);
  // The colour is opaque white again afterwards.
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0], 1.0f);
  EXPECT_EQ(colour[3], 1.0f);
  DeleteTexture(gui.textures.font);
}

TEST(PackFont, EveryCyrillicLetterHasAGlyphNarrowerThanItsCell) {
  const std::string file = std::string(SKERROW_BINARY_DIR) + "/gdata/ata/font.fnt";
  std::ifstream in(file, std::ios::binary);
  if (!in) GTEST_SKIP() << "no content pack";
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 256u);
  for (int c = 0xC0; c <= 0xFF; ++c) {  // А .. я
    EXPECT_GT(bytes[c], 0) << c;
    EXPECT_LE(bytes[c], 16) << c;
  }
  EXPECT_GT(bytes[0xD8], bytes['i']);  // Ш is wider than i
  EXPECT_EQ(bytes[7], 0);              // control codes draw nothing
}

}  // namespace
}  // namespace skerrow

namespace skerrow {
namespace {

using GuiDrawTest = test::GlTest;

TEST_F(GuiDrawTest, VisibleWindowsCoverTheirRectangleBelowTheTopBand) {
  SKIP_WITHOUT_GL();
  TGui gui;  // no textures: every piece is drawn plain white at the window's alpha
  InitWindow(gui.windows.options, 100, 100, 150, 200);
  InitWindow(gui.windows.mainMenu, 500, 300, 100, 120);
  HideWindow(gui, gui.windows.mainMenu);
  DrawGUI(gui);
  // On the 800 x 600 window a GUI unit is a pixel: the options window spans x 100..300 and,
  // from the top of the screen, y 126..276 (26 + its y).
  const auto lit = [](int x, int y) { return Pixel(x, y)[0] > 100; };
  EXPECT_TRUE(lit(101, 127));
  EXPECT_TRUE(lit(298, 274));
  EXPECT_FALSE(lit(98, 200));
  EXPECT_FALSE(lit(302, 200));
  EXPECT_FALSE(lit(200, 124));
  EXPECT_FALSE(lit(200, 278));
  EXPECT_FALSE(lit(560, 376));  // the hidden main menu
}

}  // namespace
}  // namespace skerrow
