// The windows' actions and the menu screens in-process, without graphics: the first click,
// the options window, the in-play windows, credits, hero and ship choice with their default
// names, the intro's length, the outro's click, and hostile values from a save.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/interface.h"
#include "gui/model_slots.h"
#include "gui/slot_actions.h"
#include "platform/cp1251.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

class RecordingHost : public test::ModelSlots {
 public:
  std::vector<std::string> music;
  std::vector<int32_t> sounds;  // every flat sound, in order
  int clicks = 0, newGames = 0, landscapes = 0, quits = 0, reloads = 0, voiceStops = 0,
      hintCloses = 0;
  OptionBoxes stored;
  bool storedOnce = false;
  void PlayFlat(int32_t sound) override {
    sounds.push_back(sound);
    clicks += sound == 18;
  }
  void PlayMusic(const std::string& path) override { music.push_back(Cp1251ToUtf8(path)); }
  void CloseMainWindow() override { ++quits; }
  void ReloadSlot() override { ++reloads; }
  OptionBoxes ReadOptions() override { return {true, false, true, false, true, true}; }
  void StoreOptions(const OptionBoxes& b) override {
    stored = b;
    storedOnce = true;
  }
  void ReloadMenuLandscape() override { ++landscapes; }
  void EnterNewGame() override { ++newGames; }
  void StopVoice() override { ++voiceStops; }
  void CloseHint() override { ++hintCloses; }
};

class ScreensTest : public ::testing::Test {
 protected:
  ScreensTest() : world_(std::make_unique<WorldState>()), w(*world_) {
    w.appPath = "/nonexistent/";
    w.GameMode = game_mode::kMenu;
    w.menuScreen = menu_screen::kMain;
    w.gameSpeed = 40;
    w.playerUnit = 1;
    host.world = &w;
    BuildInterface(ui, w, host, 0, 0, false);
  }
  // Fires button `index` of a window as a release does.
  void Fire(TWindow& window, int index) {
    TButton& b = window.buttons[index];
    ASSERT_TRUE(b.action) << b.caption;
    b.action(b, 0);
  }

  std::unique_ptr<WorldState> world_;
  WorldState& w;
  RecordingHost host;
  TInterface ui;
};

TEST_F(ScreensTest, WindowsAreBuiltHiddenWithTheirButtons) {
  const GuiWindows& g = ui.gui.windows;
  for (const TWindow* win :
       {&g.inGameMenu, &g.mainMenu, &g.networkNotice, &g.hintWindow, &g.options, &g.saveLoad}) {
    EXPECT_EQ(+win->visible, 0);
    ASSERT_FALSE(win->buttons.empty());
    EXPECT_EQ(win->buttons[0].width, 0);  // the empty button 0
  }
  EXPECT_EQ(g.mainMenu.buttons.size(), 7u);
  EXPECT_EQ(Cp1251ToUtf8(g.mainMenu.buttons[1].caption), "Новая игра");
  EXPECT_EQ(g.hintWindow.texts.size(), 10u);
  EXPECT_EQ(g.options.checkBoxes.size(), 6u);
}

// No window puts a made-up address in front of the player (a site under example.org, say).
TEST_F(ScreensTest, NoWindowShowsAPlaceholderAddress) {
  const GuiWindows& g = ui.gui.windows;
  for (const TWindow* win :
       {&g.inGameMenu, &g.mainMenu, &g.networkNotice, &g.hintWindow, &g.options, &g.saveLoad}) {
    for (const TText& t : win->texts) {
      const std::string text = Cp1251ToUtf8(t.caption);
      for (const char* placeholder : {"example.", "www.", "http"})
        EXPECT_EQ(text.find(placeholder), std::string::npos) << text;
    }
  }
}

// The hint window's button "Продолжить игру" and its close box both hide it, stop the voice and
// tell the form (which holds what else the hint needs); only the button clicks.
TEST_F(ScreensTest, TheHintsButtonAndItsCloseBoxBothCloseTheHint) {
  TWindow& hint = ui.gui.windows.hintWindow;
  const auto press = [&](int32_t x, int32_t yDown) {
    ui.gui.pointer.x = hint.x + x;
    ui.gui.pointer.y = kGuiHeight - kGuiTopBand - (hint.y + yDown);  // y upwards
    PressGUI(ui.gui);
    ReleaseGUI(ui.gui, 0);
  };
  const struct {
    const char* way;
    int32_t x, yDown;
    int clicks;
  } kWays[] = {{"button", 220 + 70, 230 + 12, 1}, {"close box", 400 - 14, 16, 0}};
  for (const auto& c : kWays) {
    host.voiceStops = host.hintCloses = host.clicks = 0;
    hint.visible = 1;
    press(c.x, c.yDown);
    EXPECT_EQ(+hint.visible, 0) << c.way;
    EXPECT_GE(host.voiceStops, 1) << c.way;
    EXPECT_EQ(host.hintCloses, 1) << c.way;
    EXPECT_EQ(host.clicks, c.clicks) << c.way;
  }
}

TEST_F(ScreensTest, OptionsShowTheStoredValuesAndCloseToTheRightWindow) {
  ShowMainMenu(ui);
  Fire(ui.gui.windows.mainMenu, 4);  // "Настройки"
  EXPECT_EQ(host.clicks, 1);
  EXPECT_EQ(+ui.gui.windows.mainMenu.visible, 0);
  ASSERT_EQ(+ui.gui.windows.options.visible, 1);
  const auto& boxes = ui.gui.windows.options.checkBoxes;
  EXPECT_EQ(+boxes[0].checked, 1);
  EXPECT_EQ(+boxes[1].checked, 0);
  EXPECT_EQ(+boxes[kBoxFastSea].checked, 1);
  EXPECT_EQ(Cp1251ToUtf8(ui.gui.windows.options.texts[kBoxFastSea + 1].caption),
            "Быстрое море (без видеокарты)");
  ui.gui.windows.options.checkBoxes[kBoxSound3d].checked = 1;
  ui.gui.windows.options.checkBoxes[kBoxFastSea].checked = 0;
  Fire(ui.gui.windows.options, 1);  // "Закрыть"
  ASSERT_TRUE(host.storedOnce);
  EXPECT_TRUE(host.stored.sound3d);
  EXPECT_FALSE(host.stored.tershadows);
  EXPECT_FALSE(host.stored.fastsea);
  EXPECT_EQ(+w.sound3D, 1);
  EXPECT_EQ(+w.terrainShadows, 0);
  EXPECT_EQ(+ui.gui.windows.mainMenu.visible, 1);  // in the menu: back to the main menu
  // In play the options come from and return to the in-game menu, which pauses the step.
  w.GameMode = game_mode::kPlay;
  OpenInGameMenu(ui);
  EXPECT_TRUE(PlayWindowOpen(ui));
  Fire(ui.gui.windows.inGameMenu, 4);
  EXPECT_EQ(+ui.gui.windows.inGameMenu.visible, 0);
  EXPECT_TRUE(PlayWindowOpen(ui));  // the options pause it too
  Fire(ui.gui.windows.options, 1);
  EXPECT_EQ(+ui.gui.windows.inGameMenu.visible, 1);
}

TEST_F(ScreensTest, TheHoveredUnitsNameStaysInPlay) {
  // Left by the in-game menu's "Выйти в меню", and by the last level into the outro.
  w.GameMode = game_mode::kPlay;
  w.hoverName = "Frigate";
  OpenInGameMenu(ui);
  Fire(ui.gui.windows.inGameMenu, 5);  // "Выйти в меню"
  EXPECT_EQ(w.GameMode, game_mode::kMenu);
  EXPECT_EQ(w.hoverName, "");
  w.hoverName = "Frigate";
  ShowOutro(ui);
  MenuStep(ui);
  EXPECT_EQ(w.hoverName, "");
}

TEST_F(ScreensTest, RestartActsOnlyWhileTheInGameMenuIsVisible) {
  Fire(ui.gui.windows.inGameMenu, 2);  // "Начать заново" with the menu hidden
  EXPECT_EQ(host.reloads, 0);
  OpenInGameMenu(ui);
  Fire(ui.gui.windows.inGameMenu, 2);
  EXPECT_EQ(host.reloads, 1);
  EXPECT_EQ(+ui.gui.windows.inGameMenu.visible, 0);
}

TEST_F(ScreensTest, NewGameGoesThroughTheSlotToTheHeroes) {
  ShowMainMenu(ui);
  Fire(ui.gui.windows.mainMenu, 1);  // "Новая игра"
  ASSERT_EQ(+ui.gui.windows.saveLoad.visible, 1);
  EXPECT_EQ(Cp1251ToUtf8(ui.gui.windows.saveLoad.buttons[kSlotActionButton].caption), "Выбрать");
  w.browseSlot = 7;
  Fire(ui.gui.windows.saveLoad, kSlotActionButton);
  EXPECT_EQ(w.saveSlot, 7);
  EXPECT_EQ(w.menuScreen, menu_screen::kHeroChoice);
  EXPECT_EQ(+ui.gui.windows.saveLoad.visible, 0);
}

TEST_F(ScreensTest, EverySlotWindowButtonStartsWithTheClick) {
  // "Удалить" plays the deletion's own sound after the click; the action button clicks even
  // on an empty slot, where loading does nothing.
  const struct {
    int32_t button;
    std::vector<int32_t> sounds;
  } kCases[] = {
      {kSlotPreviousButton, {sound::kClick}},
      {kSlotNextButton, {sound::kClick}},
      {kSlotDeleteButton, {sound::kClick, sound::kShot}},
      {kSlotActionButton, {sound::kClick}},
  };
  ShowMainMenu(ui);
  Fire(ui.gui.windows.mainMenu, 2);  // "Загрузить игру"
  ASSERT_EQ(+ui.gui.windows.saveLoad.visible, 1);
  for (const auto& c : kCases) {
    host.sounds.clear();
    Fire(ui.gui.windows.saveLoad, c.button);
    EXPECT_EQ(host.sounds, c.sounds)
        << Cp1251ToUtf8(ui.gui.windows.saveLoad.buttons[c.button].caption);
  }
}

TEST_F(ScreensTest, HeroAndShipChoiceKeepTypedNamesAndFillEmptyOnes) {
  ShowHeroSelection(ui);
  w.heroChoiceName = "Kapitan";
  ChooseHero(ui, HeroUnderPoint(50, 30));  // hero 2
  EXPECT_EQ(w.heroChoice, 2);
  EXPECT_EQ(w.heroChoiceName, "Kapitan");
  EXPECT_EQ(w.menuScreen, menu_screen::kShipChoice);
  ChooseShip(ui, ShipUnderPoint(50, 30));  // ship 2, no name typed
  EXPECT_EQ(Cp1251ToUtf8(w.shipChoiceName), "Буревестник");
  EXPECT_EQ(w.shipChoice, 2);
  EXPECT_EQ(w.units[1].unitKind, 2);
  EXPECT_EQ(w.menuScreen, menu_screen::kIntro);
  // Without a typed name hero 1 brings his own.
  ShowHeroSelection(ui);
  ChooseHero(ui, 1);
  EXPECT_EQ(Cp1251ToUtf8(w.heroChoiceName), HeroDefaultName(1));
  // Outside every area nothing is chosen.
  EXPECT_EQ(HeroUnderPoint(34, 50), 0);
  EXPECT_EQ(ShipUnderPoint(50, 99), 0);
}

TEST_F(ScreensTest, IntroStartsTheGameAfterFivePagesOrAtAClick) {
  ShowIntro(ui);
  int steps = 0;
  while (host.newGames == 0 && steps < 3000) {
    MenuStep(ui);
    ++steps;
  }
  // Each page: 334 steps up to full, one that notices it, one that turns the page; then the
  // step that finds the sixth page starts the game.
  EXPECT_EQ(steps, 5 * 336 + 1);
  ShowIntro(ui);
  ClickMenuScreen(ui, 10, 10);
  EXPECT_EQ(host.newGames, 2);
}

TEST_F(ScreensTest, CreditsEndAfterTenPagesInTheMainMenu) {
  ShowCredits(ui);
  EXPECT_EQ(host.music.back(), "GData\\Music\\Авторы.mp3");
  int steps = 0;
  while (w.menuScreen == menu_screen::kCredits && steps < 10000) {
    MenuStep(ui);
    ++steps;
  }
  EXPECT_EQ(w.menuScreen, menu_screen::kMain);
  EXPECT_EQ(ui.creditsPage, 11);
  EXPECT_EQ(host.music.back(), "GData\\Music\\Прелюдия.mp3");
}

TEST_F(ScreensTest, OutroClickFadesOutFromFullBrightnessIntoTheCredits) {
  ShowOutro(ui);
  for (int i = 0; i < 10; ++i) MenuStep(ui);
  ClickMenuScreen(ui, 0, 0);
  EXPECT_EQ(+ui.outroFadingIn, 0);
  EXPECT_EQ(ui.outroFade, 1.0);
  for (int i = 0; i < 200 && w.menuScreen == menu_screen::kOutro; ++i) MenuStep(ui);
  EXPECT_EQ(w.menuScreen, menu_screen::kCredits);
  EXPECT_EQ(host.landscapes, 1);
}

TEST_F(ScreensTest, HostileValuesFromASaveSelectNothing) {
  for (int32_t screen : {0, 7, -1, 1 << 30}) {
    w.menuScreen = screen;
    MenuStep(ui);  // no screen's step runs
    ClickMenuScreen(ui, 50, 50);
    EXPECT_EQ(w.menuScreen, screen);
  }
  w.shipChoice = 1 << 20;
  w.heroChoice = -3;
  StartNewGame(ui);
  EXPECT_EQ(w.shipChoice, 1);
  EXPECT_EQ(w.heroChoice, 1);
  ChooseHero(ui, 4);
  ChooseShip(ui, 0);
  EXPECT_EQ(w.heroChoice, 1);
  SetHintLine(ui, 11, "x");  // beyond the ten lines: ignored
  SetHintLine(ui, 0, "x");
  SetHintLine(ui, 1, "Hello");
  EXPECT_EQ(ui.gui.windows.hintWindow.texts[0].caption, "Hello");
}

}  // namespace
}  // namespace skerrow
