// Hostile level and save files through the executable, headless: a neighbour level whose files
// are short, long or hold hostile kinds or places that are not numbers, and a damaged save in a
// slot, each shows its message once and play goes on exactly as it would without them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/fixture_pack.h"
#include "world/records.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kBuild = std::string(SKERROW_BINARY_DIR) + "/";

bool HaveGame() {
  return fs::exists(kBuild + "gdata/Skerrow.qvp") && fs::exists(kBuild + "skerrow");
}

struct GameRun {
  int exitCode = -1;
  std::vector<uint8_t> dump;
  std::string messages;  // stderr: the headless game's message boxes
};

GameRun RunGame(const fs::path& root, const std::string& args) {
  const fs::path dump = root / "dump.qvs", err = root / "stderr.txt";
  fs::remove(dump);
  const std::string cmd = kBuild + "skerrow --headless --seed 5 --size 160x120 --root " +
                          root.string() + " " + args + " --dump-state " + dump.string() +
                          " > /dev/null 2> " + err.string();
  const int rc = std::system(cmd.c_str());
  GameRun r;
  r.exitCode = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.dump = test::ReadFileBytes(dump);
  std::ifstream in(err);
  r.messages.assign(std::istreambuf_iterator<char>(in), {});
  return r;
}

// The dump without what the fixture alone makes differ: the exit marker's target level (unit 3)
// and the four edge links it opens every step.
std::vector<uint8_t> Unlinked(std::vector<uint8_t> dump) {
  if (dump.size() == sizeof(SavedState)) {
    std::memset(dump.data() + offsetof(SavedState, neighbourPlusX), 0, 4 * sizeof(int32_t));
    std::memset(dump.data() + offsetof(SavedState, units) + 3 * sizeof(UnitRecord) +
                    offsetof(UnitRecord, rotateSpeed),
                0, sizeof(float));
  }
  return dump;
}

// The first byte where two dumps differ, for the failure message (-1: none).
long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size()) return 0;
  const auto m = std::mismatch(a.begin(), a.end(), b.begin());
  return m.first == a.end() ? -1 : static_cast<long>(m.first - a.begin());
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Level 41: the hero's ship at the -z edge band, an armed exit marker whose edge leads to
// `target`, a gunboat. Level 42: open sea with the ship's place, damaged by `damage`.
void WriteLevels(const fs::path& root, int32_t target) {
  UnitRecord exit = test::FixtureUnit(kind::kExitMarker, 4, 4, 0.0, 100000);
  exit.sinking = 1;
  exit.acceleration = 4;  // edge -z
  exit.rotateSpeed = static_cast<float>(target);
  test::WriteFixtureLevel(root, 41,
                          {{1, test::FixtureUnit(kind::kPaddleSteamer, 128, 15, 0.0, 100)},
                           {2, test::FixtureUnit(kind::kGunboat, 60, 60, 1.0, 40)},
                           {3, exit}},
                          {});
  test::WriteFixtureLevel(root, 42,
                          {{1, test::FixtureUnit(kind::kPaddleSteamer, 128, 200, 0.0, 100)},
                           {2, test::FixtureUnit(kind::kGunboat, 100, 100, 0.0, 40)}},
                          {{1, test::FixtureBonus(bonus::kCoin, 120, 190, 0)}});
}

fs::path LevelFile(const fs::path& root, const std::string& name) {
  return root / "gdata" / "Worlds" / test::kFixtureEpisode / "Data" / name;
}

// Patches `size` bytes at `offset` of a level file.
void Patch(const fs::path& file, size_t offset, const void* bytes, size_t size) {
  std::vector<uint8_t> b = test::ReadFileBytes(file);
  ASSERT_LE(offset + size, b.size());
  std::memcpy(b.data() + offset, bytes, size);
  test::WriteFileBytes(file, b);
}

TEST(HostileFiles, ARefusedNeighbourLevelLeavesPlayAsIfTheEdgeWereClosed) {
  if (!HaveGame()) GTEST_SKIP() << "no executable or content pack";
  const int32_t kind999 = 999;
  const double nan = std::nan("");
  const int32_t wide = 4096;
  const size_t unit2 = 2 * sizeof(UnitRecord), bonus1 = sizeof(BonusRecord);
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> damage;  // on the root whose level 42 it damages
    const char* said;                             // a part of the message
  };
  const Case cases[] = {
      {"short land",
       [](const fs::path& r) { fs::resize_file(LevelFile(r, "Land42.lan"), kLandRangeSize - 8); },
       "содержит 6986768 байт"},
      {"long units",
       [](const fs::path& r) {
         fs::resize_file(LevelFile(r, "normal42.unt"), sizeof(UnitRecord) * kUnitSlots + 1);
       },
       "длиннее 69632 байт"},
      {"short bonuses", [](const fs::path& r) { fs::resize_file(LevelFile(r, "normal42.bon"), 5); },
       "содержит 5 байт"},
      {"unit kind",
       [&](const fs::path& r) {
         Patch(LevelFile(r, "normal42.unt"), unit2 + offsetof(UnitRecord, unitKind), &kind999, 4);
       },
       "у единицы 2 неизвестный тип 999"},
      {"unit place",
       [&](const fs::path& r) {
         Patch(LevelFile(r, "normal42.unt"), unit2 + offsetof(UnitRecord, posX), &nan, 8);
       },
       "место единицы 2 не число"},
      {"bonus place",
       [&](const fs::path& r) {
         Patch(LevelFile(r, "normal42.bon"), bonus1 + offsetof(BonusRecord, posZ), &nan, 8);
       },
       "место бонуса 1"},
      {"terrain piece",
       [&](const fs::path& r) {
         const size_t at = offsetof(SavedState, statics) - kLandRangeBegin + sizeof(StaticRecord);
         const uint8_t alive = 1;
         Patch(LevelFile(r, "Land42.lan"), at + offsetof(StaticRecord, alive), &alive, 1);
         Patch(LevelFile(r, "Land42.lan"), at + offsetof(StaticRecord, terrainKind), &kind999, 4);
       },
       "у острова 1 неизвестный вид суши 999"},
      {"level size",
       [&](const fs::path& r) {
         TPixels size{wide, 1, 3, std::vector<uint8_t>(static_cast<size_t>(wide) * 3, 0)};
         test::WriteFileBytes(LevelFile(r, "size42.qvt"), EncodeBmp24(size));
       },
       "Размер уровня 4096"},
  };
  // The ship starts inside the -z band: the first step asks for level 42. With the edge closed
  // (the marker leads to level 0) nothing is asked; the runs must end the same.
  const std::string args = "--start 1:41 --ticks 30";
  const fs::path closed = test::FixturePack("hostile_closed", kBuild + "gdata");
  WriteLevels(closed, 0);
  const GameRun reference = RunGame(closed, args);
  ASSERT_EQ(reference.exitCode, 0);
  ASSERT_EQ(reference.dump.size(), sizeof(SavedState));
  {
    // The sound level 42 is entered: the fixture does reach it.
    const fs::path open = test::FixturePack("hostile_open", kBuild + "gdata");
    WriteLevels(open, 42);
    const GameRun entered = RunGame(open, args);
    ASSERT_EQ(entered.dump.size(), sizeof(SavedState));
    auto s = std::make_unique<SavedState>();
    std::memcpy(s.get(), entered.dump.data(), sizeof(SavedState));
    EXPECT_EQ(s->levelNumber, 42);
    EXPECT_EQ(Count(entered.messages, "не загружается"), 0u) << entered.messages;
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path root = test::FixturePack("hostile_level", kBuild + "gdata");
    WriteLevels(root, 42);
    c.damage(root);
    const GameRun r = RunGame(root, args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(FirstDifference(Unlinked(r.dump), Unlinked(reference.dump)), -1)
        << "the refused level changed the game at this offset of the block";
    // Shown once, though the ship stays at the edge step after step.
    EXPECT_EQ(Count(r.messages, "Skerrow: "), 1u) << r.messages;
    EXPECT_NE(r.messages.find(c.said), std::string::npos) << r.messages;
  }
}

// A save refused when loaded (--load, as the slot window loads) leaves the running game as it
// was: the dump equals that of the same run without the load.
TEST(HostileFiles, ADamagedSaveInASlotIsRefusedAndPlayGoesOn) {
  if (!HaveGame()) GTEST_SKIP() << "no executable or content pack";
  const fs::path root = test::FixturePack("hostile_save", kBuild + "gdata");
  WriteLevels(root, 0);
  // A sound save of level 41 in slot 2, then damaged copies of it.
  ASSERT_EQ(RunGame(root, "--start 1:41 --slot 2 --ticks 1").exitCode, 0);
  const fs::path slot = root / "gdata" / "savegame" / "slot2.qvs";
  const std::vector<uint8_t> good = test::ReadFileBytes(slot);
  ASSERT_EQ(good.size(), kSavedBlockSize);
  const size_t units = offsetof(SavedState, units);
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* said;
  };
  const Case cases[] = {
      {"empty", [](std::vector<uint8_t>& b) { b.clear(); }, "содержит 0 байт"},
      {"short", [](std::vector<uint8_t>& b) { b.pop_back(); }, "содержит 7515315 байт"},
      {"long", [](std::vector<uint8_t>& b) { b.push_back(0); }, "длиннее"},
      {"unit kind",
       [&](std::vector<uint8_t>& b) {
         const size_t u = units + 2 * sizeof(UnitRecord);
         const int32_t k = -7;
         std::memcpy(b.data() + u + offsetof(UnitRecord, unitKind), &k, 4);
       },
       "у единицы 2 неизвестный тип -7"},
      {"player's place",
       [&](std::vector<uint8_t>& b) {
         const double nan = std::nan("");
         std::memcpy(b.data() + units + sizeof(UnitRecord), &nan, 8);
       },
       "место корабля игрока"},
      {"player slot",
       [&](std::vector<uint8_t>& b) {
         const int32_t slot = 4096;
         std::memcpy(b.data() + offsetof(SavedState, playerUnit), &slot, 4);
       },
       "номер корабля игрока 4096"},
  };
  const std::string args = "--start 1:41 --ticks 20";
  const GameRun reference = RunGame(root, args);
  ASSERT_EQ(reference.dump.size(), sizeof(SavedState));
  // The sound save loads, and the game is then not the one it was.
  const GameRun loaded = RunGame(root, args + " --load 2");
  EXPECT_EQ(loaded.exitCode, 0);
  EXPECT_FALSE(loaded.dump == reference.dump);
  EXPECT_EQ(Count(loaded.messages, "Skerrow: "), 0u) << loaded.messages;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> b = good;
    c.damage(b);
    test::WriteFileBytes(slot, b);
    const GameRun r = RunGame(root, args + " --load 2");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(FirstDifference(r.dump, reference.dump), -1)
        << "the refused save changed the game at this offset of the block";
    EXPECT_EQ(Count(r.messages, "Skerrow: "), 1u) << r.messages;
    EXPECT_NE(r.messages.find("slot2.qvs"), std::string::npos) << r.messages;
    EXPECT_NE(r.messages.find(c.said), std::string::npos) << r.messages;
  }
}

}  // namespace
}  // namespace skerrow
