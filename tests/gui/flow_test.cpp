// The way into a game and out of it through the executable, driven by scripted input on the
// content pack: the main menu, a slot, typed names, hero and ship, the intro, level 1; Esc in
// play pausing the step; the in-game menu back to the main menu; quitting from the main menu;
// a game saved in one run and loaded in the next with the mouse alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "support/hint_clicks.h"
#include "support/pack_root.h"
#include "world/save_game.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kRoot = std::string(SKERROW_BINARY_DIR) + "/";

// The runs use a 400 x 300 display (the interface's 800 x 600 at half scale): the flow does not
// depend on the size, and a frame of a quarter of the pixels costs about half the time.
constexpr const char* kSize = "400x300";
// Window pixels of that display for the buttons the script presses: half of a button's centre
// in the interface space, which is its window's x + its x + width / 2 and, downwards,
// 26 + window y + its y + 12.
constexpr const char* kNewGame = "337 104";       // main menu, first button
constexpr const char* kQuitFromMenu = "337 191";  // main menu, sixth button
constexpr const char* kLoadGame = "337 121";      // main menu, second button
constexpr const char* kChooseSlot = "310 179";    // save and load window, action button
constexpr const char* kNextSlot = "212 179";      // save and load window, ">>"
constexpr const char* kBackToMenu = "200 164";    // in-game menu, fifth button
constexpr const char* kHeroTwo = "200 100";       // 50 %, 33 % of the display
constexpr const char* kShipThree = "328 108";     // 82 %, 36 %

class FlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kRoot + "gdata/Skerrow.qvp") || !fs::exists(kRoot + "skerrow")) {
      GTEST_SKIP() << "no content pack or no game executable";
    }
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("skerrow_flow_" + std::to_string(rd()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // Runs the game headless for `ticks` with `script` on the game folder `root`; returns its exit
  // code and fills `state` with the dumped saved block and `bench` with the --bench line.
  int Run(const std::string& script, int ticks, WorldState* state = nullptr,
          std::string* bench = nullptr, const std::string& root = kRoot) {
    const fs::path in = dir_ / "script.txt", dump = dir_ / "state.qvs", out = dir_ / "out.txt";
    std::ofstream(in) << script;
    const std::string cmd = kRoot + "skerrow --headless --seed 3 --size " + kSize + " --root " +
                            root + " --input " + in.string() + " --ticks " + std::to_string(ticks) +
                            " --dump-state " + dump.string() + " --bench > " + out.string() +
                            " 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    if (state != nullptr) {
      std::ifstream d(dump, std::ios::binary);
      d.read(reinterpret_cast<char*>(SavedBytes(*state).data()),
             static_cast<std::streamsize>(sizeof(SavedState)));
    }
    if (bench != nullptr) {
      std::ifstream o(out);
      std::getline(o, *bench);
    }
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }

  fs::path dir_;
};

std::string Click(int tick, const char* at) {
  return std::to_string(tick) + " mouse-move " + at + "\n" + std::to_string(tick + 1) +
         " mouse-down 0\n" + std::to_string(tick + 2) + " mouse-up 0\n";
}

// Windows-1251 codes typed one a tick from `tick` on.
std::string Type(int tick, std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s += std::to_string(tick++) + " char " + std::to_string(c) + "\n";
  return s;
}

// From start-up to level 1: slot, the name "Иван" (one character too low, a space, is
// refused), hero 2, the ship name "Nord", ship 3, a click that skips the intro at tick 40, and
// the clicks that close the episode's and the tutorial's opening hints.
std::string NewGameScript() {
  return Click(0, kNewGame) + Click(4, kChooseSlot) + Type(8, {0xC8, 32, 0xE2, 0xE0, 0xED}) +
         Click(13, kHeroTwo) + Type(17, {78, 111, 114, 100}) + Click(22, kShipThree) +
         "40 mouse-down 0\n41 mouse-up 0\n" + test::HintClicks(400, 300, {42, 45, 48});
}

TEST_F(FlowTest, ClicksAndTypedNamesReachLevelOneWithTheChosenShipAndHero) {
  auto w = std::make_unique<WorldState>();
  ASSERT_EQ(Run(NewGameScript(), 60, w.get()), 0);
  EXPECT_EQ(w->GameMode, game_mode::kPlay);
  EXPECT_EQ(w->episode, 1);
  EXPECT_EQ(w->levelNumber, 1);
  EXPECT_EQ(w->heroChoice, 2);
  EXPECT_EQ(w->shipChoice, 3);
  ASSERT_NE(PlayerUnit(*w), nullptr);
  EXPECT_EQ(PlayerUnit(*w)->unitKind, 3);
  EXPECT_EQ(w->playerName.View(), "\xC8\xE2\xE0\xED");  // Иван, kept in Windows-1251
  EXPECT_EQ(w->shipName.View(), "Nord");
  // Hero 2's bonus (guns 25) on ship 3's start (guns 85, speed 33, armour 75).
  EXPECT_EQ(w->gunPoints, 110);
  EXPECT_EQ(w->speedPoints, 33);
  EXPECT_EQ(w->armourPoints, 75);
  EXPECT_EQ(w->lives, 3);
  EXPECT_EQ(w->heroLevel, 1);
}

TEST_F(FlowTest, EscInPlayOpensTheMenuWhichPausesTheStep) {
  // After the start, Esc at tick 50; the Up key held from tick 52 to the end.
  const std::string esc = "50 key-down 27\n51 key-up 27\n";
  const std::string up = "52 key-down 38\n";
  auto paused = std::make_unique<WorldState>();
  auto still = std::make_unique<WorldState>();
  auto sailing = std::make_unique<WorldState>();
  ASSERT_EQ(Run(NewGameScript() + esc + up, 110, paused.get()), 0);
  ASSERT_EQ(Run(NewGameScript() + esc, 110, still.get()), 0);
  ASSERT_EQ(Run(NewGameScript() + up, 110, sailing.get()), 0);
  ASSERT_EQ(paused->GameMode, game_mode::kPlay);
  const UnitRecord& p = *PlayerUnit(*paused);
  const UnitRecord& s = *PlayerUnit(*still);
  const UnitRecord& m = *PlayerUnit(*sailing);
  // With the menu open the held key moves nothing; without it the ship sails.
  EXPECT_EQ(p.posX, s.posX);
  EXPECT_EQ(p.posZ, s.posZ);
  EXPECT_NE(m.posX == p.posX && m.posZ == p.posZ, true);
}

TEST_F(FlowTest, InGameMenuReturnsToTheMainMenu) {
  auto w = std::make_unique<WorldState>();
  const std::string back = "50 key-down 27\n51 key-up 27\n" + Click(55, kBackToMenu);
  ASSERT_EQ(Run(NewGameScript() + back, 70, w.get()), 0);
  EXPECT_EQ(w->GameMode, game_mode::kMenu);
  EXPECT_EQ(w->menuScreen, menu_screen::kMain);
}

TEST_F(FlowTest, QuittingFromTheMainMenuEndsTheProgramWithCodeZero) {
  std::string bench;
  ASSERT_EQ(Run(Click(0, kQuitFromMenu), 5000, nullptr, &bench), 0);
  // The run ended on the click, long before its tick limit.
  const size_t at = bench.find("ticks=");
  ASSERT_NE(at, std::string::npos) << bench;
  EXPECT_LT(std::stoi(bench.substr(at + 6)), 10);
}

// Save, quit, start again, load: the first run starts a new game in slot 3 (entering level 1
// saves it) and ends; the second loads that save from the main menu with clicks alone.
TEST_F(FlowTest, ASaveOfOneRunLoadsInTheNextWithTheMouseAlone) {
  const std::string root = test::GameRoot("flow_load").string();
  const std::string newGameInSlotThree =
      Click(0, kNewGame) + Click(4, kNextSlot) + Click(8, kNextSlot) + Click(12, kChooseSlot) +
      Click(16, kHeroTwo) + Click(20, kShipThree) + "30 mouse-down 0\n31 mouse-up 0\n";
  auto first = std::make_unique<WorldState>();
  ASSERT_EQ(Run(newGameInSlotThree, 40, first.get(), nullptr, root), 0);
  ASSERT_EQ(first->GameMode, game_mode::kPlay);
  auto saved = std::make_unique<SavedState>();
  ASSERT_EQ(ReadSaveSlot(root + "/", 3, *saved).status, SlotLoad::kLoaded);
  const UnitRecord& savedShip = saved->units[saved->playerUnit];

  const std::string load =
      Click(0, kLoadGame) + Click(4, kNextSlot) + Click(8, kNextSlot) + Click(12, kChooseSlot);
  auto w = std::make_unique<WorldState>();
  ASSERT_EQ(Run(load, 15, w.get(), nullptr, root), 0);
  EXPECT_EQ(w->GameMode, game_mode::kPlay);
  EXPECT_EQ(w->episode, 1);
  EXPECT_EQ(w->levelNumber, 1);
  EXPECT_EQ(w->shipChoice, 3);
  EXPECT_EQ(w->heroChoice, 2);
  EXPECT_EQ(w->shipName.View(), "\xC3\xF0\xEE\xE7\xED\xFB\xE9");  // ship 3's own name, Грозный
  ASSERT_NE(PlayerUnit(*w), nullptr);
  // A step or two of play since the load moved the ship a little at most.
  EXPECT_NEAR(PlayerUnit(*w)->posX, savedShip.posX, 1.0);
  EXPECT_NEAR(PlayerUnit(*w)->posZ, savedShip.posZ, 1.0);
  // Without the load the second run stays in the menu.
  auto menu = std::make_unique<WorldState>();
  ASSERT_EQ(Run(Click(0, kLoadGame), 15, menu.get(), nullptr, root), 0);
  EXPECT_EQ(menu->GameMode, game_mode::kMenu);
}

}  // namespace
}  // namespace skerrow
