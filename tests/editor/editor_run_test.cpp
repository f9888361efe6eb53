// One run of the game with -EDITOR through its scripted input: Space opens the editor window
// (its frame shows the tabs), "Editor" and "Modify terrain" are clicked, a mouse drag raises
// the sea floor, "Save level" writes the land file, a second drag changes it again, and "Load
// level" (after the question about unsaved changes) brings back the saved bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/hint_clicks.h"
#include "support/temp_dir.h"
#include "world/records.h"

namespace skerrow::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Editor window pixels of the controls the script clicks (the window's fixed layout), from tick
// 20 on: the hints of level 1 pause play and cover the game window until they are closed.
constexpr const char* kScript =
    R"(# level 1 opens with the episode's and the tutorial's hints: closed first (HintClicks)
# open the editor, switch to the editor view with the terrain brush
20 key-down 32
21 key-up 32
23 editor-click 120 18
28 editor-click 18 57
32 mouse-move 400 300
33 mouse-down 0
40 mouse-up 0
# Save level, drag again, Load level, answer Yes
44 editor-click 205 229
50 mouse-down 0
54 mouse-up 0
58 editor-click 290 229
62 editor-click 42 434
)";

TEST(EditorRun, SpaceOpensTheEditorAndABrushDragIsSavedAndLoadedBack) {
  const std::string bin = std::string(SKERROW_BINARY_DIR) + "/";
  const fs::path land1 =
      fs::path(bin) / "gdata" / "Worlds" / "Заманчивые тропики" / "Data" / "Land1.lan";
  if (!fs::exists(bin + "skerrow") || !fs::exists(land1)) GTEST_SKIP() << "no game or pack";
  const fs::path dir = ScratchDir("editor_run");
  fs::create_directories(dir / "cfg" / "skerrow");
  const fs::path saved = dir / "saved.lan";
  {
    std::ofstream store(dir / "cfg" / "skerrow" / "editor.ini");
    store << "[SkerrowEditor settings]\nlevelfilenames_Text=" << saved.string() << "\n";
    std::ofstream script(dir / "script.txt");
    script << HintClicks(800, 600, {2, 12}) << kScript;
  }
  const std::string cmd = "cd " + dir.string() +
                          " && env -u DISPLAY XDG_CONFIG_HOME=" + (dir / "cfg").string() +
                          " SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null LP_NUM_THREADS=0"
                          " SKERROW_EDITOR_SCREENSHOT=editor.tga " +
                          bin + "skerrow -EDITOR --headless --start 1:1 --size 800x600" +
                          " --input script.txt --ticks 68 --dump-state state.qvs > out.txt 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

  // The editor window was drawn: its frame is the window's size.
  const std::vector<uint8_t> shot = ReadAll(dir / "editor.tga");
  ASSERT_GE(shot.size(), 18u);
  EXPECT_EQ(shot[12] | shot[13] << 8, 347);
  EXPECT_EQ(shot[14] | shot[15] << 8, 818);
  // ... and holds the controls: many colours, not a cleared window.
  std::vector<bool> seen(1 << 24, false);
  int colours = 0;
  for (size_t i = 18; i + 2 < shot.size(); i += 3) {
    const size_t c = shot[i] | shot[i + 1] << 8 | size_t{shot[i + 2]} << 16;
    colours += !seen[c];
    seen[c] = true;
  }
  EXPECT_GT(colours, 16);

  // The drag raised the floor of level 1 and lowered nothing.
  const std::vector<uint8_t> original = ReadAll(land1);
  const std::vector<uint8_t> level = ReadAll(saved);
  ASSERT_EQ(level.size(), kLandRangeSize);
  ASSERT_EQ(original.size(), kLandRangeSize);
  int raised = 0;
  for (size_t i = 0; i < size_t{kMapSize} * kMapSize; ++i) {
    ASSERT_GE(level[i], original[i]) << i;
    raised += level[i] > original[i];
  }
  EXPECT_GT(raised, 20);

  // The level loaded back over the second drag holds the saved bytes again.
  const std::vector<uint8_t> state = ReadAll(dir / "state.qvs");
  ASSERT_EQ(state.size(), kSavedBlockSize);
  EXPECT_TRUE(std::equal(level.begin(), level.end(), state.begin() + kLandRangeBegin));
  // The store was written back with the file name.
  const std::vector<uint8_t> store = ReadAll(dir / "cfg" / "skerrow" / "editor.ini");
  EXPECT_NE(std::string(store.begin(), store.end()).find(saved.string()), std::string::npos);
}

}  // namespace
}  // namespace skerrow::test
