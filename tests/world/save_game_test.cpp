// Save games: description lines, the slot write and its all-or-nothing replacement (also under
// a process killed while it saves), the refusal of damaged and hostile saves, ReloadSlot,
// LoadGame with and without an episode change, and the slot window's browsing and actions.
#include "world/save_game.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "support/file_bytes.h"
#include "support/play_world.h"
#include "support/temp_dir.h"
#include "world/slot_window.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

using test::ReadFileBytes;
using test::WriteFileBytes;

std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string U(std::string_view cp1251) {
  return Cp1251ToUtf8(cp1251);
}

// A game in play on level 3 of episode 2 that passes every check.
void MakePlayable(WorldState& w, const fs::path& root) {
  test::SetPlayDefaults(w);
  w.appPath = root.string() + "/";
  w.menuScreen = 1;
  w.episode = 2;
  w.episodeName.Set(EpisodeName(2));
  w.levelNumber = 3;
  w.heroLevel = 4;
  w.lives = 2;
  w.experience = 1234;
  w.playerName.Set(Utf8ToCp1251("Эдвард"));
  w.shipName.Set(Utf8ToCp1251("Грозный"));
  UnitRecord& p = w.units[1];
  p.alive = 1;
  p.unitKind = 3;
  p.posX = 120.5;
  p.posZ = 80.25;
  p.life = 40.0f;
  p.maxLife = 100.0f;
  w.statics[1].alive = 1;
  w.statics[1].terrainKind = 5;
  w.statics[1].objects[1].alive = 1;
  w.statics[1].objects[1].objectKind = 7;
  w.bonuses[1].kind = 11;
  w.saveSlot = 7;
}

fs::path Slot(const fs::path& root, int n, const char* ext) {
  return root / "gdata" / "savegame" / ("slot" + std::to_string(n) + ext);
}

const std::vector<uint8_t> kThumb = {0, 0, 2, 0, 0, 0,  0, 0, 0, 0, 0,
                                     0, 1, 0, 1, 0, 24, 0, 1, 2, 3};

TEST(SaveDescription, SevenLinesInWindows1251WithCrLf) {
  auto w = std::make_unique<WorldState>();
  MakePlayable(*w, "/nowhere");
  const SlotDescription d = DescribeSave(*w);
  const std::vector<std::string> expected = {
      "Игрок : Эдвард",    "Корабль : Грозный", "Эпизод : Ледяной плен, Уровень : 3",
      "Уровень героя : 4", "Жизни : 2",         "Здоровье : 40%",
      "Опыт : 1234"};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(U(d[i]), expected[i]) << i;
  EXPECT_EQ(d[0].size(), 14u);  // one byte a letter
  const std::string text = DescriptionFileText(d);
  EXPECT_EQ(text.substr(0, 16), d[0] + "\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
  EXPECT_EQ(ParseDescriptionFile(text), d);
}

TEST(SaveDescription, HealthRoundsToNearestWithTiesToEven) {
  struct Case {
    float life, maxLife;
    const char* line;
  };
  const Case cases[] = {{40, 100, "Здоровье : 40%"},   {1, 3, "Здоровье : 33%"},
                        {2, 3, "Здоровье : 67%"},      {125, 1000, "Здоровье : 12%"},
                        {135, 1000, "Здоровье : 14%"}, {0, 0, "Здоровье : 0%"},
                        {150, 100, "Здоровье : 150%"}};
  auto w = std::make_unique<WorldState>();
  MakePlayable(*w, "/nowhere");
  for (const Case& c : cases) {
    w->units[1].life = c.life;
    w->units[1].maxLife = c.maxLife;
    EXPECT_EQ(U(DescribeSave(*w)[5]), c.line) << c.life << "/" << c.maxLife;
  }
}

TEST(SaveDescription, MissingLinesOfAFileAreEmpty) {
  const SlotDescription d = ParseDescriptionFile("one\r\ntwo\nthree");
  EXPECT_EQ(d[0], "one");
  EXPECT_EQ(d[1], "two");
  EXPECT_EQ(d[2], "three");
  for (int i = 3; i < kDescriptionLines; ++i) EXPECT_EQ(d[i], "") << i;
}

class SaveSlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = test::ScratchDir("saves");
    InvalidatePathCache();
    w_ = std::make_unique<WorldState>();
    MakePlayable(*w_, root_);
  }
  fs::path root_;
  std::unique_ptr<WorldState> w_;
};

TEST_F(SaveSlotTest, WritesThreeFilesThatReadBackByteForByte) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));  // the savegame folder is created
  EXPECT_EQ(ReadFileBytes(Slot(root_, 7, ".tga")), kThumb);
  EXPECT_EQ(U(Text(ReadFileBytes(Slot(root_, 7, ".txt"))).substr(0, 16)), "Игрок : Эдвард\r\n");
  const std::vector<uint8_t> qvs = ReadFileBytes(Slot(root_, 7, ".qvs"));
  ASSERT_EQ(qvs.size(), kSavedBlockSize);
  EXPECT_TRUE(std::equal(qvs.begin(), qvs.end(), SavedBytes(*w_).begin()));
  for (const auto& e : fs::directory_iterator(root_ / "gdata" / "savegame")) {
    EXPECT_NE(e.path().extension(), ".part") << "left behind: " << e.path();
  }

  auto other = std::make_unique<WorldState>();
  other->appPath = w_->appPath;
  ASSERT_EQ(ReadSaveSlot(w_->appPath, 7, *other).status, SlotLoad::kLoaded);
  EXPECT_TRUE(std::ranges::equal(SavedBytes(*other), SavedBytes(*w_)));

  // The game's writer: the same files, written on its own thread.
  fs::remove_all(root_ / "gdata");
  InvalidatePathCache();
  {
    SlotWriter writer;
    ASSERT_TRUE(writer.Save(*w_, kThumb));
    w_->experience = 1;  // after Save: not in the file
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(ReadFileBytes(Slot(root_, 7, ".qvs")), qvs);
    EXPECT_EQ(ReadFileBytes(Slot(root_, 7, ".tga")), kThumb);
  }
  for (int32_t bad : {0, 100, -1}) {
    w_->saveSlot = bad;
    EXPECT_FALSE(WriteSaveSlot(*w_, kThumb)) << bad;
    SlotWriter writer;
    EXPECT_FALSE(writer.Save(*w_, kThumb)) << bad;
  }
}

TEST_F(SaveSlotTest, AFailedWriteLeavesTheOldSlot) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  const std::vector<uint8_t> before = ReadFileBytes(Slot(root_, 7, ".qvs"));
  // A leftover temporary file of the old fixed name (a crashed writer's) is in nobody's way.
  fs::create_directories(Slot(root_, 7, ".qvs.part"));
  InvalidatePathCache();
  w_->experience = 4321;
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  // A disk that fills up during the .qvs (a 1 MB file size limit; root passes any permission):
  // nothing is replaced.
  const std::vector<uint8_t> second = ReadFileBytes(Slot(root_, 7, ".qvs"));
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1 << 20;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  w_->experience = 99999;
  const bool written = WriteSaveSlot(*w_, {});
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFileBytes(Slot(root_, 7, ".qvs")), second);
  EXPECT_EQ(ReadFileBytes(Slot(root_, 7, ".tga")), kThumb);
  EXPECT_NE(U(Text(ReadFileBytes(Slot(root_, 7, ".txt")))).find("4321"), std::string::npos);
  for (const auto& e : fs::directory_iterator(root_ / "gdata" / "savegame")) {
    EXPECT_TRUE(e.path().extension() != ".part" || e.is_directory()) << e.path();
  }
}

// Another game saving into the same folder holds its lock: the writer waits for it, and then
// writes all three files of its own save.
TEST_F(SaveSlotTest, AWriterWaitsForAnotherGameSavingIntoTheFolder) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  const int other = ::open((root_ / "gdata" / "savegame" / "savegame.lock").c_str(),
                           O_RDWR | O_CREAT, 0644);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  w_->experience = 777;
  SlotWriter writer;
  ASSERT_TRUE(writer.Save(*w_, kThumb));
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(U(Text(ReadFileBytes(Slot(root_, 7, ".txt")))).find("777"), std::string::npos)
      << "written while another game held the folder";
  ::close(other);
  EXPECT_TRUE(writer.Finish());
  EXPECT_NE(U(Text(ReadFileBytes(Slot(root_, 7, ".txt")))).find("777"), std::string::npos);
  EXPECT_EQ(writer.TakeFailure(), "");
}

// A game the game itself would refuse to load is never written; the writer says why, once.
TEST_F(SaveSlotTest, ABlockTheLoadWouldRefuseIsNotSaved) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  const std::vector<uint8_t> before = ReadFileBytes(Slot(root_, 7, ".qvs"));
  w_->units[1].posX = std::nan("");
  EXPECT_FALSE(WriteSaveSlot(*w_, kThumb));
  SlotWriter writer;
  EXPECT_FALSE(writer.Save(*w_, kThumb));
  EXPECT_FALSE(writer.Finish());
  const std::string failure = writer.TakeFailure();
  EXPECT_NE(failure.find("место корабля игрока не число"), std::string::npos) << failure;
  EXPECT_EQ(writer.TakeFailure(), "");
  EXPECT_EQ(ReadFileBytes(Slot(root_, 7, ".qvs")), before);
}

// Damaged and hostile files: each is refused with a message, and the block it would have
// replaced stays as it was.
TEST_F(SaveSlotTest, DamagedShortLongAndHostileSavesAreRefused) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  const std::vector<uint8_t> good = ReadFileBytes(Slot(root_, 7, ".qvs"));
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  auto field = [](auto member, auto value) {
    return [member, value](std::vector<uint8_t>& b) {
      auto s = std::make_unique<SavedState>();
      std::memcpy(s.get(), b.data(), kSavedBlockSize);
      member(*s) = value;
      std::memcpy(b.data(), s.get(), kSavedBlockSize);
    };
  };
  const Case cases[] = {
      {"empty", [](auto& b) { b.clear(); }},
      {"short", [](auto& b) { b.resize(1000); }},
      {"one byte short", [](auto& b) { b.pop_back(); }},
      {"long", [](auto& b) { b.push_back(0); }},
      {"game mode", field([](SavedState& s) -> int32_t& { return s.GameMode; }, 9)},
      {"menu screen", field([](SavedState& s) -> int32_t& { return s.menuScreen; }, 0)},
      {"player unit", field([](SavedState& s) -> int32_t& { return s.playerUnit; }, 300)},
      {"player kind", field([](SavedState& s) -> int32_t& { return s.units[1].unitKind; }, 0)},
      {"player place",
       field([](SavedState& s) -> double& { return s.units[1].posX; }, std::nan(""))},
      {"episode", field([](SavedState& s) -> int32_t& { return s.episode; }, 5)},
      {"episode name",
       [](auto& b) {
         auto s = std::make_unique<SavedState>();
         std::memcpy(s.get(), b.data(), kSavedBlockSize);
         s->episodeName.Set("..\\..\\..\\etc");
         std::memcpy(b.data(), s.get(), kSavedBlockSize);
       }},
      {"level", field([](SavedState& s) -> int32_t& { return s.levelNumber; }, 201)},
      {"hero level", field([](SavedState& s) -> int32_t& { return s.heroLevel; }, 0)},
      {"camera", field([](SavedState& s) -> int32_t& { return s.cameraNumber; }, 11)},
      {"lives", field([](SavedState& s) -> int32_t& { return s.lives; }, -1)},
      {"air target", field([](SavedState& s) -> int32_t& { return s.airTarget; }, 256)},
      {"status icon", field([](SavedState& s) -> int32_t& { return s.statusIcons[3]; }, 99)},
      {"unit kind",
       [&](auto& b) {
         field([](SavedState& s) -> uint8_t& { return s.units[9].alive; }, uint8_t{1})(b);
         field([](SavedState& s) -> int32_t& { return s.units[9].unitKind; }, 256)(b);
       }},
      {"terrain piece",
       field([](SavedState& s) -> int32_t& { return s.statics[1].terrainKind; }, 128)},
      {"object kind",
       field([](SavedState& s) -> int32_t& { return s.statics[1].objects[1].objectKind; }, 0)},
      {"bonus kind", field([](SavedState& s) -> int32_t& { return s.bonuses[200].kind; }, 20)},
      {"projectile owner",
       [&](auto& b) {
         field([](SavedState& s) -> uint8_t& { return s.projectiles[4].active; }, uint8_t{1})(b);
         field([](SavedState& s) -> int32_t& { return s.projectiles[4].owner; }, -3)(b);
       }},
      {"particle kind",
       [&](auto& b) {
         field([](SavedState& s) -> uint8_t& { return s.particles[1960].active; }, uint8_t{1})(b);
         field([](SavedState& s) -> int32_t& { return s.particles[1960].kind; }, 22)(b);
       }},
      {"name",
       [](auto& b) {
         auto s = std::make_unique<SavedState>();
         std::memcpy(s.get(), b.data(), kSavedBlockSize);
         s->playerName.Set("a\r\nb");
         std::memcpy(b.data(), s.get(), kSavedBlockSize);
       }},
  };
  auto running = std::make_unique<WorldState>();
  MakePlayable(*running, root_);
  running->experience = 77;
  running->unitAlerted[5] = 1;
  std::vector<uint8_t> runningBytes(SavedBytes(*running).begin(), SavedBytes(*running).end());
  for (const Case& c : cases) {
    std::vector<uint8_t> b = good;
    c.damage(b);
    WriteFileBytes(Slot(root_, 7, ".qvs"), b);
    const SlotLoadResult r = ReloadSlot(*running);
    EXPECT_EQ(r.status, SlotLoad::kRefused) << c.name;
    EXPECT_NE(r.message.text.find("slot7.qvs"), std::string::npos) << c.name;
    EXPECT_TRUE(std::ranges::equal(SavedBytes(*running), runningBytes)) << c.name;
    EXPECT_EQ(running->unitAlerted[5], 1) << c.name;
  }
  // The untouched file loads.
  WriteFileBytes(Slot(root_, 7, ".qvs"), good);
  EXPECT_EQ(ReloadSlot(*running).status, SlotLoad::kLoaded);
  EXPECT_EQ(running->experience, 1234);
}

TEST_F(SaveSlotTest, ReloadSlotRestoresTheSavedPlaceAndClearsTheAlerts) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  w_->units[1].posX = 5.0;
  w_->lives = 0;
  w_->unitAlerted[3] = 1;
  w_->levelSize = 321;  // memory only: kept
  ASSERT_EQ(ReloadSlot(*w_).status, SlotLoad::kLoaded);
  EXPECT_DOUBLE_EQ(w_->units[1].posX, 120.5);
  EXPECT_EQ(w_->lives, 2);
  EXPECT_EQ(w_->unitAlerted[3], 0);
  EXPECT_EQ(w_->levelSize, 321);
  w_->saveSlot = 8;  // nothing saved there
  w_->lives = 0;
  EXPECT_EQ(ReloadSlot(*w_).status, SlotLoad::kMissing);
  EXPECT_EQ(w_->lives, 0);
}

// A host that records what LoadGame asks of the outside.
class RecordingHost : public LevelHost {
 public:
  bool ReadPicture(const std::string&, LevelPicture&) override { return false; }
  void ResetLoadingProgress() override { calls.push_back("progress0"); }
  void LoadLoadingPicture(int32_t e) override { calls.push_back("loading" + std::to_string(e)); }
  void LoadEpisodeArt(const std::string& name) override { calls.push_back("art " + U(name)); }
  void LoadMinimap(const std::string& p) override { calls.push_back("minimap " + p); }
  void SetFpsTimer(bool on) override { calls.push_back(on ? "fps on" : "fps off"); }
  void StartEpisodeMusic(int32_t e) override { calls.push_back("music" + std::to_string(e)); }
  void ShowEpisodeHint(const std::string&, const std::string&) override {}
  void ShowOutro() override {}
  void ShowLevelMessage(const LevelMessage& m) override { calls.push_back("message " + m.text); }
  std::vector<std::string> calls;
};

TEST_F(SaveSlotTest, LoadingAnotherEpisodeReloadsItsArtAndMusicTheSameEpisodeDoesNot) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));  // episode 2, level 3
  const std::string minimap = "minimap " + w_->appPath + "gdata\\Worlds\\" +
                              std::string(EpisodeName(2)) + "\\Data\\minimap3.qvt";
  // Same episode: only the level's own outside-the-block state.
  w_->units[1].posX = 1.0;
  w_->screenFade = 0.0;
  w_->terrainView[0] = 57;
  RecordingHost same;
  ASSERT_EQ(LoadGame(*w_, same).status, SlotLoad::kLoaded);
  EXPECT_EQ(same.calls, std::vector<std::string>{minimap});
  EXPECT_DOUBLE_EQ(w_->units[1].posX, 120.5);
  EXPECT_DOUBLE_EQ(w_->screenFade, 1.0);
  EXPECT_EQ(w_->terrainView[0], 47);
  EXPECT_EQ(w_->terrainView[3], 64);
  // From episode 1: music, loading picture and art of episode 2, with the FPS timer off.
  w_->episode = 1;
  w_->episodeName.Set(EpisodeName(1));
  RecordingHost other;
  ASSERT_EQ(LoadGame(*w_, other).status, SlotLoad::kLoaded);
  const std::vector<std::string> expected = {"fps off",          "music2", "progress0", "loading2",
                                             "art Ледяной плен", "fps on", minimap};
  EXPECT_EQ(other.calls, expected);
  EXPECT_EQ(w_->episode, 2);
  // From the menu into the episode whose art is still loaded: its music, not the art.
  w_->GameMode = 1;
  RecordingHost menu;
  ASSERT_EQ(LoadGame(*w_, menu).status, SlotLoad::kLoaded);
  EXPECT_EQ(menu.calls, (std::vector<std::string>{"music2", minimap}));
  // A missing slot does nothing at all.
  w_->saveSlot = 9;
  RecordingHost none;
  EXPECT_EQ(LoadGame(*w_, none).status, SlotLoad::kMissing);
  EXPECT_TRUE(none.calls.empty());
}

// A child process saves two different games in turn into one slot and is killed at random
// moments; every time, the slot's .qvs, .txt and .tga are each whole: the old or the new.
TEST_F(SaveSlotTest, AKillDuringSavingLeavesTheOldOrTheNewSlotWhole) {
  auto a = std::make_unique<WorldState>();
  auto b = std::make_unique<WorldState>();
  MakePlayable(*a, root_);
  MakePlayable(*b, root_);
  for (size_t i = 0; i < sizeof(a->heightMap); i += 4093)
    b->heightMap[i / kMapSize][i % kMapSize] = 9;
  b->experience = 4321;
  b->units[1].posX = 7.0;
  const std::vector<uint8_t> thumbB(3000, 0x5A);
  ASSERT_TRUE(WriteSaveSlot(*a, kThumb));
  const auto qvsA = ReadFileBytes(Slot(root_, 7, ".qvs"));
  const auto txtA = ReadFileBytes(Slot(root_, 7, ".txt"));
  ASSERT_TRUE(WriteSaveSlot(*b, thumbB));
  const auto qvsB = ReadFileBytes(Slot(root_, 7, ".qvs"));
  const auto txtB = ReadFileBytes(Slot(root_, 7, ".txt"));
  ASSERT_NE(qvsA, qvsB);
  ASSERT_NE(txtA, txtB);

  constexpr int kRounds = 10;
  std::mt19937 random(12345);
  int sawA = 0, sawB = 0;
  for (int round = 0; round < kRounds; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = 0;; ++n) WriteSaveSlot(n % 2 == 0 ? *a : *b, n % 2 == 0 ? kThumb : thumbB);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 200000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    InvalidatePathCache();
    const auto qvs = ReadFileBytes(Slot(root_, 7, ".qvs"));
    const auto txt = ReadFileBytes(Slot(root_, 7, ".txt"));
    const auto tga = ReadFileBytes(Slot(root_, 7, ".tga"));
    EXPECT_TRUE(qvs == qvsA || qvs == qvsB) << "round " << round << ": " << qvs.size();
    EXPECT_TRUE(txt == txtA || txt == txtB) << "round " << round;
    EXPECT_TRUE(tga == kThumb || tga == thumbB) << "round " << round;
    (qvs == qvsA ? sawA : sawB) += 1;
    auto loaded = std::make_unique<WorldState>();
    EXPECT_EQ(ReadSaveSlot(w_->appPath, 7, *loaded).status, SlotLoad::kLoaded) << round;
  }
  EXPECT_EQ(sawA + sawB, kRounds);
}

// ---- The slot window ----

TEST_F(SaveSlotTest, BrowsingWrapsBetweenOneAndNinetyNine) {
  struct Case {
    int32_t from;
    bool next;
    int32_t to;
  };
  const Case cases[] = {{1, false, 99},  {99, true, 1}, {50, true, 51},
                        {50, false, 49}, {0, true, 2},  {250, false, 99}};
  SlotWindow win;
  for (const Case& c : cases) {
    w_->browseSlot = c.from;
    win.visible = true;
    c.next ? NextSlot(*w_, win) : PreviousSlot(*w_, win);
    EXPECT_EQ(w_->browseSlot, c.to) << c.from << (c.next ? " >>" : " <<");
    EXPECT_EQ(U(win.slotLine), "Номер сохранения : " + std::to_string(c.to));
  }
  win.visible = false;  // a hidden window does not browse
  NextSlot(*w_, win);
  PreviousSlot(*w_, win);
  EXPECT_EQ(w_->browseSlot, cases[std::size(cases) - 1].to);
}

TEST_F(SaveSlotTest, TheWindowShowsASlotByItsThumbnailAndDeletesIt) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));
  w_->browseSlot = 7;
  SlotWindow win;
  OpenSlotWindow(*w_, win, SlotMode::kLoad);
  EXPECT_TRUE(win.visible);
  EXPECT_EQ(U(win.actionCaption), "Загрузить");
  EXPECT_TRUE(win.slotUsed);
  EXPECT_EQ(win.thumbnail, w_->appPath + "gdata\\savegame\\slot7.tga");
  EXPECT_EQ(U(win.lines[5]), "Здоровье : 40%");
  // A thumbnail without its description shows empty lines.
  fs::remove(Slot(root_, 7, ".txt"));
  InvalidatePathCache();
  RefreshSlotWindow(*w_, win);
  EXPECT_TRUE(win.slotUsed);
  EXPECT_EQ(win.lines[0], "");
  // "Удалить" removes what is there and shows the empty slot.
  EXPECT_TRUE(DeleteSlot(*w_, win));
  EXPECT_FALSE(fs::exists(Slot(root_, 7, ".qvs")));
  EXPECT_FALSE(fs::exists(Slot(root_, 7, ".tga")));
  EXPECT_FALSE(win.slotUsed);
  EXPECT_EQ(win.thumbnail, w_->appPath + "gdata\\textures\\int\\empty.qvt");
  EXPECT_TRUE(DeleteSlot(*w_, win));  // deleting nothing is silent
  win.visible = false;
  EXPECT_FALSE(DeleteSlot(*w_, win));
}

TEST_F(SaveSlotTest, TheActionChoosesASlotOrLoadsTheGame) {
  ASSERT_TRUE(WriteSaveSlot(*w_, kThumb));  // slot 7
  RecordingHost host;
  SlotWindow win;
  w_->browseSlot = 12;
  OpenSlotWindow(*w_, win, SlotMode::kChoose);
  EXPECT_EQ(U(win.actionCaption), "Выбрать");
  EXPECT_EQ(SlotAction(*w_, win, host).result, SlotActionResult::kHeroSelection);
  EXPECT_EQ(w_->saveSlot, 12);
  EXPECT_FALSE(win.visible);
  EXPECT_EQ(SlotAction(*w_, win, host).result, SlotActionResult::kNone);
  // Loading an empty slot keeps the window and the game's slot.
  OpenSlotWindow(*w_, win, SlotMode::kLoad);
  EXPECT_EQ(SlotAction(*w_, win, host).result, SlotActionResult::kMissing);
  EXPECT_TRUE(win.visible);
  EXPECT_EQ(w_->saveSlot, 12);
  // A damaged slot: the message, and the running game with its slot as it was.
  WriteFileBytes(Slot(root_, 12, ".qvs"), std::vector<uint8_t>(100, 1));
  w_->experience = 5;
  const SlotActionOutcome refused = SlotAction(*w_, win, host);
  EXPECT_EQ(refused.result, SlotActionResult::kRefused);
  EXPECT_FALSE(refused.message.text.empty());
  EXPECT_EQ(w_->experience, 5);
  EXPECT_TRUE(win.visible);
  // Slot 7 loads and becomes the game's slot.
  w_->browseSlot = 7;
  EXPECT_EQ(SlotAction(*w_, win, host).result, SlotActionResult::kLoaded);
  EXPECT_EQ(w_->saveSlot, 7);
  EXPECT_EQ(w_->experience, 1234);
  EXPECT_FALSE(win.visible);
}

}  // namespace
}  // namespace skerrow
