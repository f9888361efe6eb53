// The level editor's actions on the live world: level-wide operations, statics and their
// objects, units, bonuses and triggers, and the editor-view click.
#include "editor/editor_actions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <span>
#include <vector>

#include "engine/picture.h"
#include "platform/cp1251.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "world/raw_io.h"
#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kSelectCameraBack = 9.7;  // the camera stands this far south of a selection
constexpr int32_t kRandomizeAttempts = 10'000;
constexpr double kRandomizeSpan = 15.0;      // candidates within +-7.5 of the static's centre
constexpr double kRandomizeMinHeight = 0.3;  // island surface a candidate needs
constexpr double kTriggerHeight = 0.5;
constexpr double kNewUnitHeight = 0.01;
constexpr double kCloneAhead = 3.7;
constexpr double kSelectIslandDistance = 3.0;
constexpr double kSelectTriggerMargin = 2.0;

// One undo step around an action: ranges are captured before the change, compared after.
class [[nodiscard]] Edit {
 public:
  explicit Edit(EditorContext& c) : c_(c) { c_.undo.Open(); }
  ~Edit() { c_.undo.Close(Saved(c_.w)); }
  Edit(const Edit&) = delete;
  Edit& operator=(const Edit&) = delete;
  template <typename T>
  Edit& Of(const T& member) {
    c_.undo.Capture(Saved(c_.w), BlockOffset(Saved(c_.w), member), sizeof(T));
    return *this;
  }
  Edit& Bytes(std::span<const uint8_t> range) {
    const auto* base = reinterpret_cast<const uint8_t*>(&Saved(c_.w));
    c_.undo.Capture(Saved(c_.w), static_cast<size_t>(range.data() - base), range.size());
    return *this;
  }

 private:
  EditorContext& c_;
};

std::string Num(int64_t n) {
  return std::to_string(n);
}

// A file-name box's text (UTF-8): absolute, or relative to the game's directory.
std::string GamePathOf(const WorldState& w, const std::string& boxText) {
  const std::string name = Utf8ToCp1251(boxText);
  if (!name.empty() && name.front() == '/') return name;
  return w.appPath + name;
}

// Reads the whole file named in a box into `dst` only when it is exactly dst.size() bytes;
// otherwise the message says why and nothing changes.
bool LoadExactly(EditorContext& c, const std::string& boxText, std::span<uint8_t> dst,
                 const char* what) {
  const std::string path = ResolvePath(GamePathOf(c.w, boxText));
  std::error_code ec;
  if (boxText.empty() || !std::filesystem::is_regular_file(path, ec)) {
    c.host.ShowMessage("Cannot open the " + std::string(what) + " file \"" + boxText + "\".");
    return false;
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size != dst.size()) {
    c.host.ShowMessage("The " + std::string(what) + " file \"" + boxText + "\" has " +
                       Num(ec ? 0 : static_cast<int64_t>(size)) + " bytes; it must have " +
                       Num(static_cast<int64_t>(dst.size())) + ".");
    return false;
  }
  std::vector<uint8_t> bytes(dst.size());
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    c.host.ShowMessage("Cannot read the " + std::string(what) + " file \"" + boxText + "\".");
    return false;
  }
  Edit e(c);
  e.Bytes(dst);
  std::copy(bytes.begin(), bytes.end(), dst.begin());
  return true;
}

bool SaveRange(EditorContext& c, const std::string& boxText, std::span<const uint8_t> src,
               const char* what) {
  if (!boxText.empty() && WriteFileRange(GamePathOf(c.w, boxText), src)) return true;
  c.host.ShowMessage("Cannot write the " + std::string(what) + " file \"" + boxText + "\".");
  return false;
}

// A 24-bit BMP through the atomic file write.
bool SavePicture(EditorContext& c, const std::string& boxText, const TPixels& p, const char* what) {
  return SaveRange(c, boxText, EncodeBmp24(p), what);
}

UnitRecord* SelectedUnit(EditorContext& c) {
  const int32_t n = c.ctl.unitNumber;
  return n >= 1 && n < kUnitSlots ? &c.w.units[n] : nullptr;
}
StaticRecord* SelectedStatic(EditorContext& c) {
  const int32_t n = c.ctl.staticNumber;
  return n >= 1 && n < kStaticSlots ? &c.w.statics[n] : nullptr;
}
StaticObjectRecord* SelectedObject(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  const int32_t k = c.ctl.objectNumber;
  return s != nullptr && k >= 1 && k < kStaticObjectSlots ? &s->objects[k] : nullptr;
}
BonusRecord* SelectedTrigger(EditorContext& c) {
  const int32_t n = c.ctl.triggerNumber;
  return n >= 1 && n < kBonusSlots ? &c.w.bonuses[n] : nullptr;
}

void AimCamera(WorldState& w, double x, double z) {
  w.editorCameraTarget.x = x;
  w.editorCameraTarget.z = z - kSelectCameraBack;
}

// The kind's parameter file into `u`, keeping its place and heading.
void ReadDefaultsKeepingPlace(const WorldState& w, UnitRecord& u, int32_t kind) {
  const double x = u.posX, z = u.posZ;
  const double rx = u.rotX, ry = u.rotY, rz = u.rotZ, heel = u.heel;
  LoadUnitParameters(u, UnitParameterFile(w, kind));
  u.posX = x;
  u.posZ = z;
  u.rotX = rx;
  u.rotY = ry;
  u.rotZ = rz;
  u.heel = heel;
}

int32_t FreeStaticSlot(const SavedState& s) {
  for (int32_t i = 1; i < kStaticSlots; ++i)
    if (s.statics[i].alive == 0) return i;
  return 0;
}
int32_t FreeObjectSlot(const StaticRecord& s) {
  for (int32_t k = 1; k < kStaticObjectSlots; ++k)
    if (s.objects[k].alive == 0) return k;
  return 0;
}

}  // namespace

// ---- Outside the tabs, General and Map tabs ----

void AddFileParts(UndoJournal& undo) {
  undo.AddPart(kLandRangeBegin, kLandRangeSize);
  undo.AddPart(offsetof(SavedState, units), sizeof(SavedState::units));
  undo.AddPart(offsetof(SavedState, bonuses), sizeof(SavedState::bonuses));
}

bool FileModified(const EditorContext& c, EditorFile file) {
  return c.undo.Modified(file);
}

std::string ModifiedFiles(const EditorContext& c, std::initializer_list<EditorFile> among) {
  constexpr const char* kNames[kEditorFileCount] = {"level", "units", "bonuses"};
  std::string names;
  for (const EditorFile f : among) {
    if (!c.undo.Modified(f)) continue;
    if (!names.empty()) names += ", ";
    names += kNames[f];
  }
  return names;
}

void SetEditorMode(EditorContext& c, int32_t item) {
  if (item < 0 || item > 1) return;
  c.w.GameMode = item + game_mode::kPlay;
}

void MapClick(EditorContext& c, int32_t x, int32_t y) {
  const double side = kMapPanelSide;
  c.w.editorCameraTarget.x = x / side * c.w.levelSize;
  c.w.editorCameraTarget.z = (side - y) / side * c.w.levelSize;
}

MapMarker MapMarkerRect(const WorldState& w) {
  const double side = kMapPanelSide;
  const double size = w.levelSize;
  MapMarker m{};
  m.width = TruncToInt(size / side * 15.0);
  m.height = TruncToInt(size / side / 25.0);
  if (w.levelSize > 0) {
    m.left = TruncToInt(w.editorCameraTarget.x / size * side - m.width / 2.0);
    m.top = TruncToInt(side - w.editorCameraTarget.z / size * side - m.height / 2.0);
  }
  return m;
}

namespace {
// A transfer of `file`'s part that succeeded marks it clean.
bool Clean(EditorContext& c, EditorFile file, bool done) {
  if (done) c.undo.MarkClean(file);
  return done;
}
}  // namespace

bool EditorLoadLevel(EditorContext& c, const std::string& file) {
  return Clean(c, kLevelFile, LoadExactly(c, file, LandBytes(c.w), "level"));
}
bool EditorSaveLevel(EditorContext& c, const std::string& file) {
  return Clean(c, kLevelFile, SaveRange(c, file, LandBytes(c.w), "level"));
}

bool EditorLoadUnits(EditorContext& c, const std::string& file) {
  Edit e(c);  // the load and the cleared alerts are one step
  e.Of(c.w.unitAlerted);
  if (!LoadExactly(c, file, UnitBytes(c.w), "units")) return false;
  std::fill(std::begin(c.w.unitAlerted) + 1, std::end(c.w.unitAlerted), uint8_t{0});
  return Clean(c, kUnitsFile, true);
}
bool EditorSaveUnits(EditorContext& c, const std::string& file) {
  return Clean(c, kUnitsFile, SaveRange(c, file, UnitBytes(c.w), "units"));
}
bool EditorLoadBonuses(EditorContext& c, const std::string& file) {
  return Clean(c, kBonusesFile, LoadExactly(c, file, BonusBytes(c.w), "bonuses"));
}
bool EditorSaveBonuses(EditorContext& c, const std::string& file) {
  return Clean(c, kBonusesFile, SaveRange(c, file, BonusBytes(c.w), "bonuses"));
}

bool EditorLoadLandscape(EditorContext& c, const std::string& file) {
  LevelPicture picture;
  if (!c.host.ReadPicture(GamePathOf(c.w, file), picture) || !picture.Valid()) {
    c.host.ShowMessage("Cannot read the landscape picture \"" + file + "\".");
    return false;
  }
  Edit e(c);
  e.Of(c.w.heightMap);
  StoreHeightMapPicture(c.w, picture);
  return true;
}

bool EditorSaveLandscape(EditorContext& c, const std::string& file) {
  TPixels p;
  p.width = p.height = kMapSize;
  p.channels = 3;
  p.data.resize(static_cast<size_t>(kMapSize) * kMapSize * 3);
  for (int32_t z = 0; z < kMapSize; ++z) {
    // Pixel (x, z) is column x of row z from the top; rows are stored bottom-up.
    uint8_t* row = p.data.data() + static_cast<size_t>(kMapSize - 1 - z) * kMapSize * 3;
    for (int32_t x = 0; x < kMapSize; ++x) {
      std::fill_n(row + static_cast<size_t>(x) * 3, 3, c.w.heightMap[x][z]);
    }
  }
  return SavePicture(c, file, p, "landscape picture");
}

void EditorLoadColors(EditorContext& c, const std::string& file) {
  LoadTerrainColours(c.w, c.host, GamePathOf(c.w, file));
}

bool WriteCollisions(EditorContext& c, const std::string& file) {
  const int32_t s = c.w.levelSize;
  if (s < 1 || s > kMaxLevelSize) {
    c.host.ShowMessage("The level size " + Num(s) + " is outside 1.." + Num(kMaxLevelSize) + ".");
    return false;
  }
  const int32_t side = 2 * s;
  TPixels p;
  p.width = p.height = side;
  p.channels = 3;
  p.data.assign(static_cast<size_t>(side) * side * 3, 0);
  for (int32_t i = 0; i < side; ++i) {
    for (int32_t j = 0; j < side; ++j) {
      if (IsLandAt(c.w, j / 2.0, i / 2.0) <= 0) continue;
      // Pixel (side - 1 - i, side - 1 - j): column side - 1 - i, row side - 1 - j from the
      // top, which is row j from the bottom.
      const size_t at = (static_cast<size_t>(j) * side + static_cast<size_t>(side - 1 - i)) * 3;
      std::fill_n(p.data.data() + at, 3, uint8_t{255});
    }
  }
  return SavePicture(c, file, p, "collision picture");
}

void UseLevelFiles(EditorContext& c) {
  if (EpisodeName(c.w.episode).empty()) return;
  const std::string dir = "gdata\\Worlds\\" + Cp1251ToUtf8(EpisodeName(c.w.episode)) + "\\data\\";
  const std::string n = Num(c.w.levelNumber);
  c.ctl.levelFile = dir + "Land" + n + ".lan";
  c.ctl.unitsFile = dir + "normal" + n + ".unt";
  c.ctl.bonusesFile = dir + "normal" + n + ".bon";
}

std::string LevelCaption(const WorldState& w) {
  return Cp1251ToUtf8(EpisodeName(w.episode)) + ", level " + Num(w.levelNumber);
}

void SetPlayerShip(EditorContext& c, int32_t unit) {
  Edit e(c);
  e.Of(c.w.playerUnit);
  c.w.playerUnit = std::clamp(unit, 1, kUnitSlots - 1);
}

void SetCameraNumber(EditorContext& c, int32_t camera) {
  Edit e(c);
  e.Of(c.w.cameraNumber);
  c.w.cameraNumber = std::clamp(camera, 1, 10);
  if (c.w.cameraNumber == 1) c.w.fixedCamera = 1;
  if (c.w.cameraNumber == 2 || c.w.cameraNumber == 3) c.w.fixedCamera = 0;
}

void GoToLevel(EditorContext& c, int32_t level) {
  // A level change replaces the level and its art: the history of the old level ends.
  if (c.host.EnterLevel(std::clamp(level, 1, 255))) {
    c.undo.Clear();
  }
}

void GoToEpisode(EditorContext& c, int32_t episode) {
  if (c.host.EnterLevel(kEpisodeLevelBase + std::clamp(episode, 1, 255))) c.undo.Clear();
}

void SetSnow(EditorContext& c, bool on) {
  Edit e(c);
  e.Of(c.w.snowOn).Of(c.w.snowActive).Of(c.w.snowDrift);
  c.w.snowActive = c.w.snowOn = on ? 1 : 0;
  Random& r = SharedRandom();
  const double r1 = r.Real();
  const double r2 = r.Real();
  c.w.snowDrift = {0.04 * r1, 0.0, 0.03 * r2, 1.0};
}

// ---- Statics tab ----

int32_t CreateStatic(EditorContext& c) {
  const int32_t i = FreeStaticSlot(c.w);
  if (i == 0) return 0;
  StaticRecord& s = c.w.statics[i];
  {
    Edit e(c);
    e.Of(s);
    s.alive = 1;
    s.terrainKind = c.ctl.staticBrush;
    s.posX = c.w.mouseWorldPos.x;
    s.posY = 0.0;
    s.posZ = c.w.mouseWorldPos.z;
    for (int32_t k = 1; k < kStaticObjectSlots; ++k) s.objects[k].alive = 0;
  }
  SelectStatic(c, i);
  return i;
}

void DeleteStatic(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  if (s == nullptr) return;
  Edit e(c);
  e.Of(*s);
  s->alive = 0;
  s->terrainKind = 0;
}

void SelectStatic(EditorContext& c, int32_t number) {
  c.ctl.staticNumber = std::clamp(number, 1, kStaticSlots - 1);
  const StaticRecord& s = c.w.statics[c.ctl.staticNumber];
  AimCamera(c.w, s.posX, s.posZ);
}

void SetStaticPosition(EditorContext& c, int32_t axis, double value) {
  StaticRecord* s = SelectedStatic(c);
  if (s == nullptr || axis < 0 || axis > 2) return;
  if (c.ctl.truncPositions) value = std::trunc(value) + c.ctl.truncValue;
  double* field = axis == 0 ? &s->posX : (axis == 1 ? &s->posY : &s->posZ);
  Edit e(c);
  e.Of(*field);
  *field = value;
}

int32_t AddObject(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  if (s == nullptr) return 0;
  const int32_t k = FreeObjectSlot(*s);
  if (k == 0) return 0;
  Edit e(c);  // the new object and its random place are one step
  e.Of(*s);
  StaticObjectRecord& o = s->objects[k];
  o.alive = 1;
  o.objectKind = c.ctl.objectKind;
  c.ctl.objectNumber = k;
  const double x = c.w.cameraPos.x, z = c.w.cameraPos.z;
  o.posX = x - s->posX;
  o.posY = IslandHeightAt(c.w, x, z);
  o.posZ = z - s->posZ;
  RandomizeObject(c);
  return k;
}

void SelectObject(EditorContext& c, int32_t number) {
  c.ctl.objectNumber = std::clamp(number, 1, kStaticObjectSlots - 1);
  const StaticObjectRecord* o = SelectedObject(c);
  if (o != nullptr && o->alive == 1) c.ctl.objectKind = std::clamp<int32_t>(o->objectKind, 1, 511);
}

void SetObjectKind(EditorContext& c, int32_t kind) {
  c.ctl.objectKind = std::clamp(kind, 1, 511);
  StaticObjectRecord* o = SelectedObject(c);
  if (o == nullptr || o->alive != 1) return;
  Edit e(c);
  e.Of(o->objectKind);
  o->objectKind = c.ctl.objectKind;
}

void DeleteObject(EditorContext& c) {
  StaticObjectRecord* o = SelectedObject(c);
  if (o == nullptr) return;
  Edit e(c);
  e.Of(o->alive);
  o->alive = 0;
}

bool RandomizeObject(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  StaticObjectRecord* o = SelectedObject(c);
  if (s == nullptr || o == nullptr) return false;
  Random& r = SharedRandom();
  for (int32_t attempt = 0; attempt < kRandomizeAttempts; ++attempt) {
    const double x = s->posX + kRandomizeSpan * r.Real() - kRandomizeSpan / 2;
    const double z = s->posZ + kRandomizeSpan * r.Real() - kRandomizeSpan / 2;
    const double h = IslandHeightAt(c.w, x, z);
    if (!(h > kRandomizeMinHeight)) continue;
    const Vector4d candidate{x - s->posX, h, z - s->posZ, 0.0};
    bool room = true;
    for (int32_t k = 1; k < kStaticObjectSlots && room; ++k) {
      const StaticObjectRecord& other = s->objects[k];
      if (&other == o || other.alive != 1) continue;
      room = Distance3({other.posX, other.posY, other.posZ, 0.0}, candidate) >= c.ctl.minDistance;
    }
    if (!room) continue;
    Edit e(c);
    e.Of(*o);
    o->posX = x - s->posX;
    o->posY = 0.0;
    o->posZ = z - s->posZ;
    o->rotX = 0.0;
    o->rotY = 2.0 * std::numbers::pi * r.Real();
    o->rotZ = 0.0;
    SnapObjectY(c);
    SnapObjectRotation(c);
    return true;
  }
  c.host.ShowMessage(kNoMorePlace);
  return false;
}

void SnapObjectY(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  StaticObjectRecord* o = SelectedObject(c);
  if (o == nullptr) return;
  Edit e(c);
  e.Of(o->posY);
  o->posY = IslandHeightAt(c.w, s->posX + o->posX, s->posZ + o->posZ);
}

void SnapObjectRotation(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  StaticObjectRecord* o = SelectedObject(c);
  if (o == nullptr) return;
  const double d = c.ctl.minDistance / 5.0;
  const double x = s->posX + o->posX, z = s->posZ + o->posZ;
  const double k = 180.0 / std::numbers::pi * 0.07 * 7.0 / (d + 7e-4);
  Edit e(c);
  e.Of(o->rotX).Of(o->rotZ);
  o->rotX = (IslandHeightAt(c.w, x, z + d / 2) - IslandHeightAt(c.w, x, z - d / 2)) * k;
  o->rotZ = (IslandHeightAt(c.w, x + d / 2, z) - IslandHeightAt(c.w, x - d / 2, z)) * k;
}

void ClearObjects(EditorContext& c) {
  StaticRecord* s = SelectedStatic(c);
  if (s == nullptr) return;
  Edit e(c);
  e.Of(*s);
  for (int32_t k = 1; k < kStaticObjectSlots; ++k) s->objects[k].alive = 0;
}

void DeleteAllIslands(EditorContext& c) {
  Edit e(c);
  e.Of(c.w.statics);
  for (int32_t i = 1; i < kStaticSlots; ++i) c.w.statics[i].alive = 0;
}

void DeleteAllUnits(EditorContext& c) {
  Edit e(c);
  e.Of(c.w.units);
  for (int32_t i = 2; i < kUnitSlots; ++i) c.w.units[i].alive = 0;
}

void DeleteAllBonuses(EditorContext& c) {
  Edit e(c);
  e.Of(c.w.bonuses);
  for (int32_t i = 1; i < kBonusSlots; ++i) c.w.bonuses[i].alive = 0;
}

// ---- Units tab ----

std::string UnitParameterFile(const WorldState& w, int32_t kind) {
  return w.appPath + "gdata\\parameters\\unit" + Num(kind) + ".par";
}

int32_t CreateUnit(EditorContext& c) {
  const int32_t i = FreeUnitSlot(c.w);
  if (i == 0) return 0;
  Edit e(c);  // creation and its default parameters are one step
  UnitRecord& u = c.w.units[i];
  e.Of(u);
  u.alive = 1;
  u.unitKind = c.ctl.newUnitKind;
  u.posX = c.w.mouseWorldPos.x;
  u.posY = kNewUnitHeight;
  u.posZ = c.w.mouseWorldPos.z;
  u.life = u.maxLife = 100.0f;
  SelectUnit(c, i);
  LoadDefaultParams(c);
  return i;
}

void SelectUnit(EditorContext& c, int32_t number) {
  c.ctl.unitNumber = std::clamp(number, 1, kUnitSlots - 1);
  const UnitRecord& u = c.w.units[c.ctl.unitNumber];
  AimCamera(c.w, u.posX, u.posZ);
}

void LoadDefaultParams(EditorContext& c) {
  UnitRecord* u = SelectedUnit(c);
  if (u == nullptr) return;
  Edit e(c);
  e.Of(*u);
  ReadDefaultsKeepingPlace(c.w, *u, u->unitKind);
}

bool SaveAsDefaults(EditorContext& c) {
  UnitRecord* u = SelectedUnit(c);
  if (u == nullptr) return false;
  const std::string file = UnitParameterFile(c.w, u->unitKind);
  if (SaveUnitParameters(*u, file)) return true;
  c.host.ShowMessage("Cannot write \"" + Cp1251ToUtf8(file) + "\".");
  return false;
}

int32_t SetAllToDefaults(EditorContext& c) {
  UnitRecord* selected = SelectedUnit(c);
  if (selected == nullptr) return 0;
  const int32_t kind = selected->unitKind;
  int32_t count = 0;
  {
    Edit e(c);
    e.Of(c.w.units);
    for (int32_t i = 1; i < kUnitSlots; ++i) {
      if (c.w.units[i].unitKind != kind) continue;
      ReadDefaultsKeepingPlace(c.w, c.w.units[i], kind);
      ++count;
    }
  }
  c.host.ShowMessage(Num(count) + kMatchesFound);
  return count;
}

void DeleteUnit(EditorContext& c) {
  UnitRecord* u = SelectedUnit(c);
  if (u == nullptr) return;
  Edit e(c);
  e.Of(u->alive).Of(u->unitKind);
  u->alive = 0;
  u->unitKind = 0;
}

void HealUnit(EditorContext& c) {
  UnitRecord* u = SelectedUnit(c);
  if (u == nullptr) return;
  Edit e(c);
  e.Of(u->life);
  u->life = u->maxLife;
}

void RandomizeUnitPok(EditorContext& c) {
  UnitRecord* u = SelectedUnit(c);
  if (u == nullptr) return;
  Edit e(c);
  e.Of(u->pok);
  u->pok = static_cast<float>(SharedRandom().Real());
}

int32_t CloneUnit(EditorContext& c) {
  UnitRecord* u = SelectedUnit(c);
  const int32_t i = FreeUnitSlot(c.w);
  if (u == nullptr || i == 0) return 0;
  UnitRecord& clone = c.w.units[i];
  {
    Edit e(c);
    e.Of(clone);
    clone = *u;
    clone.alive = 1;
    clone.posX = c.w.cameraPos.x;
    clone.posZ = c.w.cameraPos.z + kCloneAhead;
  }
  SelectUnit(c, i);
  return i;
}

// ---- Triggers tab ----

int32_t CreateTrigger(EditorContext& c) {
  const int32_t i = FreeBonusSlot(c.w);
  if (i == 0) return 0;
  BonusRecord& b = c.w.bonuses[i];
  {
    Edit e(c);
    e.Of(b);
    b.alive = 1;
    b.kind = c.ctl.newTriggerKind;
    double x = c.w.mouseWorldPos.x, z = c.w.mouseWorldPos.z;
    if (c.ctl.triggerTrunc) {
      x = std::trunc(x);
      z = std::trunc(z);
    }
    b.posX = x;
    b.posY = kTriggerHeight;
    b.posZ = z;
  }
  SelectTrigger(c, i);
  return i;
}

void SelectTrigger(EditorContext& c, int32_t number) {
  c.ctl.triggerNumber = std::clamp(number, 1, kBonusSlots - 1);
  const BonusRecord& b = c.w.bonuses[c.ctl.triggerNumber];
  AimCamera(c.w, b.posX, b.posZ);
}

void DeleteTrigger(EditorContext& c) {
  BonusRecord* b = SelectedTrigger(c);
  if (b == nullptr) return;
  Edit e(c);
  e.Of(b->alive).Of(b->kind);
  b->alive = 0;
  b->kind = 0;
}

std::string TriggerHintText(const WorldState& w, int32_t trigger) {
  if (trigger < 1 || trigger >= kBonusSlots) return {};
  const BonusRecord& b = w.bonuses[trigger];
  if (b.kind != bonus::kHint) return {};
  const std::string file = w.appPath + "gdata\\ata\\hints\\hint" + Num(b.tag) + ".txt";
  std::vector<uint8_t> bytes;
  const std::string path = ResolvePath(file);
  std::error_code ec;
  // Hint texts are a few lines; a larger file is not one.
  constexpr uintmax_t kMaxHintBytes = 64 * 1024;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxHintBytes || !ReadFileBytes(path, bytes)) return {};
  return Cp1251ToUtf8(std::string(bytes.begin(), bytes.end()));
}

// ---- The editor view ----

void EditorViewStep(EditorContext& c, const EditorViewInput& in) {
  WorldState& w = c.w;
  const bool painting = in.modifyTerrain && w.heightBrush >= 1 &&
                        w.heightBrush <= kHeightBrushCount &&
                        (w.mouseLeftHeld == 1 || w.mouseRightHeld == 1 || w.mouseMiddleHeld == 1);
  const UnitRecord* driven = in.selectedUnit >= 1 && in.selectedUnit < kUnitSlots &&
                                     w.units[in.selectedUnit].alive == 1 &&
                                     (in.left || in.right || in.up || in.down)
                                 ? &w.units[in.selectedUnit]
                                 : nullptr;
  const bool active = painting || driven != nullptr;
  if (active && !c.ctl.strokeOpen) {
    c.undo.Open();
    c.ctl.strokeOpen = true;
  }
  if (painting) {
    const HeightBrushWindow win = BrushWindowAt(w);
    for (int32_t x = win.x0; x <= win.x1; ++x) {
      c.undo.Capture(w, BlockOffset(w, w.heightMap[x][win.z0]),
                     static_cast<size_t>(win.z1 - win.z0 + 1));
    }
  }
  if (driven != nullptr) c.undo.Capture(w, BlockOffset(w, *driven), sizeof(UnitRecord));
  UpdateEditorView(w, in);
  if (active) c.undo.Seal(w);
  if (!active && c.ctl.strokeOpen) {
    c.undo.Close(w);
    c.ctl.strokeOpen = false;
  }
}

void EditorViewClick(EditorContext& c) {
  WorldState& w = c.w;
  const Vector4d m = w.mouseWorldPos;
  switch (c.ctl.brushType) {
    case BrushType::kSetIslands:
      CreateStatic(c);
      break;
    case BrushType::kSetUnits:
      CreateUnit(c);
      break;
    case BrushType::kSetBonuses:
      CreateTrigger(c);
      break;
    case BrushType::kSelectUnits:
      for (int32_t i = 1; i < kUnitSlots; ++i) {
        const UnitRecord& u = w.units[i];
        if (u.alive == 1 && Distance3(UnitPos(u), m) <= u.radius) {
          SelectUnit(c, i);
          break;
        }
      }
      break;
    case BrushType::kSelectIslands:
      for (int32_t i = 1; i < kStaticSlots; ++i) {
        const StaticRecord& s = w.statics[i];
        if (s.alive == 1 && Distance3({s.posX, s.posY, s.posZ, 0.0}, m) <= kSelectIslandDistance) {
          SelectStatic(c, i);
          break;
        }
      }
      break;
    case BrushType::kSelectTriggers:
      for (int32_t i = 1; i < kBonusSlots; ++i) {
        const BonusRecord& b = w.bonuses[i];
        if (b.alive == 1 &&
            Distance3({b.posX, b.posY, b.posZ, 0.0}, m) <= b.radius + kSelectTriggerMargin) {
          SelectTrigger(c, i);
          break;
        }
      }
      break;
    case BrushType::kModifyTerrain:
      break;  // the editor-view step edits the floor while the button is held
  }
}

bool EditorUndo(EditorContext& c) {
  return c.undo.Undo(Saved(c.w));
}
bool EditorRedo(EditorContext& c) {
  return c.undo.Redo(Saved(c.w));
}

}  // namespace skerrow
