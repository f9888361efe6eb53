// Save games and hints of the main form on the content pack: a new game's first save into its
// slot, the thumbnail, "Начать заново" and the last life going back to the save, a refused save
// that leaves the game going, and play paused while a hint is shown.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/interface.h"
#include "gui/slot_actions.h"
#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "shell/skerrow_form.h"
#include "simulation/play_update.h"
#include "support/file_bytes.h"
#include "support/pack_root.h"
#include "world/save_game.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

using test::GameRoot;
using test::HavePack;
using test::ReadFileBytes;

// A new game started in slot 7 with the form in process (no GL: the thumbnail is black).
struct SlotGame {
  explicit SlotGame(const std::string& name) : root(GameRoot(name)) {
    CommandLine cl;
    cl.headless = true;
    cl.ticks = 0;
    cl.root = root.string();
    cl.start = "1:1";
    cl.slot = 7;
    form = std::make_unique<TSkerrowForm>(cl, platform::CreateNullWindow());
    ok = form->Run() == 0;
  }
  fs::path Slot(const char* ext) const {
    return root / "gdata" / "savegame" / ("slot7" + std::string(ext));
  }
  WorldState& w() { return form->World(); }
  UnitRecord& player() { return w().units[w().playerUnit]; }

  fs::path root;
  std::unique_ptr<TSkerrowForm> form;
  bool ok = false;
};

// The GUI hint window's visible lines joined by spaces, as UTF-8 ("" when it is hidden).
std::string NoticeShown(TSkerrowForm& form) {
  const TWindow& window = form.Interface().gui.windows.hintWindow;
  if (window.visible != 1) return {};
  std::string text;
  for (const TText& line : window.texts) {
    if (line.caption.empty()) continue;
    if (!text.empty()) text += ' ';
    text += Cp1251ToUtf8(line.caption);
  }
  return text;
}

TEST(SaveGames, ANewGameInSlotSevenSavesRightAfterTheFirstLevel) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  SlotGame g("new");
  ASSERT_TRUE(g.ok);
  EXPECT_EQ(g.w().saveSlot, 7);
  ASSERT_EQ(ReadFileBytes(g.Slot(".qvs")).size(), kSavedBlockSize);
  const std::vector<uint8_t> tga = ReadFileBytes(g.Slot(".tga"));
  ASSERT_EQ(tga.size(), 18u + 256 * 128 * 3);
  EXPECT_EQ(tga[12] | tga[13] << 8, 256);
  EXPECT_EQ(tga[14] | tga[15] << 8, 128);
  const std::vector<uint8_t> txt = ReadFileBytes(g.Slot(".txt"));
  const std::string text = Cp1251ToUtf8(std::string(txt.begin(), txt.end()));
  EXPECT_EQ(text.substr(0, text.find('\r')), "Игрок : Эдвард");
  EXPECT_NE(text.find("\r\nЗдоровье : 100%\r\n"), std::string::npos);
  EXPECT_NE(text.find("Эпизод : Заманчивые тропики, Уровень : 1\r\n"), std::string::npos);
  // A game without a slot saves nothing and draws no thumbnail frame.
  g.w().saveSlot = 0;
  g.w().screenFadeSaved = 0.25;  // a thumbnail frame would keep screenFade here
  EXPECT_FALSE(g.form->SaveGame(false));
  EXPECT_EQ(g.w().screenFadeSaved, 0.25);
}

TEST(SaveGames, RestartAndTheLastLifeGoBackToTheSavedPlace) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  SlotGame g("restart");
  ASSERT_TRUE(g.ok);
  const double x = g.player().posX, z = g.player().posZ;
  const int32_t levelSize = g.w().levelSize;
  // "Начать заново": the saved position comes back; the level size is not reloaded.
  g.player().posX = x + 40.0;
  g.w().levelSize = 77;
  EXPECT_TRUE(g.form->RestartFromSave());
  EXPECT_DOUBLE_EQ(g.player().posX, x);
  EXPECT_EQ(g.w().levelSize, 77);
  g.w().levelSize = levelSize;
  // The last life lost: the next play step reloads the slot instead of a fresh level.
  g.player().posZ = z + 30.0;
  g.player().alive = 0;
  g.w().lives = 0;
  g.w().experience = 999;
  g.w().unitAlerted[4] = 1;
  g.form->UpdateDispatch();
  EXPECT_EQ(g.player().alive, 1);
  EXPECT_EQ(g.w().lives, 3);
  EXPECT_EQ(g.w().experience, 0);
  EXPECT_EQ(g.w().unitAlerted[4], 0);
  EXPECT_NEAR(g.player().posZ, z, 1.0);  // one step of motion at most
  // The hint window says why the world jumped, and play waits for its button.
  EXPECT_EQ(NoticeShown(*g.form), kLastLifeBackToSave);
  EXPECT_TRUE(g.form->HintOpen());
}

TEST(SaveGames, ARefusedSaveShowsAMessageAndTheGameGoesOn) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  SlotGame g("refused");
  ASSERT_TRUE(g.ok);
  std::vector<uint8_t> qvs = ReadFileBytes(g.Slot(".qvs"));
  qvs.resize(qvs.size() / 2);
  std::ofstream(g.Slot(".qvs"), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(qvs.data()), static_cast<std::streamsize>(qvs.size()));
  std::vector<std::string> shown;
  const platform::MessageHandler previous = platform::SetMessageHandler(
      [&shown](const std::string&, const std::string& text) { shown.push_back(text); });
  g.player().posX += 40.0;
  const double x = g.player().posX;
  EXPECT_FALSE(g.form->RestartFromSave());
  EXPECT_DOUBLE_EQ(g.player().posX, x);
  // The last life with a refused save: the level starts afresh instead of dead-ending.
  g.player().alive = 0;
  g.w().lives = 0;
  g.form->UpdateDispatch();
  platform::SetMessageHandler(previous);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("slot7.qvs"), std::string::npos);
  EXPECT_EQ(g.player().alive, 1);
  EXPECT_EQ(g.w().lives, 3);
  EXPECT_EQ(NoticeShown(*g.form), kLastLifeLevelAgain);
}

TEST(Hints, PlayPausesWhileTheHintIsShownAndResumesAfterItsButton) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  SlotGame g("hint");
  ASSERT_TRUE(g.ok);
  const fs::path text = g.root / "hint.txt";
  std::ofstream(text, std::ios::binary) << "Hint\r\n";
  InvalidatePathCache();
  // The direct start's own hints first (a hint waits while another is shown).
  for (int i = 0; i < 4 && g.form->HintOpen(); ++i) ContinueFromHint(g.form->Interface());
  ASSERT_FALSE(g.form->HintOpen());
  EXPECT_FALSE(g.form->ShowHint((g.root / "none.txt").string(), ""));
  ASSERT_TRUE(g.form->ShowHint(text.string(), (g.root / "hint.wav").string()));
  EXPECT_TRUE(g.form->HintOpen());
  EXPECT_EQ(g.form->Hint().lines[0], "Hint");
  // The GUI's hint window shows the same lines.
  const TWindow& shown = g.form->Interface().gui.windows.hintWindow;
  EXPECT_EQ(+shown.visible, 1);
  ASSERT_FALSE(shown.texts.empty());
  EXPECT_EQ(shown.texts[0].caption, "Hint");
  const double frame = g.w().hudAnimFrame;
  g.w().screenFade = 0.0;
  g.form->UpdateDispatch();
  g.form->UpdateDispatch();
  EXPECT_EQ(g.w().hudAnimFrame, frame);
  EXPECT_GE(g.w().screenFade, 0.5);
  // "Продолжить игру" in the GUI closes the form's hint too.
  ContinueFromHint(g.form->Interface());
  EXPECT_FALSE(g.form->HintOpen());
  EXPECT_EQ(+shown.visible, 0);
  g.form->UpdateDispatch();
  EXPECT_NE(g.w().hudAnimFrame, frame);
  // A hint raised while another is shown waits, in order, and opens when that one closes.
  const fs::path second = g.root / "second.txt", third = g.root / "third.txt";
  std::ofstream(second, std::ios::binary) << "Second\r\n";
  std::ofstream(third, std::ios::binary) << "Third\r\n";
  InvalidatePathCache();
  for (int i = 0; i < 4 && g.form->HintOpen(); ++i) ContinueFromHint(g.form->Interface());
  ASSERT_TRUE(g.form->ShowHint(text.string(), ""));  // the step above met the steering hint
  ASSERT_TRUE(g.form->ShowHint(second.string(), ""));
  EXPECT_FALSE(g.form->ShowHint((g.root / "none.txt").string(), ""));
  ASSERT_TRUE(g.form->ShowHint(third.string(), ""));
  for (const char* line : {"Hint", "Second", "Third"}) {
    ASSERT_TRUE(g.form->HintOpen()) << line;
    EXPECT_EQ(g.form->Hint().lines[0], line);
    EXPECT_EQ(shown.texts[0].caption, line);
    ContinueFromHint(g.form->Interface());
  }
  EXPECT_FALSE(g.form->HintOpen());
}

// Quit and come back: a second run of the game loads the first one's save through the save
// and load window's buttons.
TEST(SaveGames, ASecondRunLoadsTheSaveThroughTheSlotWindow) {
  if (!HavePack()) GTEST_SKIP() << "no content pack";
  SlotGame first("reload");
  ASSERT_TRUE(first.ok);
  const double x = first.player().posX;
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 0;
  cl.root = first.root.string();
  TSkerrowForm second(cl, platform::CreateNullWindow());
  ASSERT_EQ(second.Run(), 0);
  ASSERT_EQ(second.World().GameMode, 1);  // the menu
  second.OpenSlots(SlotMode::kLoad);
  for (int i = 0; i < 6; ++i) second.NextSlotClick();  // slot 1 to slot 7
  EXPECT_TRUE(second.Slots().slotUsed);
  EXPECT_EQ(Cp1251ToUtf8(second.Slots().lines[0]), "Игрок : Эдвард");
  EXPECT_EQ(second.SlotActionClick(), SlotActionResult::kLoaded);
  EXPECT_FALSE(second.Slots().visible);
  const WorldState& w = second.World();
  EXPECT_EQ(w.GameMode, 2);
  EXPECT_EQ(w.saveSlot, 7);
  EXPECT_DOUBLE_EQ(w.units[w.playerUnit].posX, x);
  EXPECT_GT(w.levelSize, 0);  // rebuilt for the loaded level
  EXPECT_EQ(w.terrainView[3], 64);
}

int RunGame(const std::string& args) {
  const std::string cmd =
      std::string(SKERROW_BINARY_DIR) + "/skerrow " + args + " > /dev/null 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(SaveGames, TheHeadlessGameDrawsTheThumbnail) {
  if (!HavePack() || !fs::exists(std::string(SKERROW_BINARY_DIR) + "/skerrow")) {
    GTEST_SKIP() << "no executable or content pack";
  }
  const fs::path root = GameRoot("exe");
  ASSERT_EQ(RunGame("--headless --start 1:1 --slot 3 --ticks 1 --root " + root.string()), 0);
  const std::vector<uint8_t> tga = ReadFileBytes(root / "gdata" / "savegame" / "slot3.tga");
  ASSERT_EQ(tga.size(), 18u + 256 * 128 * 3);
  size_t lit = 0;
  for (size_t i = 18; i < tga.size(); ++i) lit += tga[i] > 16 ? 1 : 0;
  EXPECT_GT(lit, tga.size() / 4) << "the thumbnail is drawn without the black fade";
}

}  // namespace
}  // namespace skerrow
