// Level files and level loading: the episode table, the raw level, unit, bonus, parameter and
// kind pack transfers, the picture decodings into the state (height grids, shadow maps, the
// height map and the terrain colours) and EnterLevel. Graphics, music, hints and timers are
// reached through LevelHost, so this builds and tests without a display.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "world/world_state.h"

namespace skerrow {

inline constexpr int32_t kEpisodeCount = 4;        // episodes 1..4
inline constexpr int32_t kLastLevelNumber = 200;   // levels 1..200 of an episode
inline constexpr int32_t kEpisodeLevelBase = 200;  // 200 + e: first level of episode e
inline constexpr int32_t kOutroLevel = 500;        // the end of the game
// terrainView on level entry and after a save-game load: left, back, right, ahead.
inline constexpr int32_t kLevelTerrainView[4] = {47, 14, 47, 64};

// Episode directory name of episode e (Windows-1251; also the text of save-slot descriptions),
// or "" when e is not 1..4.
std::string EpisodeName(int32_t episode);
// Game path (relative to appPath) of the episode's battle music: row min(e, 3); "" for e < 1.
std::string EpisodeMusic(int32_t episode);
// appPath + "gdata\Worlds\" + episodeName + "\".
std::string EpisodeDirectory(const WorldState& ws);
// Whether episode e exists in the pack and has level n (its land file).
bool LevelFilesExist(const std::string& appPath, int32_t episode, int32_t level);

// ---- Raw transfers ----
// A load of a missing file does nothing; a short file fills only its own length. Saves write
// the range with no header and return false when nothing could be written (an empty name
// included).
void LoadUnits(WorldState& ws, const std::string& file);
bool SaveUnits(const WorldState& ws, const std::string& file);
void LoadBonuses(WorldState& ws, const std::string& file);
bool SaveBonuses(const WorldState& ws, const std::string& file);
void LoadLand(WorldState& ws, const std::string& file);
bool SaveLand(const WorldState& ws, const std::string& file);
// Returns the bytes read: sizeof(UnitRecord) for a whole record. A record with a value that is
// not a number (UnitNumbersFinite) is refused: 0, `record` unchanged, a line in the log.
size_t LoadUnitParameters(UnitRecord& record, const std::string& file);
bool SaveUnitParameters(const UnitRecord& record, const std::string& file);
// gdata\Skerrow.qvp into the kind table; gdata\parameters\unit1..3.par into heroDefaults. A
// pack with a radius that is not a number is refused whole (the table is left as it was): the
// message to show, or "".
std::string LoadKindPack(WorldState& ws);
void LoadHeroDefaults(WorldState& ws);

// ---- Pictures ----

// A decoded picture: `channels` bytes per pixel (3 RGB or 4 RGBA), rows bottom-up without
// padding. Pixel (x, y) is column x, row y counted from the top of the picture.
struct LevelPicture {
  int32_t width = 0;
  int32_t height = 0;
  int32_t channels = 0;
  std::vector<uint8_t> data;

  // False when the sizes do not match the data (such a picture is ignored everywhere).
  bool Valid() const;
  // Channel c of pixel (x, y); the caller keeps x, y inside the picture.
  uint8_t At(int32_t x, int32_t y, int32_t c) const;
};

// Reads picture files for the level loaders (the engine's bitmap decoder in the game).
class PictureReader {
 public:
  virtual ~PictureReader() = default;
  // False when the file is missing or cannot be decoded.
  virtual bool ReadPicture(const std::string& gamePath, LevelPicture& out) = 0;
  // The picture's width alone. The game reads only the file's header; this default decodes
  // the whole picture. False when the file is missing or its header unreadable.
  virtual bool ReadPictureWidth(const std::string& gamePath, int32_t& width);
};

// heightMap[x][z] = green of pixel (x, z) for the picture's width and height up to 2048 each;
// the rest of the map keeps its values.
void StoreHeightMapPicture(WorldState& ws, const LevelPicture& picture);
// islandHeights[k][a][b] = green of pixel (127 - a, 127 - b): the grid is stored turned by 180
// degrees. Pieces outside 1..127 and cells outside a smaller picture are left alone.
void StoreIslandHeights(WorldState& ws, int32_t piece, const LevelPicture& picture);
// terrainShadowMaps[k][a][b] = red of pixel (a, b). Only pieces 1..100 have a map: returns
// false (and stores nothing) for any other piece.
bool StoreTerrainShadowMap(WorldState& ws, int32_t piece, const LevelPicture& picture);
// terrainColour[x][z] = colour of pixel (x, z) times gradient[heightMap[x][z]], each channel
// clamped to 0..1, alpha 1. The gradient is column 0 of `gradient`, row h for height h; rows
// beyond the gradient picture count as black.
void ComputeTerrainColours(WorldState& ws, const LevelPicture& colours,
                           const LevelPicture& gradient);

// LoadHeightMapBitmap: a missing or undecodable file changes nothing.
void LoadHeightMapBitmap(WorldState& ws, PictureReader& reader, const std::string& file);
// LoadTerrainColours: the colour picture `file` and "ugrad" + levelNumber + ".qvt" from the
// same directory. A missing colour picture, or a missing gradient, changes nothing.
void LoadTerrainColours(WorldState& ws, PictureReader& reader, const std::string& file);
// Largest level side in world units: the sea-floor grid (2048 cells, 0.5 units each) covers
// no more.
inline constexpr int32_t kMaxLevelSize = 1024;
// A message box a level loader has for the player; an empty text is no message.
struct LevelMessage {
  std::string caption;
  std::string text;
};
// The width of `episodeDir` + "Data\size<N>.qvt" into `size`: 0 when the file is missing or
// unreadable; a width outside 1..kMaxLevelSize leaves 0 and is returned as a message.
LevelMessage LevelSizeOf(PictureReader& reader, const std::string& episodeDir, int32_t level,
                         int32_t& size);
// levelSize = width of Data\size<N>.qvt of the current episode; unchanged when missing. A
// width outside 1..kMaxLevelSize leaves it unchanged too and is returned as a message.
LevelMessage ReadLevelSize(WorldState& ws, PictureReader& reader, int32_t level);

// ---- Checks of what a level or save file brings into the state ----

inline constexpr int32_t kLastTerrainKind = 127;  // Terrain<k> pieces 1..127
inline constexpr int32_t kLastObjectKind = 128;   // object<n>.3ds 1..128

// Why a table read from a file cannot be played, or "" when it can. Units in use (alive or
// sinking): kind 0..255, every value a number. Statics in use: terrain piece 1..127,
// centre a number, objects in use of kind 1..128 at a place that is a number. Bonuses: an armed
// one at a place that is a number (an unknown bonus kind is inert and passes).
std::string CheckUnitTable(std::span<const UnitRecord> units);
// Every float and double of the record is a number (no NaN, no infinity).
bool UnitNumbersFinite(const UnitRecord& u);
std::string CheckStaticTable(std::span<const StaticRecord> statics);
std::string CheckBonusPlaces(std::span<const BonusRecord> bonuses);

// ---- EnterLevel ----

// What EnterLevel needs beyond the state: graphics, music, hints and the loading screen.
class LevelHost : public PictureReader {
 public:
  // The loading bar back to 0 (the next progress call starts from there).
  virtual void ResetLoadingProgress() = 0;
  // Loading screen picture gdata\textures\int\loadingW<e>.qvt.
  virtual void LoadLoadingPicture(int32_t episode) = 0;
  virtual void LoadEpisodeArt(const std::string& episodeName) = 0;
  // Data\minimap<N>.qvt as the minimap texture (a game path).
  virtual void LoadMinimap(const std::string& gamePath) = 0;
  virtual void SetFpsTimer(bool enabled) = 0;
  // If music is on: stop it, start the episode's music, set the stored volume.
  virtual void StartEpisodeMusic(int32_t episode) = 0;
  virtual void ShowEpisodeHint(const std::string& voiceFile, const std::string& textFile) = 0;
  // EnterLevel(500): the outro (GameMode is already 1).
  virtual void ShowOutro() = 0;
  // A level file refused with a message (the game shows it as a message box).
  virtual void ShowLevelMessage(const LevelMessage& message) = 0;
};

// Enters level `number`: 1..200 a level of the current episode, 200 + e (e = 1..4) the first
// level of episode e, 500 the outro. Any other number (0 = no link, an episode beyond the
// table) changes nothing and gives false. The level's land, unit and bonus files and its size
// picture are read and checked before anything changes: a file of the wrong length, a width
// outside 1..kMaxLevelSize or a table that fails its check is handed to the host as a message,
// and the state (the episode and its art included) stays as it was, with false.
bool EnterLevel(WorldState& ws, LevelHost& host, int32_t number);

// The level's state rules after its files are read: the player's unit keeps everything but its
// horizontal position and heading (`kept` is its record from before the load), the other units'
// life and maxLife scale by `episode`, pickups lose their radius, the links and alerts clear.
void ApplyLevelEntryRules(WorldState& ws, const UnitRecord* kept);

}  // namespace skerrow
