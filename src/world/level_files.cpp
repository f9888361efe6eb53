// Level files and level loading: episode table, raw transfers, picture decodings, EnterLevel.
#include "world/level_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>

#include "platform/cp1251.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "world/raw_io.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

struct EpisodeRow {
  const char* name;   // UTF-8 here, Windows-1251 in the state and on disk
  const char* music;  // game path relative to appPath
};

// Row e - 1 is episode e. Episode 4 shares the music of row 3.
constexpr EpisodeRow kEpisodes[] = {
    {"Заманчивые тропики", "GData\\Music\\batle\\Одиночество.mp3"},
    {"Ледяной плен", "GData\\Music\\batle\\Объединение.mp3"},
    {"Промышленный центр", "GData\\Music\\batle\\Неизвестность.mp3"},
    {"Секретный", "GData\\Music\\batle\\Неизвестность.mp3"},
};
static_assert(std::size(kEpisodes) == kEpisodeCount);

std::string Num(int32_t n) {
  return std::to_string(n);
}

// The directory part of a game path, with its trailing separator ("" when there is none).
std::string DirectoryOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool Finite(double x, double y, double z) {
  return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

float Clamp01(float v) {
  // NaN cannot arise from byte inputs; the clamp keeps the range 0..1.
  return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

}  // namespace

std::string EpisodeName(int32_t episode) {
  if (episode < 1 || episode > kEpisodeCount) return {};
  return Utf8ToCp1251(kEpisodes[episode - 1].name);
}

std::string EpisodeMusic(int32_t episode) {
  if (episode < 1) return {};
  const int32_t row = std::min(episode, 3);
  return Utf8ToCp1251(kEpisodes[row - 1].music);
}

std::string EpisodeDirectory(const WorldState& ws) {
  return ws.appPath + "gdata\\Worlds\\" + std::string(ws.episodeName.View()) + "\\";
}

bool LevelFilesExist(const std::string& appPath, int32_t episode, int32_t level) {
  const std::string name = EpisodeName(episode);
  if (name.empty() || level < 1 || level > kLastLevelNumber) return false;
  const std::string dir = appPath + "gdata\\Worlds\\" + name + "\\";
  return DirectoryExists(dir) && PathExists(dir + "data\\Land" + Num(level) + ".lan");
}

// ---- Raw transfers ----

void LoadUnits(WorldState& ws, const std::string& file) {
  ReadFileRange(file, UnitBytes(ws));
}
bool SaveUnits(const WorldState& ws, const std::string& file) {
  return WriteFileRange(file, UnitBytes(ws));
}
void LoadBonuses(WorldState& ws, const std::string& file) {
  ReadFileRange(file, BonusBytes(ws));
}
bool SaveBonuses(const WorldState& ws, const std::string& file) {
  return WriteFileRange(file, BonusBytes(ws));
}
void LoadLand(WorldState& ws, const std::string& file) {
  ReadFileRange(file, LandBytes(ws));
}
bool SaveLand(const WorldState& ws, const std::string& file) {
  return WriteFileRange(file, LandBytes(ws));
}
size_t LoadUnitParameters(UnitRecord& record, const std::string& file) {
  // Read aside: a record holding a value that is not a number is refused whole (its ship would
  // sail to (NaN, NaN, NaN) and every save of it be refused).
  UnitRecord read = record;
  const size_t n = ReadFileRange(file, UnitRecordBytes(read));
  if (n > 0 && !UnitNumbersFinite(read)) {
    platform::Log("refused \"" + Cp1251ToUtf8(file) + "\": a value is not a number");
    return 0;
  }
  record = read;
  return n;
}
bool SaveUnitParameters(const UnitRecord& record, const std::string& file) {
  return WriteFileRange(file, UnitRecordBytes(record));
}

std::string LoadKindPack(WorldState& ws) {
  const std::string file = ws.appPath + "gdata\\Skerrow.qvp";
  auto pack = std::make_unique<KindTable>(ws.kindTable);
  const std::span<uint8_t> bytes(reinterpret_cast<uint8_t*>(pack.get()), sizeof(KindTable));
  if (ReadFileRange(file, bytes) == 0) return {};
  for (int32_t k = 0; k < kKindCount; ++k) {
    const KindRecord& r = pack->kinds[static_cast<size_t>(k)];
    if (!Finite(r.kindAlertRadius, r.kindStandoffMin, r.kindStandoffMax)) {
      return "Типы единиц «" + ResolvePath(file) + "» не загружаются: у типа " + Num(k) +
             " радиус не число.";
    }
  }
  ws.kindTable = *pack;
  return {};
}

void LoadHeroDefaults(WorldState& ws) {
  for (int32_t k = 1; k <= kHeroCount; ++k) {
    LoadUnitParameters(ws.heroDefaults[k],
                       ws.appPath + "gdata\\parameters\\unit" + Num(k) + ".par");
  }
}

// ---- Pictures ----

bool LevelPicture::Valid() const {
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return false;
  return data.size() ==
         static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels);
}

uint8_t LevelPicture::At(int32_t x, int32_t y, int32_t c) const {
  const size_t row = static_cast<size_t>(height - 1 - y);  // rows are stored bottom-up
  return data[(row * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                  static_cast<size_t>(channels) +
              static_cast<size_t>(c)];
}

void StoreHeightMapPicture(WorldState& ws, const LevelPicture& picture) {
  if (!picture.Valid()) return;
  const int32_t w = std::min(picture.width, kMapSize);
  const int32_t h = std::min(picture.height, kMapSize);
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t z = 0; z < h; ++z) ws.heightMap[x][z] = picture.At(x, z, 1);
  }
}

void StoreIslandHeights(WorldState& ws, int32_t piece, const LevelPicture& picture) {
  IslandHeightGrid* grid = ws.islandHeights.at(piece);
  if (grid == nullptr || !picture.Valid()) return;
  for (int32_t a = 0; a < kPieceGridSize; ++a) {
    const int32_t x = kPieceGridSize - 1 - a;
    if (x >= picture.width) continue;
    for (int32_t b = 0; b < kPieceGridSize; ++b) {
      const int32_t y = kPieceGridSize - 1 - b;
      if (y >= picture.height) continue;
      (*grid)[a][b] = picture.At(x, y, 1);
    }
  }
}

bool StoreTerrainShadowMap(WorldState& ws, int32_t piece, const LevelPicture& picture) {
  TerrainShadowMap* map = ws.terrainShadowMaps.at(piece);
  if (map == nullptr) return false;
  if (!picture.Valid()) return true;
  const int32_t w = std::min(picture.width, kPieceGridSize);
  const int32_t h = std::min(picture.height, kPieceGridSize);
  for (int32_t a = 0; a < w; ++a) {
    for (int32_t b = 0; b < h; ++b) (*map)[a][b] = picture.At(a, b, 0);
  }
  return true;
}

void ComputeTerrainColours(WorldState& ws, const LevelPicture& colours,
                           const LevelPicture& gradient) {
  if (!colours.Valid() || !gradient.Valid()) return;
  float grad[256][3] = {};
  const int32_t rows = std::min(gradient.height, 256);
  for (int32_t h = 0; h < rows; ++h) {
    for (int32_t c = 0; c < 3; ++c) grad[h][c] = gradient.At(0, h, c) / 255.0f;
  }
  const int32_t w = std::min(colours.width, kMapSize);
  const int32_t hgt = std::min(colours.height, kMapSize);
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t z = 0; z < hgt; ++z) {
      const float* g = grad[ws.heightMap[x][z]];
      Color4f& out = TerrainColourAt(ws, x, z);
      out.r = Clamp01(colours.At(x, z, 0) / 255.0f * g[0]);
      out.g = Clamp01(colours.At(x, z, 1) / 255.0f * g[1]);
      out.b = Clamp01(colours.At(x, z, 2) / 255.0f * g[2]);
      out.a = 1.0f;
    }
  }
}

void LoadHeightMapBitmap(WorldState& ws, PictureReader& reader, const std::string& file) {
  LevelPicture picture;
  if (reader.ReadPicture(file, picture)) StoreHeightMapPicture(ws, picture);
}

void LoadTerrainColours(WorldState& ws, PictureReader& reader, const std::string& file) {
  LevelPicture colours;
  if (!reader.ReadPicture(file, colours)) return;
  LevelPicture gradient;
  const std::string gradFile = DirectoryOf(file) + "ugrad" + Num(ws.levelNumber) + ".qvt";
  if (!reader.ReadPicture(gradFile, gradient)) return;
  ComputeTerrainColours(ws, colours, gradient);
}

bool PictureReader::ReadPictureWidth(const std::string& gamePath, int32_t& width) {
  LevelPicture picture;
  if (!ReadPicture(gamePath, picture)) return false;
  width = picture.width;
  return true;
}

LevelMessage LevelSizeOf(PictureReader& reader, const std::string& episodeDir, int32_t level,
                         int32_t& size) {
  size = 0;
  const std::string file = episodeDir + "Data\\size" + Num(level) + ".qvt";
  int32_t width = 0;
  if (!reader.ReadPictureWidth(file, width)) return {};
  if (width < 1 || width > kMaxLevelSize) {
    return {"Skerrow", "Размер уровня " + Num(width) + " в «" + ResolvePath(file) +
                           "» вне пределов 1.." + Num(kMaxLevelSize) + "."};
  }
  size = width;
  return {};
}

LevelMessage ReadLevelSize(WorldState& ws, PictureReader& reader, int32_t level) {
  int32_t size = 0;
  LevelMessage m = LevelSizeOf(reader, EpisodeDirectory(ws), level, size);
  if (size > 0) ws.levelSize = size;
  return m;
}

// ---- Checks ----

namespace {


}  // namespace

bool UnitNumbersFinite(const UnitRecord& u) {
  const double values[] = {u.posX,         u.posY,          u.posZ,         u.rotX,
                           u.rotY,         u.rotZ,          u.heel,         u.vel.x,
                           u.vel.y,        u.vel.z,         u.vel.w,        u.mass,
                           u.radius,       u.life,          u.maxLife,      u.sinkMotion.x,
                           u.sinkMotion.y, u.sinkMotion.z,  u.sinkMotion.w, u.lightLevel,
                           u.acceleration, u.turnRate,      u.rotateSpeed,  u.kren,
                           u.pok,          u.reload,        u.maxReload,    u.reloadSpeed,
                           u.sideReload,   u.maxSideReload, u.sideReloadSpeed, u.power,
                           u.maxPower,     u.powerSpeed,    u.sidePower,    u.maxSidePower,
                           u.sidePowerSpeed};
  return std::all_of(std::begin(values), std::end(values),
                     [](double v) { return std::isfinite(v); });
}

std::string CheckUnitTable(std::span<const UnitRecord> units) {
  for (size_t u = 0; u < units.size(); ++u) {
    const UnitRecord& r = units[u];
    if (r.alive == 0 && r.sinking == 0) continue;
    if (r.unitKind < 0 || r.unitKind >= kKindCount) {
      return "у единицы " + Num(static_cast<int32_t>(u)) + " неизвестный тип " + Num(r.unitKind);
    }
    if (!Finite(r.posX, r.posY, r.posZ) || !std::isfinite(r.rotY)) {
      return "место единицы " + Num(static_cast<int32_t>(u)) + " не число";
    }
    if (!UnitNumbersFinite(r)) {
      return "у единицы " + Num(static_cast<int32_t>(u)) + " значение не число";
    }
  }
  return {};
}

std::string CheckStaticTable(std::span<const StaticRecord> statics) {
  for (size_t i = 0; i < statics.size(); ++i) {
    const StaticRecord& st = statics[i];
    if (st.alive == 0) continue;
    const std::string name = "острова " + Num(static_cast<int32_t>(i));
    if (st.terrainKind < 1 || st.terrainKind > kLastTerrainKind) {
      return "у " + name + " неизвестный вид суши " + Num(st.terrainKind);
    }
    if (!Finite(st.posX, st.posY, st.posZ)) return "место " + name + " не число";
    for (int32_t o = 0; o < kStaticObjectSlots; ++o) {
      const StaticObjectRecord& ob = st.objects[o];
      if (ob.alive == 0) continue;
      if (ob.objectKind < 1 || ob.objectKind > kLastObjectKind) {
        return "у " + name + " предмет неизвестного вида " + Num(ob.objectKind);
      }
      if (!Finite(ob.posX, ob.posY, ob.posZ) || !Finite(ob.rotX, ob.rotY, ob.rotZ)) {
        return "место предмета " + name + " не число";
      }
    }
  }
  return {};
}

std::string CheckBonusPlaces(std::span<const BonusRecord> bonuses) {
  for (size_t b = 0; b < bonuses.size(); ++b) {
    const BonusRecord& r = bonuses[b];
    if (r.alive != 0 && (!Finite(r.posX, r.posY, r.posZ) || !std::isfinite(r.radius))) {
      return "место бонуса " + Num(static_cast<int32_t>(b)) + " не число";
    }
  }
  return {};
}

// ---- EnterLevel ----

void ApplyLevelEntryRules(WorldState& ws, const UnitRecord* kept) {
  ws.keys[0] = ws.keys[1] = ws.keys[2] = 0;
  const bool playerValid = ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots;
  if (playerValid && kept != nullptr) {
    // The player keeps its record except its place and heading from the new unit file: posX,
    // posZ, position w (24..31), rotX, rotY, rotZ, heel, and the bytes 133..135, 185..187,
    // 209..211 and 269..271.
    UnitRecord& p = ws.units[ws.playerUnit];
    UnitRecord merged = *kept;
    merged.posX = p.posX;
    merged.posZ = p.posZ;
    std::memcpy(merged.reserved24, p.reserved24, sizeof(merged.reserved24));
    merged.rotX = p.rotX;
    merged.rotY = p.rotY;
    merged.rotZ = p.rotZ;
    merged.heel = p.heel;
    std::memcpy(merged.reserved133, p.reserved133, sizeof(merged.reserved133));
    std::memcpy(merged.reserved185, p.reserved185, sizeof(merged.reserved185));
    merged.destroyed = p.destroyed;
    std::memcpy(merged.reserved210, p.reserved210, sizeof(merged.reserved210));
    std::memcpy(merged.reserved269, p.reserved269, sizeof(merged.reserved269));
    p = merged;
  }
  // Units are stronger in later episodes; the player's ship is not scaled.
  const float factor = static_cast<float>(ws.episode);
  for (int32_t m = 1; m < kUnitSlots; ++m) {
    if (m == ws.playerUnit) continue;
    ws.units[m].life *= factor;
    ws.units[m].maxLife *= factor;
  }
  for (int32_t b = 1; b < kBonusSlots; ++b) {
    const int32_t kind = ws.bonuses[b].kind;
    if ((kind >= 1 && kind <= 6) || (kind >= 11 && kind <= 15)) ws.bonuses[b].radius = 0;
  }
  ws.neighbourPlusX = ws.neighbourPlusZ = ws.neighbourMinusX = ws.neighbourMinusZ = 0;
  std::memset(ws.unitAlerted + 1, 0, kUnitSlots - 1);
}

namespace {

// A level's files read aside: nothing reaches the state before all of them pass.
struct StagedLevel {
  std::unique_ptr<SavedState> block = std::make_unique<SavedState>();
  bool land = false, units = false, bonuses = false;  // false: the file is missing
  int32_t levelSize = 0;                              // 0: no size picture
};

// Reads `file` into `dst` when it exists; it must fill `dst` exactly. False with `why` set when
// it does not.
bool ReadWholeRange(const std::string& file, std::span<uint8_t> dst, bool& present,
                    std::string& why) {
  present = PathExists(file);
  if (!present) return true;
  // One byte more than the range: a longer file is seen as such.
  std::vector<uint8_t> bytes(dst.size() + 1);
  const size_t n = ReadFileRange(file, bytes);
  if (n == dst.size()) {
    std::memcpy(dst.data(), bytes.data(), n);
    return true;
  }
  why = "файл «" + ResolvePath(file) + "» " +
        (n > dst.size() ? "длиннее " + Num(static_cast<int32_t>(dst.size())) + " байт"
                        : "содержит " + Num(static_cast<int32_t>(n)) + " байт вместо " +
                              Num(static_cast<int32_t>(dst.size())));
  return false;
}

// Reads and checks level `number` of the episode in `dir`; an empty text when it may be entered.
LevelMessage StageLevel(const WorldState& ws, PictureReader& reader, const std::string& dir,
                        int32_t number, StagedLevel& staged) {
  if (LevelMessage m = LevelSizeOf(reader, dir, number, staged.levelSize); !m.text.empty()) {
    return m;
  }
  const std::string n = Num(number);
  SavedState& b = *staged.block;
  std::string why;
  const bool read =
      ReadWholeRange(dir + "data\\Land" + n + ".lan", LandBytes(b), staged.land, why) &&
      ReadWholeRange(dir + "data\\normal" + n + ".unt", UnitBytes(b), staged.units, why) &&
      ReadWholeRange(dir + "data\\normal" + n + ".bon", BonusBytes(b), staged.bonuses, why);
  if (read && staged.land) why = CheckStaticTable(b.statics);
  if (why.empty() && staged.units) {
    why = CheckUnitTable(b.units);
    // The player's ship takes its place and heading from its slot, in use or not.
    const UnitRecord* p =
        ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots ? &b.units[ws.playerUnit] : nullptr;
    if (why.empty() && p != nullptr &&
        !(std::isfinite(p->posX) && std::isfinite(p->posZ) && std::isfinite(p->rotY))) {
      why = "место корабля игрока не число";
    }
  }
  if (why.empty() && staged.bonuses) why = CheckBonusPlaces(b.bonuses);
  if (why.empty()) return {};
  return {"Skerrow",
          "Уровень " + n + " из «" + ResolvePath(dir) + "» не загружается: " + why + "."};
}

}  // namespace

bool EnterLevel(WorldState& ws, LevelHost& host, int32_t number) {
  if (number == kOutroLevel) {
    ws.GameMode = game_mode::kMenu;
    host.ShowOutro();
    return true;
  }
  int32_t episode = 0;  // an episode to start first
  std::string name(ws.episodeName.View());
  if (number > kEpisodeLevelBase) {
    episode = number - kEpisodeLevelBase;
    name = EpisodeName(episode);
    if (name.empty()) return false;
    number = 1;
  }
  if (number < 1) return false;

  const std::string dir = ws.appPath + "gdata\\Worlds\\" + name + "\\";
  StagedLevel staged;
  if (const LevelMessage m = StageLevel(ws, host, dir, number, staged); !m.text.empty()) {
    host.ShowLevelMessage(m);
    return false;
  }

  if (episode > 0) {
    host.SetFpsTimer(false);
    ws.episodeName.Set(name);
    host.ResetLoadingProgress();
    host.LoadLoadingPicture(episode);
    ws.episode = episode;
    host.LoadEpisodeArt(name);
    host.StartEpisodeMusic(episode);
    host.SetFpsTimer(true);
    host.ShowEpisodeHint(ws.appPath + "gdata\\sounds\\hints\\Whint" + Num(episode) + ".wav",
                         ws.appPath + "gdata\\ata\\hints\\Whint" + Num(episode) + ".txt");
  }

  ws.screenFade = 1.0;
  ws.levelNumber = number;
  const bool playerValid = ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots;
  UnitRecord kept{};
  if (playerValid) kept = ws.units[ws.playerUnit];

  const std::string n = Num(number);
  if (staged.levelSize > 0) ws.levelSize = staged.levelSize;
  const SavedState& b = *staged.block;
  if (staged.land) std::ranges::copy(LandBytes(b), LandBytes(ws).begin());
  LoadTerrainColours(ws, host, dir + "Data\\landscape" + n + ".qvt");
  std::copy(std::begin(kLevelTerrainView), std::end(kLevelTerrainView), ws.terrainView);
  if (staged.units) std::ranges::copy(UnitBytes(b), UnitBytes(ws).begin());
  if (staged.bonuses) std::ranges::copy(BonusBytes(b), BonusBytes(ws).begin());
  host.LoadMinimap(dir + "Data\\minimap" + n + ".qvt");
  ApplyLevelEntryRules(ws, playerValid ? &kept : nullptr);
  return true;
}

}  // namespace skerrow
