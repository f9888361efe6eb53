// Save games: slot files, description lines, the all-or-nothing slot write, the block checks
// and the two loads.
#include "world/save_game.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/cp1251.h"
#include "platform/log.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "world/raw_io.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

std::string Num(int64_t n) {
  return std::to_string(n);
}

// Literal parts of the description lines (UTF-8 here, Windows-1251 in the file).
constexpr const char* kLinePlayer = "Игрок : ";
constexpr const char* kLineShip = "Корабль : ";
constexpr const char* kLineEpisode = "Эпизод : ";
constexpr const char* kLineLevel = ", Уровень : ";
constexpr const char* kLineHeroLevel = "Уровень героя : ";
constexpr const char* kLineLives = "Жизни : ";
constexpr const char* kLineHealth = "Здоровье : ";
constexpr const char* kLineExperience = "Опыт : ";

constexpr int32_t kLastHeroLevel = 99;
constexpr int32_t kCameraCount = 10;          // cameraNumber 1..10
constexpr int32_t kLastStatusIcon = 15;       // status icon codes up to 15 (key 3)
constexpr int32_t kLastSnowflakeVariant = 3;  // snowflake textures 1..3

bool InRange(int64_t v, int64_t lo, int64_t hi) {
  return v >= lo && v <= hi;
}

// A name is drawn by the interface and written as one description line: no control bytes.
bool PlainText(std::string_view s) {
  return std::none_of(s.begin(), s.end(), [](char c) { return static_cast<uint8_t>(c) < 32; });
}

// gdata\savegame, or the player's own save folder (UserFilePath).
std::string SaveFolder(const std::string& appPath) {
  return UserFilePath(UserFile::kSaveFolder, appPath);
}

// The refusal of slot `slot` for `why`.
LevelMessage Refusal(const std::string& appPath, int32_t slot, const std::string& why) {
  return {"Skerrow", "Сохранение «" + ResolvePath(SlotFile(appPath, slot, ".qvs")) +
                         "» не загружается: " + why + "."};
}

}  // namespace

std::string SlotFile(const std::string& appPath, int32_t slot, std::string_view ext) {
  return SaveFolder(appPath) + "\\slot" + Num(slot) + std::string(ext);
}

SlotDescription DescribeSave(const SavedState& s) {
  double health = 0.0;
  if (s.playerUnit >= 1 && s.playerUnit < kUnitSlots) {
    const UnitRecord& p = s.units[s.playerUnit];
    health = 100.0 * static_cast<double>(p.life) / static_cast<double>(p.maxLife);
  }
  SlotDescription d;
  d[0] = Utf8ToCp1251(kLinePlayer) + std::string(s.playerName.View());
  d[1] = Utf8ToCp1251(kLineShip) + std::string(s.shipName.View());
  d[2] = Utf8ToCp1251(kLineEpisode) + std::string(s.episodeName.View()) + Utf8ToCp1251(kLineLevel) +
         Num(s.levelNumber);
  d[3] = Utf8ToCp1251(kLineHeroLevel) + Num(s.heroLevel);
  d[4] = Utf8ToCp1251(kLineLives) + Num(s.lives);
  d[5] = Utf8ToCp1251(kLineHealth) + Num(RoundToInt(health)) + "%";
  d[6] = Utf8ToCp1251(kLineExperience) + Num(s.experience);
  return d;
}

std::string DescriptionFileText(const SlotDescription& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

SlotDescription ParseDescriptionFile(std::string_view text) {
  SlotDescription lines;
  size_t at = 0;
  for (std::string& line : lines) {
    if (at >= text.size()) break;
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view l = text.substr(at, end - at);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    line = std::string(l);
    at = end + 1;
  }
  return lines;
}

namespace {

// The three files of a save into slot saveSlot (1..99): .tga, .txt, then .qvs, whose rename
// comes last so that until then the slot still loads as the old game. Creates the folder.
void PrepareSlotFiles(const WorldState& ws, std::span<const uint8_t> thumbnailTga,
                      std::string (&paths)[3], std::vector<uint8_t> (&bytes)[3]) {
  if (!DirectoryExists(SaveFolder(ws.appPath))) {
    std::error_code ec;
    std::filesystem::create_directories(ResolvePath(SaveFolder(ws.appPath)), ec);
    InvalidatePathCache();
  }
  const std::string text = DescriptionFileText(DescribeSave(ws));
  // Resolved here: the disk work may run on another thread, away from the path cache.
  paths[0] = ResolvePath(SlotFile(ws.appPath, ws.saveSlot, ".tga"));
  paths[1] = ResolvePath(SlotFile(ws.appPath, ws.saveSlot, ".txt"));
  paths[2] = ResolvePath(SlotFile(ws.appPath, ws.saveSlot, ".qvs"));
  bytes[0].assign(thumbnailTga.begin(), thumbnailTga.end());
  bytes[1].assign(text.begin(), text.end());
  const std::span<const uint8_t> block = SavedBytes(ws);
  bytes[2].assign(block.begin(), block.end());
}

// How long a save waits for another game writing into the same folder.
constexpr int kLockWaitMs = 10000;

// Holds the save folder's lock file (`savegame.lock`, flock) while a slot is written: two games
// saving into one folder write one after the other, so that a slot's three files are always
// of one save. A writer that cannot have it within kLockWaitMs gives up.
class FolderLock {
 public:
  explicit FolderLock(const std::string& slotFile) {
    const size_t cut = slotFile.find_last_of('/');
    const std::string dir = cut == std::string::npos ? std::string() : slotFile.substr(0, cut + 1);
    fd_ = ::open((dir + "savegame.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    for (int waited = 0; waited <= kLockWaitMs; waited += 50) {
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return;
      }
      if (errno != EWOULDBLOCK && errno != EINTR) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

// "" when written, else why not.
std::string ReplaceSlotFiles(const std::string (&paths)[3], const std::vector<uint8_t> (&bytes)[3]) {
  const FolderLock lock(paths[2]);
  if (!lock.Held()) return "another game kept the save folder locked";
  const FileImage files[] = {{paths[0], bytes[0]}, {paths[1], bytes[1]}, {paths[2], bytes[2]}};
  return ReplaceDiskFiles(files) ? "" : "the files could not be written";
}

// Why the running game must not be saved: a block the game itself would refuse to load.
std::string Unsaveable(const WorldState& ws) {
  const std::string why = CheckSavedBlock(Saved(ws));
  return why.empty() ? why : "the game would not load it again: " + why;
}

}  // namespace

bool WriteSaveSlot(const WorldState& ws, std::span<const uint8_t> thumbnailTga) {
  if (!InRange(ws.saveSlot, 1, kSaveSlots) || !Unsaveable(ws).empty()) return false;
  std::string paths[3];
  std::vector<uint8_t> bytes[3];
  PrepareSlotFiles(ws, thumbnailTga, paths, bytes);
  const bool ok = ReplaceSlotFiles(paths, bytes).empty();
  InvalidatePathCache();
  return ok;
}

bool SlotWriter::Save(const WorldState& ws, std::span<const uint8_t> thumbnailTga) {
  Finish();
  if (!InRange(ws.saveSlot, 1, kSaveSlots)) return false;
  if (const std::string why = Unsaveable(ws); !why.empty()) {
    ok_ = false;
    std::lock_guard<std::mutex> lock(failureMutex_);
    failure_ = "did not save the game into slot " + Num(ws.saveSlot) + ": " + why;
    return false;
  }
  PrepareSlotFiles(ws, thumbnailTga, paths_, bytes_);
  thread_ = std::thread([this] {
    const std::string why = ReplaceSlotFiles(paths_, bytes_);
    ok_ = why.empty();
    if (ok_) {
      platform::Log("saved the game into " + paths_[2]);
    } else {
      // Logged and told to the player by the game's thread (TakeFailure).
      std::lock_guard<std::mutex> lock(failureMutex_);
      failure_ = "could not save the game into " + paths_[2] + ": " + why;
    }
  });
  return true;
}

bool SlotWriter::Finish() {
  if (!thread_.joinable()) return ok_;
  thread_.join();
  InvalidatePathCache();  // the new files may be missing from cached listings
  return ok_;
}

std::string SlotWriter::TakeFailure() {
  std::lock_guard<std::mutex> lock(failureMutex_);
  return std::exchange(failure_, {});
}

std::string CheckSavedBlock(const SavedState& s) {
  if (!InRange(s.GameMode, game_mode::kMenu, game_mode::kEditorView)) {
    return "режим игры " + Num(s.GameMode) + " вне пределов 1..3";
  }
  if (!InRange(s.menuScreen, menu_screen::kMain, menu_screen::kOutro)) {
    return "экран меню " + Num(s.menuScreen) + " вне пределов 1..6";
  }
  if (!InRange(s.playerUnit, 1, kUnitSlots - 1)) {
    return "номер корабля игрока " + Num(s.playerUnit) + " вне пределов 1..255";
  }
  const UnitRecord& p = s.units[s.playerUnit];
  if (!InRange(p.unitKind, 1, kKindCount - 1)) {
    return "тип корабля игрока " + Num(p.unitKind) + " вне пределов 1..255";
  }
  if (!std::isfinite(p.posX) || !std::isfinite(p.posY) || !std::isfinite(p.posZ) ||
      !std::isfinite(p.rotY)) {
    return "место корабля игрока не число";
  }
  // The episode's directory name is also a path: only the table's own names are taken.
  if (!InRange(s.episode, 1, kEpisodeCount) || s.episodeName.View() != EpisodeName(s.episode)) {
    return "эпизода " + Num(s.episode) + " в игре нет";
  }
  if (!InRange(s.levelNumber, 1, kLastLevelNumber)) {
    return "уровень " + Num(s.levelNumber) + " вне пределов 1..200";
  }
  if (!InRange(s.heroLevel, 1, kLastHeroLevel)) {
    return "уровень героя " + Num(s.heroLevel) + " вне пределов 1..99";
  }
  if (!InRange(s.cameraNumber, 1, kCameraCount)) {
    return "камера " + Num(s.cameraNumber) + " вне пределов 1..10";
  }
  if (s.lives < 0 || s.coins < 0 || s.upgradePoints < 0 || s.experience < 0) {
    return "число жизней, монет, очков или опыта меньше нуля";
  }
  if (!InRange(s.airTarget, 0, kUnitSlots - 1)) {
    return "цель ракет " + Num(s.airTarget) + " не единица игры";
  }
  if (!PlainText(s.playerName.View()) || !PlainText(s.shipName.View())) {
    return "в имени есть управляющие символы";
  }
  for (int32_t i = 1; i <= kStatusIconSlots; ++i) {
    if (!InRange(s.statusIcons[i], 0, kLastStatusIcon))
      return "значок состояния " + Num(i) + " неверен";
  }
  if (std::string why = CheckUnitTable(s.units); !why.empty()) return why;
  if (std::string why = CheckStaticTable(s.statics); !why.empty()) return why;
  for (int32_t b = 0; b < kBonusSlots; ++b) {
    if (!InRange(s.bonuses[b].kind, 0, bonus::kCount - 1)) {
      return "у бонуса " + Num(b) + " неизвестный вид " + Num(s.bonuses[b].kind);
    }
  }
  if (std::string why = CheckBonusPlaces(s.bonuses); !why.empty()) return why;
  for (int32_t i = 0; i < kProjectileSlots; ++i) {
    const ProjectileRecord& pr = s.projectiles[i];
    if (pr.active != 0 && !InRange(pr.owner, 0, kUnitSlots - 1)) {
      return "у снаряда " + Num(i) + " неверный владелец " + Num(pr.owner);
    }
  }
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    const ParticleRecord& pa = s.particles[i];
    if (pa.active != 0 && !InRange(pa.kind, 0, particle::kCount - 1)) {
      return "у частицы " + Num(i) + " неизвестный вид " + Num(pa.kind);
    }
  }
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i) {
    const SnowflakeRecord& f = s.snowflakes[i];
    if (f.active != 0 && !InRange(f.variant, 1, kLastSnowflakeVariant)) {
      return "у снежинки " + Num(i) + " неизвестная текстура " + Num(f.variant);
    }
  }
  return {};
}

SlotLoadResult ReadSaveSlot(const std::string& appPath, int32_t slot, SavedState& into) {
  if (!InRange(slot, 1, kSaveSlots)) return {};
  const std::string file = SlotFile(appPath, slot, ".qvs");
  if (!PathExists(file)) return {};
  // One byte more than the block: a longer file is seen as such.
  std::vector<uint8_t> bytes(kSavedBlockSize + 1);
  const size_t n = ReadFileRange(file, bytes);
  if (n != kSavedBlockSize) {
    const std::string why =
        n > kSavedBlockSize ? "файл длиннее " + Num(kSavedBlockSize) + " байт"
                            : "файл содержит " + Num(n) + " байт вместо " + Num(kSavedBlockSize);
    return {SlotLoad::kRefused, Refusal(appPath, slot, why)};
  }
  auto block = std::make_unique<SavedState>();
  std::memcpy(block.get(), bytes.data(), kSavedBlockSize);
  if (const std::string why = CheckSavedBlock(*block); !why.empty()) {
    return {SlotLoad::kRefused, Refusal(appPath, slot, why)};
  }
  std::memcpy(&into, block.get(), kSavedBlockSize);
  return {SlotLoad::kLoaded, {}};
}

SlotLoadResult ReloadSlot(WorldState& ws) {
  SlotLoadResult r = ReadSaveSlot(ws.appPath, ws.saveSlot, Saved(ws));
  if (r.status == SlotLoad::kLoaded) std::memset(ws.unitAlerted + 1, 0, kUnitSlots - 1);
  return r;
}

SlotLoadResult LoadGame(WorldState& ws, LevelHost& host) {
  const std::string previousEpisode(ws.episodeName.View());
  const bool wasPlaying = ws.GameMode == game_mode::kPlay;
  auto block = std::make_unique<SavedState>();
  SlotLoadResult r = ReadSaveSlot(ws.appPath, ws.saveSlot, *block);
  if (r.status != SlotLoad::kLoaded) return r;
  // The level's size picture is checked before the block replaces the running game.
  int32_t levelSize = 0;
  const std::string dir =
      ws.appPath + "gdata\\Worlds\\" + std::string(block->episodeName.View()) + "\\";
  if (LevelMessage m = LevelSizeOf(host, dir, block->levelNumber, levelSize); !m.text.empty()) {
    return {SlotLoad::kRefused, std::move(m)};
  }
  std::memcpy(&Saved(ws), block.get(), kSavedBlockSize);
  if (ws.episodeName.View() == previousEpisode && !wasPlaying) {
    // From the menu the menu's music plays, though the last game's episode art is still
    // loaded: the episode's music comes back, the art stays.
    host.StartEpisodeMusic(ws.episode);
  } else if (ws.episodeName.View() != previousEpisode) {
    host.SetFpsTimer(false);
    host.StartEpisodeMusic(ws.episode);
    host.ResetLoadingProgress();
    host.LoadLoadingPicture(ws.episode);
    host.LoadEpisodeArt(std::string(ws.episodeName.View()));
    host.SetFpsTimer(true);
  }
  ws.screenFade = 1.0;
  // What lives outside the block for the loaded level.
  const std::string n = Num(ws.levelNumber);
  if (levelSize > 0) ws.levelSize = levelSize;
  LoadTerrainColours(ws, host, dir + "Data\\landscape" + n + ".qvt");
  std::copy(std::begin(kLevelTerrainView), std::end(kLevelTerrainView), ws.terrainView);
  host.LoadMinimap(dir + "Data\\minimap" + n + ".qvt");
  std::memset(ws.unitAlerted + 1, 0, kUnitSlots - 1);
  return r;
}

}  // namespace skerrow
