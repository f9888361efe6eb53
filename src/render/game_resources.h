// The engine objects of the game that live outside the world state: the scene, the terrain
// piece, ship, weapon, debris, flag and object models, and the texture handles of the level
// and episode art and of the interface. Held by the main form; filled by the start-up loader
// and by LoadEpisodeArt. Lookups by a kind from data are checked and give nullptr / 0.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/fill_clip.h"
#include "world/level_files.h"

namespace skerrow {

class TKTZGL_Scene;
class TKTZGL_Model;
struct TPictureError;
// The engine loaders' messages (engine/textures.h): every loader below appends its messages
// here in the order it meets them and shows none; the caller decides.
using TLoaderMessages = std::vector<TPictureError>;

inline constexpr int32_t kTerrainModelSlots = 256;  // models[0..255]; pieces use 1..127
inline constexpr int32_t kShipModelKinds = 128;     // ship models 1..128
inline constexpr int32_t kShipModelParts = 46;      // 0 hull, 1..45 parts
inline constexpr int32_t kObjectModelKinds = 128;   // object<n>.3ds, n = 1..128
inline constexpr int32_t kDebrisModels = 7;
inline constexpr int32_t kFlagModels = 10;  // flag1..flag10; index 0 is flag.3ds

using ModelPtr = std::unique_ptr<TKTZGL_Model>;

// Graphics-library texture names with a fixed place (0 = not loaded, drawn untextured). None
// of them is part of the saved block; the loaders of start-up, of a level and of an episode's
// art fill them and the passes read them here.
struct TextureHandles {
  // Loading screen: picture, bar fill, bar frame.
  uint32_t loadingTexture = 0;
  uint32_t loadingBarFill = 0;
  uint32_t loadingBarFrame = 0;
  // Level and episode art.
  uint32_t terrainTexture = 0;
  uint32_t terrainAnimFrames[32] = {};
  uint32_t menuFloorTexture = 0;
  uint32_t waterTexture = 0;
  uint32_t skyTextures[6] = {};
  uint32_t staticShadowTextures[kTerrainPieceSlots + 1] = {};  // per terrain piece 1..127
  uint32_t levelMinimapTexture = 0;
  // Effects and interface.
  uint32_t largeFontTexture = 0;
  uint32_t haloTexture = 0;
  uint32_t wakeTextures[256] = {};                         // wake textures 1..255
  uint32_t snowTextures[4] = {};                           // flake variants 1..3
  uint32_t bonusFrames[kBonusKinds][kBonusFrames] = {};    // [kind 1..19][frame 0..31]
  uint32_t effectFrames[kEffectSets][kEffectFrames] = {};  // [set 1..11][frame 0..31]
};

struct GameResources {
  GameResources();
  ~GameResources();
  GameResources(const GameResources&) = delete;
  GameResources& operator=(const GameResources&) = delete;

  std::unique_ptr<TKTZGL_Scene> scene;

  std::array<ModelPtr, kTerrainModelSlots> models;  // terrain pieces 1..127 of the episode
  // [ship 1..128][part 0..45]; entries never loaded stay null.
  std::array<std::array<ModelPtr, kShipModelParts>, kShipModelKinds + 1> shipModels;
  std::array<ModelPtr, kObjectModelKinds + 1> objectModels;        // 1..128
  std::array<ModelPtr, kObjectModelKinds + 1> objectShadowModels;  // 1..128
  std::array<ModelPtr, kDebrisModels + 1> debrisModels;            // 1..7
  // [0 flag.3ds, 1..10 flag<k>.3ds][copy 0: textures of Ship35, copy 1: of gdata\models].
  std::array<std::array<ModelPtr, 2>, kFlagModels + 1> flagModels;
  ModelPtr paddleWheel, paddleWheels, propeller, mine, rocket, torpedo, antiAircraftGun;
  ModelPtr propellerH, propellerK, propellerM, propellerG;  // hvint, kvint, mvint, gvint

  // Episode art.
  uint32_t skyTexture = 0;          // Textures\Skies\clouds.qvt
  uint32_t skyReflection = 0;       // Textures\Skies\otrbmp.qvt (the water's reflection)
  uint32_t seaTexture = 0;          // Textures\Main\water.qvt
  uint32_t detailTexture = 0;       // Textures\Main\detail.qvt
  uint32_t levelShadowTexture = 0;  // Textures\Main\shadows.qvt or shadowx.qvt
  int32_t levelShadowSize = 0;      // 1024 or 512

  // Start-up textures that have no field in the world state, by the file's name without its
  // directory and extension ("cross", "kompas", "stripe2A"; pairs under the colour file's
  // name; "tok" and "tok2" are the two loads of tok.qvt). 0 = not loaded.
  std::map<std::string, uint32_t> textures;
  uint32_t Texture(const std::string& name) const;

  TextureHandles handles;
  // Per terrain piece 1..127: where its flat base texture (alpha above 0) and its baked shadow
  // (not white) can change pixels; the whole square until measured at load.
  std::array<TexelRect, kTerrainPieceSlots + 1> baseTexels{};
  std::array<TexelRect, kTerrainPieceSlots + 1> shadowTexels{};
};

// Checked lookups for kinds and piece numbers taken from data: nullptr when out of range or
// never loaded.
TKTZGL_Model* TerrainModel(const GameResources& res, int32_t piece);
TKTZGL_Model* ShipModel(const GameResources& res, int32_t ship, int32_t part);
TKTZGL_Model* ObjectModel(const GameResources& res, int32_t objectKind);
TKTZGL_Model* ObjectShadowModel(const GameResources& res, int32_t objectKind);

// Draws the loading bar up to a percentage (ShowLoadingProgress of the main form).
class LoadingProgress {
 public:
  virtual ~LoadingProgress() = default;
  virtual void ShowLoadingProgress(int32_t percent) = 0;
};

// Pictures through the engine's bitmap decoder, for the level loaders.
class EnginePictureReader : public PictureReader {
 public:
  bool ReadPicture(const std::string& gamePath, LevelPicture& out) override;
};

// ---- Start-up loading (every part needs a current GL context) ----

// Ship models 1..128 with their parts, then the debris, flag, wheel, propeller and weapon
// models. Progress round(N / 10) after ship N.
void LoadShipAndWeaponModels(GameResources& res, const std::string& appPath,
                             LoadingProgress& progress, TLoaderMessages& messages);
// Bonus animations (kinds 1..6, 11..13: 32 frames; 7..10, 16..19: one picture).
void LoadBonusAnimations(const WorldState& ws, GameResources& res, const std::string& appPath,
                         TLoaderMessages& messages);
// Explosion sets 1 and 3 (destruct<set><frame>.pct, frames 1..16) and the eight named sets
// 4..11, 32 frames each.
void LoadEffectAnimations(const WorldState& ws, GameResources& res, const std::string& appPath,
                          TLoaderMessages& messages);
// The effect and interface textures, with their progress steps 40..80.
void LoadInterfaceTextures(WorldState& ws, GameResources& res, const std::string& appPath,
                           LoadingProgress& progress, TLoaderMessages& messages);

// ---- Episode art ----

struct EpisodeArtOptions {
  int32_t displayHeight = 0;       // 1024 and above: the 1024 level shadow texture
  bool terrainReflections = true;  // false: piece parts below the sea are dropped
};

// LoadEpisodeArt: sky, terrain pieces 1..127 with their height grids, shadow textures and
// shadow maps (pieces above 100 get none), water, detail and reflection textures, the object
// models and the level shadow texture. With `withGL` false only the state parts are loaded.
void LoadEpisodeArt(WorldState& ws, GameResources& res, const std::string& episodeName,
                    const EpisodeArtOptions& options, PictureReader& reader,
                    LoadingProgress& progress, bool withGL, TLoaderMessages& messages);
// Object models 1..128 up to the first missing shadow file (whose object model is loaded).
// Returns the number of object models tried.
int32_t LoadLevelObjects(GameResources& res, const std::string& appPath, TLoaderMessages& messages);

}  // namespace skerrow
