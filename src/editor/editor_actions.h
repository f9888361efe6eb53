// The level editor's controls and actions without any window: what each button, spin and
// check box of TEditform does to the live world. Every action that changes the saved block
// records its bytes in the undo journal. The window (editor_window.h) calls these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "editor/undo.h"
#include "enemies/editor_view.h"
#include "world/level_files.h"

namespace skerrow {

struct WorldState;
struct RenderSwitches;

// "Brush type:" items, in their order.
enum class BrushType : int32_t {
  kModifyTerrain = 0,
  kSetIslands,
  kSetUnits,
  kSetBonuses,
  kSelectUnits,
  kSelectIslands,
  kSelectTriggers,
};
inline constexpr int32_t kBrushTypeCount = 7;

// Control values that are the editor's own (the rest are fields of the world).
struct EditorControls {
  BrushType brushType = BrushType::kSelectUnits;
  // Statics tab.
  int32_t staticBrush = 1;  // "Brush:" 1..255, terrain kind of new statics
  int32_t staticNumber = 1;
  int32_t objectNumber = 1;
  int32_t objectKind = 1;
  bool truncPositions = false;
  double truncValue = 0.0;
  double minDistance = 0.7;
  // Units tab.
  int32_t newUnitKind = 1;  // creation panel "Unit kind:"
  int32_t unitNumber = 1;
  bool autoUpdate = false;
  // Triggers tab.
  int32_t newTriggerKind = 1;
  bool triggerTrunc = false;
  int32_t triggerNumber = 1;
  // General tab: file-name boxes (game paths) and the level and episode spins. The landscape
  // picture (Load and Save landscape), the colour picture and the collision picture have a box
  // each, so that no button writes over a picture another one named.
  std::string levelFile, unitsFile, bonusesFile, bitmapFile, colorsFile, collisionsFile;
  int32_t gotoLevel = 1;
  int32_t gotoEpisode = 1;
  // A brush stroke or a drive with the arrow keys in progress: one undo step is open.
  bool strokeOpen = false;
};

// Stored options the General tab's check boxes write (settings.dat; they act at the next start).
enum class EditorOption { kQualityTerrainTexture, kFourPipelines };

// What the editor asks of the game around it.
class EditorHost : public PictureReader {
 public:
  virtual bool Option(EditorOption) { return false; }
  virtual void SetOption(EditorOption, bool) {}
  // A message box (the text is UTF-8).
  virtual void ShowMessage(const std::string& text) = 0;
  // The game's level change (1..200, 200 + e).
  virtual bool EnterLevel(int32_t number) = 0;
};

struct EditorContext {
  WorldState& w;
  EditorControls& ctl;
  EditorHost& host;
  UndoJournal& undo;
};

// The files the General tab saves and loads, each a part of the undo journal with a clean
// point of its own (AddFileParts registers them in this order).
enum EditorFile : size_t { kLevelFile = 0, kUnitsFile, kBonusesFile, kEditorFileCount };
void AddFileParts(UndoJournal& undo);
// The file holds changes made since its last save or load.
bool FileModified(const EditorContext& c, EditorFile file);
// The modified files of `among` by name, "level, units" ("" when none).
std::string ModifiedFiles(const EditorContext& c, std::initializer_list<EditorFile> among = {
                                                      kLevelFile, kUnitsFile, kBonusesFile});

// Messages of the editor.
inline constexpr const char* kNoMorePlace = "No more place";
inline constexpr const char* kMatchesFound = " matches found";

// ---- Outside the tabs, General and Map tabs ----

// "Mode:" item 0 "Game", 1 "Editor": GameMode = item + 2. A view switch, not an edit: no undo
// step, nothing modified.
void SetEditorMode(EditorContext& c, int32_t item);
// Map tab: the editor camera target for a click at panel pixel (x, y) of the 313 x 313 map.
inline constexpr int32_t kMapPanelSide = 313;
void MapClick(EditorContext& c, int32_t x, int32_t y);
// The camera marker on the map panel: left, top, width, height in panel pixels.
struct MapMarker {
  int32_t left, top, width, height;
};
MapMarker MapMarkerRect(const WorldState& w);

// File transfers of the General tab. Loads refuse, with a message and no change, a file that
// is missing or not exactly the size of its range. Saves go through the atomic file write.
// A save or load that succeeds marks its file clean.
bool EditorLoadLevel(EditorContext& c, const std::string& file);
bool EditorSaveLevel(EditorContext& c, const std::string& file);
bool EditorLoadUnits(EditorContext& c, const std::string& file);  // clears unitAlerted[1..255]
bool EditorSaveUnits(EditorContext& c, const std::string& file);
bool EditorLoadBonuses(EditorContext& c, const std::string& file);
bool EditorSaveBonuses(EditorContext& c, const std::string& file);
// "Load landscape": the height map from the green channel of a picture. "Save landscape": the
// height map as a 2048 x 2048 grey BMP, pixel (x, z) = heightMap[x][z].
bool EditorLoadLandscape(EditorContext& c, const std::string& file);
bool EditorSaveLandscape(EditorContext& c, const std::string& file);
// "Load colors": the landscape colours with the level's gradient beside the picture.
void EditorLoadColors(EditorContext& c, const std::string& file);
// "Write collisions": a 2S x 2S black picture, white where IsLandAt (S = levelSize, 1..1024).
bool WriteCollisions(EditorContext& c, const std::string& file);
// "This level's files": the level, units and bonuses boxes name the current level's own files
// (gdata\Worlds\<episode>\data\Land<n>.lan, normal<n>.unt, normal<n>.bon), as UTF-8.
void UseLevelFiles(EditorContext& c);
// The episode and level the editor works on, "Заманчивые тропики, level 1" (UTF-8).
std::string LevelCaption(const WorldState& w);
void SetPlayerShip(EditorContext& c, int32_t unit);
void SetCameraNumber(EditorContext& c, int32_t camera);
void GoToLevel(EditorContext& c, int32_t level);
void GoToEpisode(EditorContext& c, int32_t episode);
void SetSnow(EditorContext& c, bool on);

// ---- Statics tab ----

// "Create" (and the "Set islands" brush): a static of kind "Brush:" at mouseWorldPos.
int32_t CreateStatic(EditorContext& c);
void DeleteStatic(EditorContext& c);
// Selecting a static moves the editor camera to (posX, posZ - 9.7).
void SelectStatic(EditorContext& c, int32_t number);
// A position typed into the static spin `axis` (0 x, 1 y, 2 z), with "Trunc positions".
void SetStaticPosition(EditorContext& c, int32_t axis, double value);
int32_t AddObject(EditorContext& c);
// "Object number": selects object 1..32 of the selected static; "Object kind" shows an alive
// object's kind.
void SelectObject(EditorContext& c, int32_t number);
// "Object kind" 1..511: the kind of new objects and of the selected object when it is alive.
void SetObjectKind(EditorContext& c, int32_t kind);
void DeleteObject(EditorContext& c);
// False (with "No more place") when 10,000 candidates found no room.
bool RandomizeObject(EditorContext& c);
void SnapObjectY(EditorContext& c);
void SnapObjectRotation(EditorContext& c);
void ClearObjects(EditorContext& c);  // after the window's question was answered Yes
void DeleteAllIslands(EditorContext& c);
void DeleteAllUnits(EditorContext& c);  // units 2..255
void DeleteAllBonuses(EditorContext& c);

// ---- Units tab ----

int32_t CreateUnit(EditorContext& c);
void SelectUnit(EditorContext& c, int32_t number);
void LoadDefaultParams(EditorContext& c);
bool SaveAsDefaults(EditorContext& c);
// Returns the number of units reset (and shows it with " matches found").
int32_t SetAllToDefaults(EditorContext& c);
void DeleteUnit(EditorContext& c);
void HealUnit(EditorContext& c);
void RandomizeUnitPok(EditorContext& c);
int32_t CloneUnit(EditorContext& c);
// gdata\parameters\unit<kind>.par
std::string UnitParameterFile(const WorldState& w, int32_t kind);

// ---- Triggers tab ----

int32_t CreateTrigger(EditorContext& c);
void SelectTrigger(EditorContext& c, int32_t number);
void DeleteTrigger(EditorContext& c);
// The hint text a kind-11 trigger shows (gdata\ata\hints\hint<tag>.txt, the folder the game reads
// hints from), "" otherwise.
std::string TriggerHintText(const WorldState& w, int32_t trigger);

// ---- The editor view ----

// One editor-view step (UpdateEditorView) with its undo: a brush stroke (a mouse button held
// with "Modify terrain") or a drive of the selected unit is one undo step from its first step
// to the step where it has ended.
void EditorViewStep(EditorContext& c, const EditorViewInput& in);
// A left click in the editor view, by "Brush type:".
void EditorViewClick(EditorContext& c);

// Undo and redo the last step; false when there is none.
bool EditorUndo(EditorContext& c);
bool EditorRedo(EditorContext& c);

}  // namespace skerrow
