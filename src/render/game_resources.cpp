// Loading of the game's models and textures: start-up resources and an episode's art.
#include "render/game_resources.h"

#include <cstdio>

#include "engine/ktzgl.h"
#include "engine/model.h"
#include "engine/picture.h"
#include "engine/textures.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/random.h"

namespace skerrow {
namespace {

std::string Num(int32_t n) {
  return std::to_string(n);
}

std::string Frame4(int32_t f) {
  char buf[16];
  std::snprintf(buf, sizeof(buf), "%04d", static_cast<int>(f));
  return buf;
}

uint32_t LoadTex(const std::string& file, bool full, TLoaderMessages& messages) {
  uint32_t t = 0;
  LoadTexture(file, t, full, messages);
  return t;
}

uint32_t LoadPair(const std::string& colour, const std::string& alpha, bool full,
                  TLoaderMessages& messages) {
  uint32_t t = 0;
  LoadTextureWithAlpha(colour, alpha, full, t, messages);
  return t;
}

// A fresh model with its texture directory, loaded from a .3ds file if it exists (scale
// parameter -0.3).
ModelPtr Load3ds(const std::string& file, const std::string& textureDir,
                 TLoaderMessages& messages) {
  auto model = std::make_unique<TKTZGL_Model>();
  model->TextureDir = textureDir;
  model->LoadFromFile(file, false, -0.3f, 1, messages);
  return model;
}

// Parts of the ships that have them: ship number, last part, texture directory ("" = the
// hull's).
struct ShipParts {
  int32_t ship;
  int32_t lastPart;
  const char* textureDir;
};
constexpr ShipParts kShipParts[] = {
    {11, 40, ""}, {12, 23, ""},
    {15, 2, ""},  {22, 2, ""},
    {21, 1, ""},  {24, 2, ""},
    {25, 2, ""},  {26, 22, ""},
    {27, 7, ""},  {37, 2, "gdata\\models\\ships\\ship37\\"},
    {50, 2, ""},
};
static_assert(std::size(kShipParts) == 11);

}  // namespace

GameResources::GameResources() = default;
GameResources::~GameResources() = default;

uint32_t GameResources::Texture(const std::string& name) const {
  auto it = textures.find(name);
  return it == textures.end() ? 0 : it->second;
}

TKTZGL_Model* TerrainModel(const GameResources& res, int32_t piece) {
  if (piece < 0 || piece >= kTerrainModelSlots) return nullptr;
  return res.models[static_cast<size_t>(piece)].get();
}

TKTZGL_Model* ShipModel(const GameResources& res, int32_t ship, int32_t part) {
  if (ship < 1 || ship > kShipModelKinds || part < 0 || part >= kShipModelParts) return nullptr;
  return res.shipModels[static_cast<size_t>(ship)][static_cast<size_t>(part)].get();
}

TKTZGL_Model* ObjectModel(const GameResources& res, int32_t objectKind) {
  if (objectKind < 1 || objectKind > kObjectModelKinds) return nullptr;
  return res.objectModels[static_cast<size_t>(objectKind)].get();
}

TKTZGL_Model* ObjectShadowModel(const GameResources& res, int32_t objectKind) {
  if (objectKind < 1 || objectKind > kObjectModelKinds) return nullptr;
  return res.objectShadowModels[static_cast<size_t>(objectKind)].get();
}

bool EnginePictureReader::ReadPicture(const std::string& gamePath, LevelPicture& out) {
  if (!PathExists(gamePath)) return false;
  TPixels pixels;
  TPictureError error;
  if (!LoadBitmapFile(ResolvePath(gamePath), pixels, &error)) return false;
  out.width = pixels.width;
  out.height = pixels.height;
  out.channels = pixels.channels;
  out.data = std::move(pixels.data);
  return out.Valid();
}

// ---- Start-up loading ----

void LoadShipAndWeaponModels(GameResources& res, const std::string& appPath,
                             LoadingProgress& progress, TLoaderMessages& messages) {
  const std::string ships = appPath + "gdata\\models\\ships\\";
  std::array<std::string, kShipModelKinds + 1> hullDir;
  for (int32_t n = 1; n <= kShipModelKinds; ++n) {
    // A ship without a texture directory of its own takes the previous number's.
    hullDir[n] = DirectoryExists(ships + "ship" + Num(n)) ? ships + "ship" + Num(n) + "\\"
                                                          : ships + "ship" + Num(n - 1) + "\\";
    res.shipModels[n][0] = Load3ds(ships + "ship" + Num(n) + ".3ds", hullDir[n], messages);
    progress.ShowLoadingProgress(RoundToInt(n / 10.0));
  }
  for (const ShipParts& p : kShipParts) {
    const std::string dir = p.textureDir[0] ? appPath + p.textureDir : hullDir[p.ship];
    for (int32_t k = 1; k <= p.lastPart; ++k) {
      res.shipModels[p.ship][k] =
          Load3ds(ships + "ship" + Num(p.ship) + "-" + Num(k) + ".3ds", dir, messages);
    }
  }
  const std::string models = appPath + "gdata\\models\\";
  for (int32_t k = 1; k <= kDebrisModels; ++k) {
    res.debrisModels[k] =
        Load3ds(ships + "Oskolki\\Os" + Num(k) + ".3ds", ships + "Oskolki\\", messages);
  }
  for (int32_t k = 0; k <= kFlagModels; ++k) {
    const std::string file = models + "flag" + (k == 0 ? std::string() : Num(k)) + ".3ds";
    res.flagModels[k][0] = Load3ds(file, ships + "Ship35\\", messages);
    res.flagModels[k][1] = Load3ds(file, models, messages);
  }
  res.paddleWheel = Load3ds(ships + "koleso.3ds", ships + "Ship1\\", messages);
  res.paddleWheels = Load3ds(ships + "kolesa.3ds", ships + "Ship2\\", messages);
  res.propeller = Load3ds(ships + "vint.3ds", ships + "Ship6\\", messages);
  res.mine = Load3ds(models + "mine.3ds", models, messages);
  res.rocket = Load3ds(models + "rocket.3ds", ships + "ship10\\", messages);
  res.torpedo = Load3ds(models + "torpedo.3ds", models, messages);
  res.antiAircraftGun = Load3ds(models + "zenitka.3ds", models, messages);
  res.propellerH = Load3ds(ships + "hvint.3ds", ships + "Ship25\\", messages);
  res.propellerK = Load3ds(ships + "kvint.3ds", ships + "Ship46\\", messages);
  res.propellerM = Load3ds(ships + "mvint.3ds", ships + "Ship24\\", messages);
  res.propellerG = Load3ds(ships + "gvint.3ds", ships + "Ship25\\", messages);
}

void LoadBonusAnimations(const WorldState& ws, GameResources& res, const std::string& appPath,
                         TLoaderMessages& messages) {
  const bool quality = ws.textureQuality == 1;
  const std::string dir = appPath + "gdata\\textures\\bonuses\\";
  for (int32_t k : {1, 2, 3, 4, 5, 6, 11, 12, 13}) {
    for (int32_t f = 0; f < kBonusFrames; ++f) {
      LoadTexture(dir + "bonus" + Num(k) + "\\an" + Frame4(f) + ".qvt",
                  res.handles.bonusFrames[k][f], quality, messages);
    }
  }
  for (int32_t k : {7, 8, 9, 10, 16, 17, 18, 19}) {
    LoadTexture(dir + "bonus" + Num(k) + ".qvt", res.handles.bonusFrames[k][0], quality, messages);
  }
}

void LoadEffectAnimations(const WorldState& ws, GameResources& res, const std::string& appPath,
                          TLoaderMessages& messages) {
  const bool quality = ws.textureQuality == 1;
  const std::string dir = appPath + "gdata\\textures\\effects\\";
  for (int32_t set : {1, 3}) {
    for (int32_t f = 1; f <= 16; ++f) {
      LoadTexture(dir + "gexplos\\destruct" + Num(set) + Num(f) + ".pct",
                  res.handles.effectFrames[set][f], quality, messages);
    }
  }
  const char* named[] = {"exp", "vsplesk", "mini", "fire", "cannon", "water", "light", "expxe"};
  static_assert(std::size(named) + 4 == kEffectSets);
  for (int32_t i = 0; i < 8; ++i) {
    const std::string set = named[i];
    for (int32_t f = 0; f < kEffectFrames; ++f) {
      LoadTexture(dir + set + "\\" + set + Frame4(f) + ".qvt", res.handles.effectFrames[4 + i][f],
                  quality, messages);
    }
  }
}

void LoadInterfaceTextures(WorldState& ws, GameResources& res, const std::string& appPath,
                           LoadingProgress& progress, TLoaderMessages& messages) {
  const bool q = ws.textureQuality == 1;
  const std::string fx = appPath + "gdata\\textures\\effects\\";
  const std::string in = appPath + "gdata\\textures\\int\\";
  auto& t = res.textures;
  t["wat"] = LoadTex(fx + "wat.qvt", q, messages);
  t["tok"] = LoadTex(fx + "tok.qvt", false, messages);  // the screenshot's scratch texture
  LoadTexture(fx + "gland.qvt", res.handles.menuFloorTexture, q, messages);
  t["tok2"] = LoadTex(fx + "tok.qvt", q, messages);
  t["non"] = LoadTex(fx + "non.qvt", q, messages);
  for (int32_t k = 1; k <= 3; ++k) {
    LoadTextureWithAlpha(fx + "snow.qvt", fx + "snowa" + Num(k) + ".qvt", q,
                         res.handles.snowTextures[k], messages);
  }
  t["logot"] = LoadPair(in + "logot.qvt", in + "logor.qvt", q, messages);
  progress.ShowLoadingProgress(40);
  t["light"] = LoadTex(fx + "light.qvt", q, messages);
  t["bliks"] = LoadTex(fx + "bliks.qvt", q, messages);
  t["saving"] = LoadTex(in + "saving.qvt", true, messages);
  t["bul"] = LoadTex(fx + "bul.qvt", q, messages);
  t["lit"] = LoadTex(fx + "lit.qvt", q, messages);

  auto pair = [&](const std::string& name) {
    t[name] = LoadPair(in + name + ".qvt", in + name + "a.qvt", q, messages);
  };
  auto own = [&](const std::string& name) {  // its own file as alpha
    t[name] = LoadPair(in + name + ".qvt", in + name + ".qvt", q, messages);
  };
  auto single = [&](const std::string& name) {
    t[name] = LoadTex(in + name + ".qvt", q, messages);
  };
  pair("interfacetex");
  own("islander");
  t["dim"] = LoadPair(fx + "dim.qvt", fx + "dima.qvt", q, messages);
  pair("minimap");
  progress.ShowLoadingProgress(45);
  for (const char* n : {"cross", "target", "fort", "ship1", "ship2", "ship3"}) pair(n);
  progress.ShowLoadingProgress(50);
  for (const char* n : {"kompas", "params", "window"}) pair(n);
  single("parbtn");
  for (const char* n : {"exit0", "exit1", "exit2", "exit3"}) single(n);
  pair("minmr");
  pair("podlogka");
  single("stripe1");
  single("stripe1A");
  progress.ShowLoadingProgress(55);
  for (const char* n : {"stripe2", "stripe2A", "stripe3", "stripe3A"}) single(n);
  progress.ShowLoadingProgress(60);
  t["Cursor1"] = LoadPair(in + "Cursor1.qvt", in + "Cursor1A.qvt", q, messages);
  own("numbers");
  progress.ShowLoadingProgress(65);
  pair("haste");
  own("key");
  pair("undead");
  progress.ShowLoadingProgress(75);
  t["menu"] = LoadPair(in + "menu.qvt", in + "menua.qvt", true, messages);
  // The HUD's text font, unless the menu interface has loaded it already.
  if (res.handles.largeFontTexture == 0) {
    LoadTextureWithAlpha(in + "font1.qvt", in + "font1d.qvt", true, res.handles.largeFontTexture,
                         messages);
  }
  progress.ShowLoadingProgress(80);
}

// ---- Episode art ----

int32_t LoadLevelObjects(GameResources& res, const std::string& appPath,
                         TLoaderMessages& messages) {
  const std::string dir = appPath + "gdata\\models\\objects\\";
  for (int32_t n = 1; n <= kObjectModelKinds; ++n) {
    res.objectModels[n] = Load3ds(dir + "object" + Num(n) + ".3ds", dir, messages);
    auto shadow = std::make_unique<TKTZGL_Model>();
    shadow->TextureDir = dir;
    const std::string shadowFile = dir + "Shadow" + Num(n) + ".3ds";
    if (!PathExists(shadowFile)) {
      res.objectShadowModels[n] = std::move(shadow);
      return n;
    }
    shadow->LoadFromFile(shadowFile, false, -0.3f, 1, messages);
    res.objectShadowModels[n] = std::move(shadow);
  }
  return kObjectModelKinds;
}

void LoadEpisodeArt(WorldState& ws, GameResources& res, const std::string& episodeName,
                    const EpisodeArtOptions& options, PictureReader& reader,
                    LoadingProgress& progress, bool withGL, TLoaderMessages& messages) {
  const std::string dir = ws.appPath + "gdata\\Worlds\\" + episodeName + "\\";
  const bool q = ws.textureQuality == 1;
  if (withGL) LoadTexture(dir + "Textures\\Skies\\clouds.qvt", res.skyTexture, q, messages);
  progress.ShowLoadingProgress(10);
  const bool big = options.displayHeight >= 1024;
  res.levelShadowSize = big ? 1024 : 512;
  const std::string shadowName = big ? "shadows" : "shadowx";

  for (int32_t k = 1; k <= kTerrainPieceSlots; ++k) {
    ws.units[k].pok = static_cast<float>(SharedRandom().Real());
    progress.ShowLoadingProgress(10 + RoundToInt(k / 2.7));
    const std::string ks = Num(k);
    const std::string obj = dir + "refter\\Terrain" + ks + ".obj";
    const std::string mesh = dir + "refter\\Terrain" + ks + ".3ds";
    const bool isObj = PathExists(obj);
    if (!isObj && !PathExists(mesh)) continue;  // the piece stays as it was

    LevelPicture heights;
    if (reader.ReadPicture(dir + "Data\\Terrain" + ks + ".qvt", heights)) {
      StoreIslandHeights(ws, k, heights);
    }
    const std::string pieceDir = dir + "Textures\\Main\\Terrain" + ks + "\\";
    if (withGL) {
      ModelPtr& model = res.models[static_cast<size_t>(k)];
      if (!model) model = std::make_unique<TKTZGL_Model>();
      model->Clear();
      if (isObj) {
        model->TextureDir = pieceDir;
        const float detailScale[3] = {7, 7, 1};
        model->LoadObjPiece(obj, pieceDir + "terrain.qvt", pieceDir + "detail.qvt", detailScale, 0,
                            options.terrainReflections ? 0 : 1, messages);
        model->PieceKind = 2;
      } else {
        model->TextureDir = dir + "Textures\\Main\\";
        model->LoadFromFile(mesh, false, -0.3f, 1, messages);
        model->PieceKind = 1;
      }
      LoadTexture(pieceDir + "shadowx.qvt", res.handles.staticShadowTextures[k], q, messages);
      res.baseTexels[static_cast<size_t>(k)] =
          model->PieceKind == 2 ? ChangingTexelsOfTexture(model->BaseTexture,
                                                          NeutralTexel::kTransparent)
                                : TexelRect{};
      res.shadowTexels[static_cast<size_t>(k)] =
          ChangingTexelsOfTexture(res.handles.staticShadowTextures[k], NeutralTexel::kWhite);
    }
    // Only pieces 1..100 have a shadow map; the others are loaded without one.
    if (ws.terrainShadowMaps.at(k) != nullptr) {
      LevelPicture shadow;
      if (reader.ReadPicture(pieceDir + "shadow.qvt", shadow)) StoreTerrainShadowMap(ws, k, shadow);
    }
  }
  if (withGL) {
    LoadTexture(dir + "Textures\\Main\\water.qvt", res.seaTexture, q, messages);
    LoadTexture(dir + "Textures\\Main\\detail.qvt", res.detailTexture, true, messages);
    LoadTexture(dir + "Textures\\Skies\\otrbmp.qvt", res.skyReflection, q, messages);
    res.handles.waterTexture = res.skyReflection;
    LoadLevelObjects(res, ws.appPath, messages);
  }
  progress.ShowLoadingProgress(90);
  if (withGL) {
    LoadTexture(dir + "Textures\\Main\\" + shadowName + ".qvt", res.levelShadowTexture, q,
                messages);
  }
  progress.ShowLoadingProgress(100);
}

}  // namespace skerrow
