// The level editor window open beside the game on level 1 of the content pack, worked through
// the form's handlers and the window's own controls (clicked by their labels): a click in the
// editor view lands under the cursor, the Undo and Redo buttons take a brush stroke back and
// forth, the camera stays put while the pointer is away in the editor window, "modified" is
// kept per file, each picture button has its own file name, the font has Cyrillic letters and
// no control is cut off. The cases share one start-up and run in order (one CTest test).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_window.h"
#include "platform/vk_codes.h"
#include "shell/skerrow_form.h"
#include "support/pack_root.h"
#include "world/records.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 400, kHeight = 300;

class EditorForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!test::HavePack()) return;
    dir_ = new fs::path(test::ScratchDir("editor_form"));
    setenv("XDG_CONFIG_HOME", (*dir_ / "config").c_str(), 1);  // the editor store goes there
    CommandLine cl;
    cl.editor = true;
    cl.headless = true;
    cl.fullscreen = false;
    cl.width = kWidth;
    cl.height = kHeight;
    cl.seed = 7;
    cl.start = "1:1";
    cl.root = test::GameRoot("editor_form").string();
    form_ = new TSkerrowForm(cl);
    form_->FormCreate();
    if (!form_->ddrawInitialize() || !form_->Display().HasGL()) return;
    form_->dsoundInitialize();
    for (int k = 0; k < 8 && form_->TicksSinceStartup() < 0; ++k) form_->TimerTimer();
    if (form_->World().GameMode != game_mode::kPlay) return;
    form_->CloseHintWindow();  // a direct start opens the episode's hint
    form_->OnKeyDown(kVkSpace, 0);
    form_->OnKeyUp(kVkSpace, 0);
    if (!form_->HasEditor() || !form_->Editor().Visible()) return;
    Frames(2);
    started_ = true;
  }
  static void TearDownTestSuite() {
    delete form_;  // the editor window first, while the GL context lives
    form_ = nullptr;
    delete dir_;
    unsetenv("XDG_CONFIG_HOME");
  }
  void SetUp() override {
    if (!started_) GTEST_SKIP() << "no content pack or no offscreen GL";
  }

  // Game frames, each followed by the editor window's frame.
  static void Frames(int n) {
    for (int k = 0; k < n; ++k) form_->RenderDispatch();
  }
  static void Steps(int n) {
    for (int k = 0; k < n; ++k) form_->UpdateDispatch();
  }
  // A click on the editor window's control `label`: three frames (move, press, release) after
  // the frame that finds it.
  static void Click(const std::string& label) {
    form_->Editor().ScriptClick(label);
    Frames(5);
  }
  static WorldState& W() { return form_->World(); }
  static EditorContext Ctx() { return form_->Editor().Context(); }
  static std::vector<uint8_t> HeightMap() {
    const auto* p = &W().heightMap[0][0];
    return {p, p + sizeof W().heightMap};
  }
  // A brush stroke at the view's centre: the left button held for five editor-view steps.
  static void Stroke() {
    form_->OnMouseMove(kWidth / 2, kHeight / 2, 0);
    Frames(1);
    form_->OnMouseDown(0, kWidth / 2, kHeight / 2, 0);
    Steps(5);
    form_->OnMouseUp(0, kWidth / 2, kHeight / 2, 0);
    Steps(1);
  }

  static TSkerrowForm* form_;
  static fs::path* dir_;
  static bool started_;
};

TSkerrowForm* EditorForm::form_ = nullptr;
fs::path* EditorForm::dir_ = nullptr;
bool EditorForm::started_ = false;

TEST_F(EditorForm, AClickAtTheViewsCentreMakesTheUnitUnderTheCursor) {
  Click("Editor");
  ASSERT_EQ(W().GameMode, game_mode::kEditorView);
  Click("Set units");
  form_->OnMouseMove(kWidth / 2, kHeight / 2, 0);
  // The world point under the cursor, from a frame drawn over the whole window.
  ASSERT_TRUE(form_->WriteFrameTga((*dir_ / "view.tga").string()));
  const Vector4d under = W().mouseWorldPos;
  Click("Set units");  // the editor window draws between the game's frames
  Frames(1);
  form_->OnMouseDown(0, kWidth / 2, kHeight / 2, 0);
  form_->OnMouseUp(0, kWidth / 2, kHeight / 2, 0);
  const int32_t n = form_->Editor().Controls().unitNumber;
  ASSERT_EQ(W().units[n].alive, 1);
  EXPECT_NEAR(W().units[n].posX, under.x, 0.01);
  EXPECT_NEAR(W().units[n].posZ, under.z, 0.01);
}

TEST_F(EditorForm, TheUndoAndRedoButtonsTakeABrushStrokeBackAndForth) {
  Click("Modify terrain");
  const std::vector<uint8_t> before = HeightMap();
  Stroke();
  const std::vector<uint8_t> stroked = HeightMap();
  ASSERT_NE(stroked, before);
  Click("Undo");
  EXPECT_TRUE(HeightMap() == before);
  Click("Redo");
  EXPECT_TRUE(HeightMap() == stroked);
}

TEST_F(EditorForm, TheCameraStaysWhileThePointerIsAwayInTheEditorWindow) {
  form_->OnMouseMove(kWidth - 1, kHeight / 2, 0);  // at the right edge: scrolls
  const double x0 = W().editorCameraTarget.x;
  Steps(1);
  EXPECT_LT(W().editorCameraTarget.x, x0);
  form_->OnPointerLeave();  // on toward the editor window
  const double x1 = W().editorCameraTarget.x;
  Steps(10);
  EXPECT_EQ(W().editorCameraTarget.x, x1);
  form_->OnMouseMove(kWidth / 2, kHeight / 2, 0);
}

TEST_F(EditorForm, ModifiedIsKeptPerFileAndAModeSwitchIsNoEdit) {
  TEditform& e = form_->Editor();
  e.Controls().levelFile = (*dir_ / "level.lan").string();
  e.Controls().unitsFile = (*dir_ / "units.unt").string();
  e.Controls().bonusesFile = (*dir_ / "bonuses.bon").string();
  Click("General");
  Click("Save level");
  Click("Save units");
  Click("Save bonuses");
  ASSERT_EQ(ModifiedFiles(Ctx()), "");
  const size_t steps = e.Journal().UndoCount();
  Click("Game");
  Click("Editor");
  EXPECT_EQ(ModifiedFiles(Ctx()), "");
  EXPECT_EQ(e.Journal().UndoCount(), steps);

  // A stroke, then only the units saved: the level still differs from its file.
  Click("Modify terrain");
  Stroke();
  const std::vector<uint8_t> stroked = HeightMap();
  Click("Save units");
  EXPECT_EQ(ModifiedFiles(Ctx()), "level");
  // So a level change asks first; "No" keeps the stroke.
  Click("Go to level number");
  Click("No");
  EXPECT_TRUE(HeightMap() == stroked);
  EXPECT_EQ(ModifiedFiles(Ctx()), "level");
  // Undone, the level is as saved again.
  Click("Undo");
  EXPECT_EQ(ModifiedFiles(Ctx()), "");
}

TEST_F(EditorForm, EachPictureButtonHasAFileNameOfItsOwn) {
  TEditform& e = form_->Editor();
  const fs::path landscape = *dir_ / "landscape.bmp", collisions = *dir_ / "collisions.bmp";
  std::ofstream(landscape, std::ios::binary) << "the designer's height map";
  e.Controls().bitmapFile = landscape.string();
  e.Controls().collisionsFile = collisions.string();
  Click("General");
  Click("Write collisions");
  std::ifstream in(landscape, std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == "the designer's height map");
  const int64_t side = 2 * W().levelSize;
  ASSERT_TRUE(fs::exists(collisions));
  EXPECT_EQ(fs::file_size(collisions), static_cast<uintmax_t>(54 + side * side * 3));
}

TEST_F(EditorForm, CyrillicLettersAndEveryLabelWholeOnEveryTab) {
  if (!fs::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) {
    GTEST_SKIP() << "no DejaVu Sans";
  }
  TEditform& e = form_->Editor();
  EXPECT_TRUE(e.HasGlyph(0x0416));  // Ж
  EXPECT_TRUE(e.HasGlyph(0x0451));  // ё
  for (const char* tab : {"General", "Map", "Perfomance", "Statics", "Units", "Triggers"}) {
    SCOPED_TRACE(tab);
    Click(tab);
    EXPECT_EQ(e.CutControls(), std::vector<std::string>{});
  }
  Click("General");
}

}  // namespace
}  // namespace skerrow
