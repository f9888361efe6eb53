// The save and load window and the in-game menu with the mouse, through the form's own press and
// release handlers on the content pack: browsing wraps in the window's caption, loading from the
// main menu reaches play at the saved place, deleting empties the slot, a refused save leaves
// the menu as it was, "Начать заново" goes back to the save, and a new game's opening hint.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/vk_codes.h"
#include "shell/skerrow_form.h"
#include "support/file_bytes.h"
#include "support/pack_root.h"
#include "world/save_game.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

using test::GameRoot;
using test::HavePack;

// The game on `root` after start-up at 800 x 600: the menu, or with `slot` a game started in
// level 1 of episode 1 that saved into that slot.
std::unique_ptr<TSkerrowForm> RunGame(const fs::path& root, int slot = 0) {
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 0;
  cl.root = root.string();
  cl.fullscreen = false;
  cl.width = 800;
  cl.height = 600;
  if (slot != 0) {
    cl.start = "1:1";
    cl.slot = slot;
  }
  auto form = std::make_unique<TSkerrowForm>(cl, platform::CreateNullWindow());
  EXPECT_EQ(form->Run(), 0);
  return form;
}

// A left click at a point of the GUI space (x to the right, y downwards from the screen's top),
// as window pixels of the form's display: move, press, release.
void ClickAt(TSkerrowForm& form, int gx, int gyDown) {
  const int w = form.Display().Width(), h = form.Display().Height();
  const int x = gx * w / kGuiWidth, y = gyDown * h / kGuiHeight;
  form.FormMouseMove(x, y);
  form.FormMouseDown(platform::kMouseLeft, x, y);
  form.FormMouseUp(platform::kMouseLeft, x, y);
}

// A left click on the middle of button `index` of `window`.
void Click(TSkerrowForm& form, const TWindow& window, int index) {
  const TButton& b = window.buttons[index];
  ClickAt(form, window.x + b.x + b.width / 2, kGuiTopBand + window.y + b.y + b.height / 2);
}

GuiWindows& Windows(TSkerrowForm& form) {
  return form.Interface().gui.windows;
}

std::string Text(const TWindow& window, int index) {
  return Cp1251ToUtf8(window.texts[index].caption);
}

// Closes the hints a new game of level 1 opens (the episode's), as a player would: a click on
// the hint window's only button (1), "Продолжить игру". Esc does nothing while a hint is open.
void CloseHints(TSkerrowForm& form) {
  for (int i = 0; i < 4 && Windows(form).hintWindow.visible == 1; ++i)
    Click(form, Windows(form).hintWindow, 1);
  EXPECT_EQ(+Windows(form).hintWindow.visible, 0);
}

// Main menu and in-game menu buttons by their place.
constexpr int kNewGameButton = 1, kLoadGameButton = 2;    // main menu
constexpr int kRestartButton = 2, kInGameLoadButton = 3;  // in-game menu

TEST(SlotWindowClicks, BrowsingWrapsBetweenSlotOneAndNinetyNineInTheCaption) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  auto form = RunGame(GameRoot("browse"));
  GuiWindows& g = Windows(*form);
  ASSERT_EQ(+g.mainMenu.visible, 1);
  Click(*form, g.mainMenu, kLoadGameButton);
  ASSERT_EQ(+g.saveLoad.visible, 1);
  EXPECT_EQ(+g.mainMenu.visible, 0);
  EXPECT_EQ(Cp1251ToUtf8(g.saveLoad.buttons[kSlotActionButton].caption), "Загрузить");
  EXPECT_EQ(Text(g.saveLoad, kSlotNumberText), "Номер сохранения : 1");
  const struct {
    int button;
    const char* caption;
  } kSteps[] = {{kSlotPreviousButton, "Номер сохранения : 99"},
                {kSlotPreviousButton, "Номер сохранения : 98"},
                {kSlotNextButton, "Номер сохранения : 99"},
                {kSlotNextButton, "Номер сохранения : 1"},
                {kSlotNextButton, "Номер сохранения : 2"}};
  for (const auto& step : kSteps) {
    Click(*form, g.saveLoad, step.button);
    EXPECT_EQ(Text(g.saveLoad, kSlotNumberText), step.caption);
  }
  // Every slot is empty: its description lines are too.
  for (int i = 0; i < kDescriptionLines; ++i) EXPECT_EQ(Text(g.saveLoad, i), "") << i;
}

TEST(SlotWindowClicks, LoadingFromTheMainMenuReachesPlayAtTheSavedPlace) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path root = GameRoot("route");
  double x = 0, z = 0;
  {
    auto first = RunGame(root, 7);
    const WorldState& w = first->World();
    x = w.units[w.playerUnit].posX;
    z = w.units[w.playerUnit].posZ;
  }
  auto second = RunGame(root);
  GuiWindows& g = Windows(*second);
  Click(*second, g.mainMenu, kLoadGameButton);
  for (int i = 0; i < 6; ++i) Click(*second, g.saveLoad, kSlotNextButton);
  EXPECT_EQ(Text(g.saveLoad, kSlotNumberText), "Номер сохранения : 7");
  EXPECT_EQ(Text(g.saveLoad, 0), "Игрок : Эдвард");
  EXPECT_EQ(Text(g.saveLoad, 2), "Эпизод : Заманчивые тропики, Уровень : 1");
  Click(*second, g.saveLoad, kSlotActionButton);
  const WorldState& w = second->World();
  EXPECT_EQ(w.GameMode, game_mode::kPlay);
  EXPECT_EQ(w.saveSlot, 7);
  EXPECT_EQ(w.levelNumber, 1);
  EXPECT_DOUBLE_EQ(w.units[w.playerUnit].posX, x);
  EXPECT_DOUBLE_EQ(w.units[w.playerUnit].posZ, z);
  // No window is left to hold play: the next step runs.
  EXPECT_EQ(+g.saveLoad.visible, 0);
  EXPECT_EQ(+g.mainMenu.visible, 0);
  EXPECT_FALSE(PlayWindowOpen(second->Interface()));
  const double frame = w.hudAnimFrame;
  second->UpdateDispatch();
  EXPECT_NE(w.hudAnimFrame, frame);
}

TEST(SlotWindowClicks, DeleteRemovesTheSlotsThreeFilesAndTheWindowShowsItEmpty) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path root = GameRoot("delete");
  auto form = RunGame(root, 7);
  CloseHints(*form);
  GuiWindows& g = Windows(*form);
  // In play: Esc, then the in-game menu's "Загрузить игру".
  form->FormKeyDown(kVkEscape, 0);
  form->FormKeyUp(kVkEscape, 0);
  ASSERT_EQ(+g.inGameMenu.visible, 1);
  Click(*form, g.inGameMenu, kInGameLoadButton);
  EXPECT_EQ(+g.inGameMenu.visible, 0);
  for (int i = 0; i < 6; ++i) Click(*form, g.saveLoad, kSlotNextButton);
  EXPECT_EQ(Text(g.saveLoad, 0), "Игрок : Эдвард");
  Click(*form, g.saveLoad, kSlotDeleteButton);
  for (const char* ext : {".qvs", ".tga", ".txt"}) {
    EXPECT_FALSE(fs::exists(root / "gdata" / "savegame" / ("slot7" + std::string(ext)))) << ext;
  }
  ASSERT_EQ(+g.saveLoad.visible, 1);
  EXPECT_EQ(Text(g.saveLoad, kSlotNumberText), "Номер сохранения : 7");
  for (int i = 0; i < kDescriptionLines; ++i) EXPECT_EQ(Text(g.saveLoad, i), "") << i;
  // "Загрузить" on the emptied slot does nothing: the window stays, the game goes on.
  Click(*form, g.saveLoad, kSlotActionButton);
  EXPECT_EQ(+g.saveLoad.visible, 1);
  EXPECT_EQ(form->World().GameMode, game_mode::kPlay);
}

TEST(SlotWindowClicks, ARefusedSaveShowsItsMessageAndLeavesTheMenuAsItWas) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path root = GameRoot("hostile");
  RunGame(root, 7);
  const fs::path qvs = root / "gdata" / "savegame" / "slot7.qvs";
  std::vector<uint8_t> bytes = test::ReadFileBytes(qvs);
  bytes.resize(bytes.size() - 1);
  test::WriteFileBytes(qvs, bytes);
  auto form = RunGame(root);
  GuiWindows& g = Windows(*form);
  Click(*form, g.mainMenu, kLoadGameButton);
  for (int i = 0; i < 6; ++i) Click(*form, g.saveLoad, kSlotNextButton);
  std::vector<std::string> shown;
  const platform::MessageHandler previous = platform::SetMessageHandler(
      [&shown](const std::string&, const std::string& text) { shown.push_back(text); });
  Click(*form, g.saveLoad, kSlotActionButton);
  platform::SetMessageHandler(previous);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("slot7.qvs"), std::string::npos) << shown[0];
  const WorldState& w = form->World();
  EXPECT_EQ(w.GameMode, game_mode::kMenu);
  EXPECT_EQ(w.menuScreen, menu_screen::kMain);
  EXPECT_EQ(w.saveSlot, 0);
  EXPECT_EQ(+g.saveLoad.visible, 1);
  EXPECT_EQ(Text(g.saveLoad, kSlotNumberText), "Номер сохранения : 7");
}

TEST(SlotWindowClicks, LoadingInPlayHidesTheInGameMenuEscOpenedOverTheWindow) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  auto form = RunGame(GameRoot("over"), 7);
  CloseHints(*form);
  GuiWindows& g = Windows(*form);
  form->FormKeyDown(kVkEscape, 0);
  Click(*form, g.inGameMenu, kInGameLoadButton);
  for (int i = 0; i < 6; ++i) Click(*form, g.saveLoad, kSlotNextButton);
  form->FormKeyDown(kVkEscape, 0);
  ASSERT_EQ(+g.inGameMenu.visible, 1);
  Click(*form, g.saveLoad, kSlotActionButton);
  EXPECT_EQ(+g.saveLoad.visible, 0);
  EXPECT_EQ(+g.inGameMenu.visible, 0);
  EXPECT_FALSE(PlayWindowOpen(form->Interface()));
}

TEST(InGameMenuClicks, RestartGoesBackToTheSavedPlace) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  auto form = RunGame(GameRoot("restart_click"), 7);
  CloseHints(*form);
  WorldState& w = form->World();
  UnitRecord& player = w.units[w.playerUnit];
  const double x = player.posX;
  player.posX += 40.0;
  GuiWindows& g = Windows(*form);
  form->FormKeyDown(kVkEscape, 0);
  form->FormKeyUp(kVkEscape, 0);
  Click(*form, g.inGameMenu, kRestartButton);
  EXPECT_DOUBLE_EQ(w.units[w.playerUnit].posX, x);
  EXPECT_EQ(+g.inGameMenu.visible, 0);
}

// A game folder whose hints folder holds only the episode's opening hint (`opening`) or is
// empty: the pack's own hints are left out.
fs::path RootWithHints(const std::string& name, bool opening) {
  const fs::path root = GameRoot(name);
  const fs::path ata = root / "gdata" / "ata";
  fs::remove(ata);
  fs::create_directories(ata / "hints");
  for (const fs::directory_entry& e : fs::directory_iterator(test::kPackGdata / "ata")) {
    if (e.path().filename() != "hints") fs::create_symlink(e.path(), ata / e.path().filename());
  }
  if (opening) {
    std::ofstream(ata / "hints" / "Whint1.txt", std::ios::binary) << "Line one\r\nLine two\r\n";
  }
  InvalidatePathCache();
  return root;
}

fs::path RootWithOpeningHint(const std::string& name) {
  return RootWithHints(name, true);
}

// From the main menu to level 1 with clicks alone: "Новая игра", "Выбрать" (slot 1), hero 1,
// ship 1, and a click that skips the intro.
void NewGameByClicks(TSkerrowForm& form) {
  GuiWindows& g = Windows(form);
  Click(form, g.mainMenu, kNewGameButton);
  Click(form, g.saveLoad, kSlotActionButton);
  ClickAt(form, 144, 138);  // 18 %, 23 %: hero 1
  ClickAt(form, 144, 216);  // 18 %, 36 %: ship 1
  ClickAt(form, 400, 300);  // the intro
}

TEST(NewGameClicks, TheOpeningHintFollowsTheFirstSaveAndGreetsThePlayer) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path hinted = RootWithOpeningHint("opening_hint"),
                 plain = RootWithHints("no_hint", false);
  auto form = RunGame(hinted);
  NewGameByClicks(*form);
  ASSERT_EQ(form->World().GameMode, game_mode::kPlay);
  ASSERT_TRUE(form->HintOpen());
  const std::string greeting = "Добро пожаловать на борт, капитан Эдвард!";
  EXPECT_EQ(Cp1251ToUtf8(form->Hint().lines[0]), greeting);
  EXPECT_EQ(form->Hint().lines[1], "Line two");
  const TWindow& hintWindow = Windows(*form).hintWindow;
  EXPECT_EQ(+hintWindow.visible, 1);
  EXPECT_EQ(Text(hintWindow, 0), greeting);
  EXPECT_EQ(Text(hintWindow, 1), "Line two");
  // The settling steps before the first save ran with no hint to hold them: the water drifted
  // in the save as far as in a game without the hint.
  auto withoutHint = RunGame(plain);
  NewGameByClicks(*withoutHint);
  EXPECT_FALSE(withoutHint->HintOpen());
  ASSERT_TRUE(form->FinishSaves());
  ASSERT_TRUE(withoutHint->FinishSaves());
  const auto savedDrift = [](const fs::path& root) {
    auto saved = std::make_unique<SavedState>();
    EXPECT_EQ(ReadSaveSlot(root.string() + "/", 1, *saved).status, SlotLoad::kLoaded);
    return saved->waterOriginX;
  };
  EXPECT_EQ(savedDrift(hinted), savedDrift(plain));
}

// A new game on the pack: the opening hint first, then level 1's steering hint (raised by the
// settling steps on the start point, or met soon after it), none lost to the other. The first
// save waited for no window: the water drifted in it as far as in a game without hints, so its
// thumbnail was taken of the sea.
TEST(NewGameClicks, TheOpeningHintComesFirstThenTheSteeringHint) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path root = GameRoot("hint_order");
  auto form = RunGame(root);
  NewGameByClicks(*form);
  ASSERT_EQ(form->World().GameMode, game_mode::kPlay);
  ASSERT_TRUE(form->HintOpen());
  EXPECT_EQ(Cp1251ToUtf8(form->Hint().lines[0]), "Добро пожаловать на борт, капитан Эдвард!");
  const TWindow& hintWindow = Windows(*form).hintWindow;
  Click(*form, hintWindow, 1);
  form->OnKeyDown(kVkUp, 0);
  for (int i = 0; i < 500 && !form->HintOpen(); ++i) form->UpdateDispatch();
  form->OnKeyUp(kVkUp, 0);
  ASSERT_TRUE(form->HintOpen());
  std::ifstream steering(test::kPackGdata / "ata" / "hints" / "hint2.txt", std::ios::binary);
  std::string first;
  std::getline(steering, first);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  EXPECT_EQ(form->Hint().lines[0], first);
  ASSERT_TRUE(form->FinishSaves());

  const fs::path plainRoot = RootWithHints("hint_order_plain", false);
  auto plain = RunGame(plainRoot);
  NewGameByClicks(*plain);
  ASSERT_TRUE(plain->FinishSaves());
  const auto savedDrift = [](const fs::path& at) {
    auto saved = std::make_unique<SavedState>();
    EXPECT_EQ(ReadSaveSlot(at.string() + "/", 1, *saved).status, SlotLoad::kLoaded);
    return std::make_pair(saved->waterOriginX, saved->waterOriginZ);
  };
  EXPECT_EQ(savedDrift(root), savedDrift(plainRoot));
}

TEST(NewGameClicks, AHintLetsGoOfAPressBegunBeforeIt) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path root = RootWithOpeningHint("held");
  auto form = RunGame(root);
  form->Interface().gui.pointer.held = 1;
  ASSERT_TRUE(form->ShowHint(root.string() + "/gdata/ata/hints/Whint1.txt", ""));
  EXPECT_EQ(+form->Interface().gui.pointer.held, 0);
}

// Every way the hint window offers out of it (its button, its close box, a controller's B)
// closes the one hint flag there is: Up held afterwards moves the ship.
TEST(HintClicks, EveryWayOutOfTheHintLetsPlayGoOn) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  const fs::path root = RootWithOpeningHint("hint_ways");
  auto form = RunGame(root, 7);
  CloseHints(*form);
  WorldState& w = form->World();
  const TWindow& hint = Windows(*form).hintWindow;
  const auto padB = [&] {
    platform::PadState pad;
    pad.b = 1;
    form->PadInput(pad, 40);
    form->PadInput(platform::PadState{}, 40);
  };
  const struct {
    const char* way;
    std::function<void()> close;
  } kWays[] = {
      {"button", [&] { Click(*form, hint, 1); }},
      {"close box",
       [&] { ClickAt(*form, hint.x + hint.width - 14, kGuiTopBand + hint.y + 16); }},
      {"controller's B", padB},
  };
  for (const auto& c : kWays) {
    SCOPED_TRACE(c.way);
    ASSERT_TRUE(form->ShowHint(root.string() + "/gdata/ata/hints/Whint1.txt", ""));
    ASSERT_TRUE(PlayWindowOpen(form->Interface()));
    c.close();
    EXPECT_FALSE(form->HintOpen());
    EXPECT_FALSE(PlayWindowOpen(form->Interface()));
    const UnitRecord& p = w.units[w.playerUnit];
    const double x = p.posX, z = p.posZ;
    form->OnKeyDown(kVkUp, 0);
    for (int i = 0; i < 60; ++i) form->UpdateDispatch();
    form->OnKeyUp(kVkUp, 0);
    EXPECT_GT(std::hypot(p.posX - x, p.posZ - z), 0.5);
  }
}

}  // namespace
}  // namespace skerrow
