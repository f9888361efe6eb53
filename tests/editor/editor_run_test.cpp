// One run of the game with -EDITOR through its scripted input: Space opens the editor window
// (its frame shows the tabs), "Editor" and "Modify terrain" are clicked, a mouse drag raises
// the sea floor, "Save level" writes the land file, a second drag changes it again, and "Load
// level" (after the question about unsaved changes) brings back the saved bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
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

const std::string kBin = std::string(SKERROW_BINARY_DIR) + "/";
const fs::path kLand1 =
    fs::path(kBin) / "gdata" / "Worlds" / "Заманчивые тропики" / "Data" / "Land1.lan";

// Runs the game with -EDITOR on level 1 at `width` x `height` in `dir`, its editor store holding
// `store` (lines of its section), the script `script` after the clicks that close level 1's
// opening hints; `--ticks` `ticks` and the saved block dumped to dir/state.qvs. The exit code.
int RunEditor(const fs::path& dir, const std::string& store, const std::string& script, int width,
              int height, int ticks) {
  fs::create_directories(dir / "cfg" / "skerrow");
  std::ofstream(dir / "cfg" / "skerrow" / "editor.ini") << "[SkerrowEditor settings]\n" << store;
  std::ofstream(dir / "script.txt") << HintClicks(width, height, {2, 12}) << script;
  const std::string cmd =
      "cd " + dir.string() + " && env -u DISPLAY XDG_CONFIG_HOME=" + (dir / "cfg").string() +
      " SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null LP_NUM_THREADS=0"
      " SKERROW_EDITOR_SCREENSHOT=editor.tga " +
      kBin + "skerrow -EDITOR --headless --start 1:1 --size " + std::to_string(width) + "x" +
      std::to_string(height) + " --input script.txt --ticks " + std::to_string(ticks) +
      " --dump-state state.qvs > out.txt 2>&1";
  return std::system(cmd.c_str());
}

// The editor window's controls the script clicks, by label, from tick 20 on: the hints of level 1
// pause play and cover the game window until they are closed.
constexpr const char* kScript =
    R"(# level 1 opens with the episode's and the tutorial's hints: closed first (HintClicks)
# open the editor, switch to the editor view with the terrain brush
20 key-down 32
21 key-up 32
23 editor-button Editor
28 editor-button Modify terrain
32 mouse-move 400 300
33 mouse-down 0
40 mouse-up 0
# Save level, drag again, Load level, answer Yes
44 editor-button Save level
50 mouse-down 0
54 mouse-up 0
58 editor-button Load level
64 editor-button Yes
)";

TEST(EditorRun, SpaceOpensTheEditorAndABrushDragIsSavedAndLoadedBack) {
  const fs::path& land1 = kLand1;
  if (!fs::exists(kBin + "skerrow") || !fs::exists(land1)) GTEST_SKIP() << "no game or pack";
  const fs::path dir = ScratchDir("editor_run");
  const fs::path saved = dir / "saved.lan";
  ASSERT_EQ(RunEditor(dir, "levelfilenames_Text=" + saved.string() + "\n", kScript, 800, 600, 68),
            0);

  // The editor window was drawn: its frame is the window's size (818 high, or the offscreen
  // desktop's height when that is lower).
  const std::vector<uint8_t> shot = ReadAll(dir / "editor.tga");
  ASSERT_GE(shot.size(), 18u);
  EXPECT_EQ(shot[12] | shot[13] << 8, 400);
  EXPECT_GE(shot[14] | shot[15] << 8, 480);
  EXPECT_LE(shot[14] | shot[15] << 8, 818);
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

// A run at 400 x 300 through the window's buttons and scripted Ctrl: a brush stroke at the view's
// centre, "Undo" (the level saved then holds the pack's height map byte for byte), "Redo"; a
// unit and, once the camera has come to it, a bonus, both clicked at the centre; "Save units",
// "Save bonuses"; then Ctrl+Z in the game window takes the bonus back.
constexpr const char* kUndoScript =
    R"(20 key-down 32
21 key-up 32
23 editor-button Editor
27 editor-button Modify terrain
31 mouse-move 200 150
32 mouse-down 0
38 mouse-up 0
41 editor-button Undo
45 editor-button Save level
49 editor-button Redo
53 editor-button Set units
57 mouse-down 0
57 mouse-up 0
# the camera glides to the new unit; then a bonus at the centre
90 editor-button Set bonuses
94 mouse-down 0
94 mouse-up 0
97 editor-button Save units
101 editor-button Save bonuses
# Ctrl+Z in the game window
106 key-down 17
107 key-down 90
108 key-up 90
109 key-up 17
)";

TEST(EditorRun, ButtonsUndoAndRedoAStrokeAndClicksPlaceAUnitAndABonusUnderTheCursor) {
  const fs::path& land1 = kLand1;
  if (!fs::exists(kBin + "skerrow") || !fs::exists(land1)) GTEST_SKIP() << "no game or pack";
  const fs::path dir = ScratchDir("editor_run_undo");
  const std::string store = "levelfilenames_Text=" + (dir / "undone.lan").string() +
                            "\nunitsfileanmes_Text=" + (dir / "units.unt").string() +
                            "\nbonusesfilenames_Text=" + (dir / "bonuses.bon").string() + "\n";
  ASSERT_EQ(RunEditor(dir, store, kUndoScript, 400, 300, 112), 0);
  const std::vector<uint8_t> original = ReadAll(land1);
  const std::vector<uint8_t> undone = ReadAll(dir / "undone.lan");
  const std::vector<uint8_t> bytes = ReadAll(dir / "state.qvs");
  ASSERT_EQ(bytes.size(), kSavedBlockSize);
  ASSERT_EQ(undone.size(), kLandRangeSize);
  auto s = std::make_unique<SavedState>();
  std::memcpy(s.get(), bytes.data(), bytes.size());

  // Undone: the height map of the pack's level, byte for byte; redone: the stroke is back.
  const size_t cells = size_t{kMapSize} * kMapSize;
  EXPECT_TRUE(std::equal(original.begin(), original.begin() + cells, undone.begin()));
  const uint8_t* now = &s->heightMap[0][0];
  int raised = 0;
  for (size_t i = 0; i < cells; ++i) raised += now[i] > original[i];
  EXPECT_GT(raised, 20);

  // The unit and the bonus saved in their files, the bonus where the centre of the view was
  // once the camera stood 9.7 south of the unit: on the sea at y = 0 along the camera's axis.
  std::vector<uint8_t> units = ReadAll(dir / "units.unt"), bonuses = ReadAll(dir / "bonuses.bon");
  ASSERT_EQ(units.size(), sizeof s->units);
  ASSERT_EQ(bonuses.size(), sizeof s->bonuses);
  const auto* savedUnits = reinterpret_cast<const UnitRecord*>(units.data());
  const auto* savedBonuses = reinterpret_cast<const BonusRecord*>(bonuses.data());
  int32_t u = 0, b = 0;
  // The new unit: alive in the saved file but not in the level's own.
  const std::vector<uint8_t> levelUnits = ReadAll(land1.parent_path() / "normal1.unt");
  ASSERT_EQ(levelUnits.size(), sizeof s->units);
  const auto* packUnits = reinterpret_cast<const UnitRecord*>(levelUnits.data());
  for (int32_t i = 1; i < kUnitSlots && u == 0; ++i)
    if (savedUnits[i].alive == 1 && packUnits[i].alive != 1 && i != s->playerUnit) u = i;
  for (int32_t i = 1; i < kBonusSlots; ++i)
    if (savedBonuses[i].alive == 1 && s->bonuses[i].alive != 1) b = i;  // undone by Ctrl+Z
  ASSERT_NE(u, 0) << "no new unit";
  ASSERT_NE(b, 0) << "no bonus saved and then undone";
  const double pitch = s->cameraRot.x, yaw = s->cameraRot.y;
  const double height = s->units[s->playerUnit].posY + 8.8;
  const double along = -height / std::sin(pitch) * std::cos(pitch);
  EXPECT_NEAR(savedBonuses[b].posX, savedUnits[u].posX + along * std::sin(yaw), 1.0);
  EXPECT_NEAR(savedBonuses[b].posZ, savedUnits[u].posZ - 9.7 + along * std::cos(yaw), 1.0);
}

}  // namespace
}  // namespace skerrow::test
