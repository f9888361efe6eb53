// Raw file transfers of the game state: save block, land, unit, bonus and kind pack ranges.
#include "world/raw_io.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

// A byte pattern that differs between neighbouring bytes and between far-apart records, so a
// range read at the wrong offset or a swapped slot shows up.
uint8_t PatternByte(size_t i, uint8_t seed) {
  return static_cast<uint8_t>((i * 31u) ^ (i >> 9) ^ (i >> 17) ^ seed);
}

void FillPattern(std::span<uint8_t> bytes, uint8_t seed) {
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = PatternByte(i, seed);
}

std::vector<uint8_t> ReadWholeFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteWholeFile(const fs::path& p, std::span<const uint8_t> bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  InvalidatePathCache();
}

class RawIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/skerrow_world_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    InvalidatePathCache();
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
    InvalidatePathCache();
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(RawIoTest, SaveBlockRoundTripsByteForByte) {
  auto written = std::make_unique<WorldState>();
  FillPattern(SavedBytes(*written), 0x5a);
  ASSERT_TRUE(WriteFileRange(PathOf("slot1.qvs"), SavedBytes(*written)));

  const std::vector<uint8_t> file = ReadWholeFile(dir_ / "slot1.qvs");
  ASSERT_EQ(file.size(), kSavedBlockSize);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), SavedBytes(*written).begin()));

  auto read = std::make_unique<WorldState>();
  read->frameCounter = 77;  // memory-only state survives a load
  EXPECT_EQ(ReadFileRange(PathOf("slot1.qvs"), SavedBytes(*read)), kSavedBlockSize);
  EXPECT_EQ(std::memcmp(&Saved(*read), &Saved(*written), kSavedBlockSize), 0);
  EXPECT_EQ(read->frameCounter, 77);
  EXPECT_EQ(read->GameMode, written->GameMode);
  EXPECT_EQ(std::memcmp(&read->particles[kParticleSlots], &written->particles[kParticleSlots],
                        sizeof(ParticleRecord)),
            0);
}

// The land file is saved-block bytes 57,648 .. 7,044,423 and nothing else: height map, terrain
// view, statics with their objects, slot 0 included.
TEST_F(RawIoTest, LandRangeCarriesMapAndStaticsOnly) {
  auto editor = std::make_unique<WorldState>();
  FillPattern(SavedBytes(*editor), 0x11);
  editor->heightMap[2047][5] = 200;
  editor->terrainView[3] = 75;
  editor->statics[0].terrainKind = 9;
  editor->statics[kStaticSlots - 1].objects[kStaticObjectSlots - 1].objectKind = 128;
  ASSERT_TRUE(WriteFileRange(PathOf("Land1.lan"), LandBytes(*editor)));

  const std::vector<uint8_t> file = ReadWholeFile(dir_ / "Land1.lan");
  ASSERT_EQ(file.size(), kLandRangeSize);
  EXPECT_EQ(file[0], editor->heightMap[0][0]);  // the height map is the first byte

  auto game = std::make_unique<WorldState>();
  FillPattern(SavedBytes(*game), 0xc3);
  std::vector<uint8_t> before(SavedBytes(*game).begin(), SavedBytes(*game).end());
  EXPECT_EQ(ReadFileRange(PathOf("Land1.lan"), LandBytes(*game)), kLandRangeSize);

  const auto after = SavedBytes(*game);
  const auto source = SavedBytes(*editor);
  size_t outsideChanged = 0, insideDifferent = 0;
  for (size_t i = 0; i < kSavedBlockSize; ++i) {
    const bool inLand = i >= kLandRangeBegin && i < kLandRangeBegin + kLandRangeSize;
    if (inLand) {
      insideDifferent += after[i] != source[i];
    } else {
      outsideChanged += after[i] != before[i];
    }
  }
  EXPECT_EQ(insideDifferent, 0u);
  EXPECT_EQ(outsideChanged, 0u);
  EXPECT_EQ(game->heightMap[2047][5], 200);
  EXPECT_EQ(game->terrainView[3], 75);
  EXPECT_EQ(game->statics[0].terrainKind, 9);
  EXPECT_EQ(game->statics[kStaticSlots - 1].objects[kStaticObjectSlots - 1].objectKind, 128);
}

// Unit and bonus files are the whole tables, slot 0 included, in slot order.
TEST_F(RawIoTest, UnitAndBonusTablesKeepSlotZeroAndOrder) {
  auto editor = std::make_unique<WorldState>();
  for (int32_t i = 0; i < kUnitSlots; ++i) editor->units[i].unitKind = i + 1000;
  for (int32_t i = 0; i < kBonusSlots; ++i) editor->bonuses[i].tag = i + 2000;
  editor->units[0].ctlPrevious[kCtlWeaponZ] = 1;
  ASSERT_TRUE(WriteFileRange(PathOf("normal1.unt"), UnitBytes(*editor)));
  ASSERT_TRUE(WriteFileRange(PathOf("normal1.bon"), BonusBytes(*editor)));

  const std::vector<uint8_t> unt = ReadWholeFile(dir_ / "normal1.unt");
  const std::vector<uint8_t> bon = ReadWholeFile(dir_ / "normal1.bon");
  ASSERT_EQ(unt.size(), 69'632u);
  ASSERT_EQ(bon.size(), 33'792u);
  int32_t kind0 = 0, tag255 = 0;
  std::memcpy(&kind0, unt.data() + offsetof(UnitRecord, unitKind), 4);
  std::memcpy(&tag255, bon.data() + 255 * sizeof(BonusRecord) + offsetof(BonusRecord, tag), 4);
  EXPECT_EQ(kind0, 1000);
  EXPECT_EQ(tag255, 2255);

  auto game = std::make_unique<WorldState>();
  game->playerUnit = 1;
  game->unitAlerted[0] = 7;
  EXPECT_EQ(ReadFileRange(PathOf("NORMAL1.UNT"), UnitBytes(*game)), 69'632u);
  EXPECT_EQ(ReadFileRange(PathOf("normal1.bon"), BonusBytes(*game)), 33'792u);
  EXPECT_EQ(std::memcmp(game->units, editor->units, sizeof(game->units)), 0);
  EXPECT_EQ(std::memcmp(game->bonuses, editor->bonuses, sizeof(game->bonuses)), 0);
  EXPECT_EQ(game->units[0].ctlPrevious[kCtlWeaponZ], 1);
  // Neighbours of the unit table are not touched.
  EXPECT_EQ(game->unitAlerted[0], 7);
  EXPECT_EQ(game->cameraNumber, 0);
}

TEST_F(RawIoTest, UnitParameterFileIsOneRecord) {
  UnitRecord hero{};
  hero.unitKind = 2;
  hero.maxLife = 150.5f;
  hero.sidePowerSpeed = 0.25f;
  ASSERT_TRUE(WriteFileRange(PathOf("unit2.par"), UnitRecordBytes(hero)));
  EXPECT_EQ(fs::file_size(dir_ / "unit2.par"), 272u);

  auto ws = std::make_unique<WorldState>();
  EXPECT_EQ(ReadFileRange(PathOf("unit2.par"), UnitRecordBytes(ws->heroDefaults[2])), 272u);
  EXPECT_EQ(std::memcmp(&ws->heroDefaults[2], &hero, sizeof hero), 0);
  EXPECT_EQ(ws->heroDefaults[1].unitKind, 0);
  EXPECT_EQ(ws->heroDefaults[3].unitKind, 0);
}

// The kind pack is 256 kind records and 16 more bytes, read as one range; a longer file gives
// no more than that.
TEST_F(RawIoTest, KindPackFillsTableAndTrailingBytes) {
  std::vector<uint8_t> pack(kKindPackSize + 100);
  FillPattern(pack, 0x77);
  WriteWholeFile(dir_ / "Skerrow.qvp", pack);

  auto ws = std::make_unique<WorldState>();
  ws->heroDefaults[1].unitKind = 1;  // lies right after the kind table
  EXPECT_EQ(ReadFileRange(PathOf("skerrow.QVP"), KindPackBytes(*ws)), kKindPackSize);
  EXPECT_TRUE(std::equal(KindPackBytes(*ws).begin(), KindPackBytes(*ws).end(), pack.begin()));
  float standoffMax = 0;
  std::memcpy(&standoffMax, pack.data() + 255 * sizeof(KindRecord) + 3144, 4);
  EXPECT_EQ(std::memcmp(&ws->kindTable[255].kindStandoffMax, &standoffMax, 4), 0);
  EXPECT_EQ(ws->kindTable.trailing[15], pack[kKindPackSize - 1]);
  EXPECT_EQ(ws->heroDefaults[1].unitKind, 1);
  EXPECT_EQ(ws->kindTable.at(-1), nullptr);
  EXPECT_EQ(ws->kindTable.at(kKindCount), nullptr);
}

// Reads of files shorter than, equal to and longer than the range, of missing files and of
// things that are not files: the file's bytes land at the start, everything else stays.
TEST_F(RawIoTest, ReadFillsOnlyWhatTheFileHolds) {
  constexpr size_t kRange = 272;
  struct Case {
    const char* name;
    long fileSize;  // -1: no file; -2: a directory of that name
    size_t expectRead;
  };
  const Case cases[] = {
      {"empty", 0, 0},           {"one", 1, 1},
      {"short", 100, 100},       {"one_less", kRange - 1, kRange - 1},
      {"exact", kRange, kRange}, {"longer", kRange + 50, kRange},
      {"missing", -1, 0},        {"adir", -2, 0},
      {"endless", -3, 0},  // a link to /dev/zero: a device, never read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path p = dir_ / c.name;
    std::vector<uint8_t> content;
    if (c.fileSize >= 0) {
      content.resize(static_cast<size_t>(c.fileSize));
      FillPattern(content, 0x3c);
      WriteWholeFile(p, content);
    } else if (c.fileSize == -2) {
      fs::create_directory(p);
      InvalidatePathCache();
    } else if (c.fileSize == -3) {
      fs::create_symlink("/dev/zero", p);
      InvalidatePathCache();
    }
    std::vector<uint8_t> dst(kRange, 0xee);
    EXPECT_EQ(ReadFileRange(p.string(), dst), c.expectRead);
    for (size_t i = 0; i < kRange; ++i) {
      const uint8_t expected = i < c.expectRead ? content[i] : 0xee;
      if (dst[i] != expected) {
        ADD_FAILURE() << "byte " << i;
        break;
      }
    }
  }
}

TEST_F(RawIoTest, ShortSaveGameLeavesTheRestOfTheBlock) {
  std::vector<uint8_t> head(offsetof(SavedState, heightMap));  // up to the height map
  FillPattern(head, 0x21);
  WriteWholeFile(dir_ / "slot2.qvs", head);

  auto ws = std::make_unique<WorldState>();
  ws->heightMap[0][0] = 9;
  ws->skyFogTarget.a = 1.0f;
  EXPECT_EQ(ReadFileRange(PathOf("slot2.qvs"), SavedBytes(*ws)), head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), SavedBytes(*ws).begin()));
  EXPECT_EQ(ws->heightMap[0][0], 9);
  EXPECT_EQ(ws->skyFogTarget.a, 1.0f);
}

TEST_F(RawIoTest, GamePathsUseBackslashesAndAnyLetterCase) {
  fs::create_directories(dir_ / "gdata" / "savegame");
  InvalidatePathCache();
  const std::vector<uint8_t> bytes = {1, 2, 3, 4};
  ASSERT_TRUE(WriteFileRange(dir_.string() + "/GData\\SaveGame\\slot3.qvs", bytes));
  EXPECT_EQ(ReadWholeFile(dir_ / "gdata" / "savegame" / "slot3.qvs"), bytes);
  std::vector<uint8_t> back(4);
  EXPECT_EQ(ReadFileRange(dir_.string() + "/gdata\\SAVEGAME\\Slot3.qvs", back), 4u);
  EXPECT_EQ(back, bytes);
}

// A write replaces the whole file: a smaller range over a longer old file leaves no old tail.
TEST_F(RawIoTest, WriteReplacesLongerFileExactly) {
  std::vector<uint8_t> old(1000, 0xaa);
  WriteWholeFile(dir_ / "unit5.par", old);
  UnitRecord u{};
  u.tag = 42;
  ASSERT_TRUE(WriteFileRange(PathOf("unit5.par"), UnitRecordBytes(u)));
  const std::vector<uint8_t> file = ReadWholeFile(dir_ / "unit5.par");
  ASSERT_EQ(file.size(), sizeof(UnitRecord));
  EXPECT_EQ(std::memcmp(file.data(), &u, sizeof u), 0);
}

// Failed writes report false and leave nothing behind: no half-written file, no temporary.
TEST_F(RawIoTest, FailedWritesReportFalseAndLeaveNoTrace) {
  const std::vector<uint8_t> bytes(64, 1);
  EXPECT_FALSE(WriteFileRange("", bytes));
  EXPECT_FALSE(WriteFileRange(PathOf("no_such_dir/Land1.lan"), bytes));
  EXPECT_FALSE(fs::exists(dir_ / "no_such_dir"));

  // A directory where the file should go: the write fails and the directory stays as it was.
  fs::create_directory(dir_ / "slot4.qvs");
  InvalidatePathCache();
  EXPECT_FALSE(WriteFileRange(PathOf("slot4.qvs"), bytes));
  EXPECT_TRUE(fs::is_directory(dir_ / "slot4.qvs"));
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename(), "slot4.qvs") << "left behind: " << entry.path();
  }
}

// A write into what a path names: a FIFO (or a device) gets the bytes and stays what it is, a
// directory is refused, a missing or regular file is replaced whole.
TEST_F(RawIoTest, WriteInPlaceNeverReplacesADeviceOrFifo) {
  const std::vector<uint8_t> bytes(100, 7);
  const fs::path fifo = dir_ / "dump.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(WriteFileInPlace(fifo.string(), bytes));
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
  uint8_t got[200] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 100);
  ::close(reader);
  EXPECT_FALSE(WriteFileInPlace(fifo.string(), bytes));  // no reader now: refused, not waited on
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

  fs::create_directory(dir_ / "folder");
  EXPECT_FALSE(WriteFileInPlace((dir_ / "folder").string(), bytes));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder"));

  WriteWholeFile(dir_ / "old.qvs", std::vector<uint8_t>(1000, 1));
  for (const char* name : {"old.qvs", "new.qvs"}) {
    EXPECT_TRUE(WriteFileInPlace((dir_ / name).string(), bytes)) << name;
    EXPECT_EQ(ReadWholeFile(dir_ / name), bytes) << name;
  }
  EXPECT_TRUE(WriteFileInPlace("/dev/null", bytes));
}

// Entries of the 1-based tables land at their byte offsets in a save game: particles[1] at
// 7,169,808, snowflakes[1] at 7,114,992, statusIcons[1] at 7,044,716, and the last ones
// one record short of the next field.
TEST_F(RawIoTest, OneBasedTablesLandAtTheirFileOffsets) {
  auto ws = std::make_unique<WorldState>();
  ws->particles[1].kind = 0x01020304;
  ws->particles[kParticleSlots].param172 = 0x05060708;
  ws->snowflakes[1].variant = 3;
  ws->snowflakes[kSnowflakeSlots].reserved98[1] = 0x99;
  ws->statusIcons[1] = 0x0a0b0c0d;
  ws->statusIcons[kStatusIconSlots] = 0x11121314;
  ASSERT_TRUE(WriteFileRange(PathOf("slot5.qvs"), SavedBytes(*ws)));
  const std::vector<uint8_t> file = ReadWholeFile(dir_ / "slot5.qvs");
  ASSERT_EQ(file.size(), kSavedBlockSize);

  auto int32At = [&](size_t off) {
    int32_t v = 0;
    std::memcpy(&v, file.data() + off, 4);
    return v;
  };
  EXPECT_EQ(int32At(7'169'808), 0x01020304);
  EXPECT_EQ(int32At(7'514'768 - 4), 0x05060708);  // param172 of particle 1960, before playerName
  EXPECT_EQ(file[7'114'992 + 97], 3);
  EXPECT_EQ(file[7'135'992 - 1], 0x99);  // last byte of snowflake 210, before respawnProtection
  EXPECT_EQ(int32At(7'044'716), 0x0a0b0c0d);
  EXPECT_EQ(int32At(7'044'756 - 4), 0x11121314);

  EXPECT_EQ(ws->particles.at(0), nullptr);
  EXPECT_EQ(ws->particles.at(kParticleSlots + 1), nullptr);
  EXPECT_EQ(ws->particles.at(kParticleSlots), &ws->particles[kParticleSlots]);
  EXPECT_EQ(ws->snowflakes.at(kSnowflakeSlots + 1), nullptr);
  EXPECT_EQ(ws->statusIcons.at(-5), nullptr);
}

}  // namespace
}  // namespace skerrow
