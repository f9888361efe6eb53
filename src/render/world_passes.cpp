// Statics, the objects on them, baked shadows and decals, units with their parts, lights,
// shine and stencil shadows.
#include "render/world_passes.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ktzgl.h"
#include "engine/model.h"
#include "platform/numeric.h"
#include "render/game_resources.h"
#include "render/render_state.h"
#include "simulation/particles.h"  // InVisibilityWindow
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;

void CallModel(const TKTZGL_Model* m) {
  if (m != nullptr && m->ModelList != 0) glCallList(m->ModelList);
}

// CallModel that also grows `reach` (when not null) by the model's box as the current
// matrices put it on the screen.
void CallModel(ScreenBox* reach, const TKTZGL_Model* m) {
  if (m == nullptr || m->ModelList == 0) return;
  glCallList(m->ModelList);
  if (reach == nullptr) return;
  if (m->HasBounds == 0) {
    reach->unbounded = true;
    return;
  }
  GrowScreenBoxByBox(*reach, CurrentClipTransform(), m->BoundsMin, m->BoundsMax);
}

}  // namespace

// 3DS models are z-up: turn them upright, then pitch, roll, heading and heel.
void OrientModel(double rotX, double rotY, double rotZ, double heel) {
  glRotatef(-90, 1, 0, 0);
  glRotated(-rotX, 1, 0, 0);
  glRotated(-rotZ, 0, 1, 0);
  glRotated(rotY * kRadToDeg - 90, 0, 0, 1);
  glRotated(heel * kRadToDeg, 1, 0, 0);
}

// The two scene lights from the sky colour at brightness b.
void SetUnitLights(TKTZGL_Scene& scene, const Color4f& sky, double b) {
  const float fb = static_cast<float>(b);
  TKTZGL_Light& l1 = scene.Light1;
  l1.Ambient = {sky.r * 0.5f * fb, sky.g * 0.5f * fb, sky.b * 0.5f * fb, 1};
  l1.Position = {150, 150, -150, 1};
  l1.Diffuse = {sky.r * fb, sky.g * fb, sky.b * fb, 1};
  l1.Specular = l1.Diffuse;
  l1.Apply();
  TKTZGL_Light& l0 = scene.Light0;
  l0.Position = {-150, 150, -150, 1};
  l0.Ambient = l1.Ambient;
  l0.Diffuse = l1.Diffuse;
  l0.Specular = l1.Diffuse;
  l0.Apply();
}

namespace {

// Frac and Trunc of animation angles that may be any value in a file.
int32_t FrameIndex(double v) {
  return TruncToInt(v);
}

// A rotor or wheel part drawn at an offset in model units.
void DrawPart(ScreenBox* reach, const TKTZGL_Model* m, double x, double y, double z, double angle,
              double ax, double ay, double az, double scale = 1) {
  if (m == nullptr || m->ModelList == 0) return;
  glPushMatrix();
  glTranslated(x, y, z);
  glRotated(angle, ax, ay, az);
  if (scale != 1) glScaled(scale, scale, scale);
  CallModel(reach, m);
  glPopMatrix();
}

// Element of the damage-state kinds (15, 22, 37, 50): 2 sinking, 1 below half life, else 0.
int32_t DamageElement(const UnitRecord& u) {
  if (u.sinking == 1) return 2;
  if (u.life < u.maxLife / 2) return 1;
  return 0;
}

bool CastsShadow(int32_t k) {
  return k != kind::kCoastalFort && k != kind::kFortTower && k != kind::kCoinChest;
}

bool DrawnUnlit(int32_t k) {
  return (k >= kind::kGate && k <= kind::kKeyGate2) || k == kind::kLock ||
         (k >= kind::kGate2 && k <= kind::kLock2);
}

// The models of one unit by kind, in model units after the orientation and scale. Every
// model and frame index is checked; a kind without a model draws nothing.
void CallUnitModels(const GameResources& res, const UnitRecord& u, ScreenBox* reach = nullptr) {
  const int32_t kind = u.unitKind;
  const double p = u.pok;
  const TKTZGL_Model* hull = ShipModel(res, kind, 0);
  switch (kind) {
    case kind::kPaddleSteamer:
      CallModel(reach, hull);
      DrawPart(reach, res.paddleWheel.get(), 47.5, 0, 44.2, PropPhase(u) * kRadToDeg, 0, 1, 0);
      break;
    case kind::kSternWheeler:
      CallModel(reach, hull);
      DrawPart(reach, res.paddleWheels.get(), 135.5, 0, 29.8, PropPhase(u) * kRadToDeg, 0, 1, 0);
      break;
    case kind::kPatrolBoat:
    case kind::kTorpedoBoat:
      CallModel(reach, hull);
      DrawPart(reach, res.propeller.get(), 0, 0, 0, p * kRadToDeg, 1, 0, 0);
      break;
    case kind::kSubmarine:
      CallModel(reach, ShipModel(res, kind, FrameIndex(p / kPi * 20)));
      break;
    case kind::kSteamRam:
      CallModel(reach, ShipModel(res, kind, FrameIndex(p / kPi * 11.5)));
      break;
    case kind::kMonitor:
    case kind::kItemWreck22:
    case kind::kItemWreck37:
    case kind::kItemWreck50:
      CallModel(reach, ShipModel(res, kind, DamageElement(u)));
      break;
    case kind::kBomber:
      CallModel(reach, hull);
      DrawPart(reach, res.propellerG.get(), -950, 475, 340, p * 32 * kRadToDeg, 0, 0, 1, 2.2);
      DrawPart(reach, res.propellerG.get(), -950, -475, 340, p * 32 * kRadToDeg, 0, 0, 1, 2.2);
      break;
    case kind::kSkimmer: {
      const double v = p / kPi * 70;
      CallModel(reach, ShipModel(res, kind, RoundToInt(v - std::floor(v))));
      break;
    }
    case kind::kAutogyro:
      CallModel(reach, hull);
      DrawPart(reach, res.propellerM.get(), 0, 0, 163, p * 16 * kRadToDeg, 0, 0, 1);
      break;
    case kind::kSeaplane:
      CallModel(reach, ShipModel(res, kind, FrameIndex(p / kPi)));
      DrawPart(reach, res.propellerH.get(), 0, 0, 0, p / kPi * 90, 0, 0, 1);
      break;
    case kind::kShoreBattery: {
      const int32_t base = (u.sinking == 1 || u.life < u.maxLife / 2) ? 11 : 0;
      const int32_t f = FrameIndex(p / kPi * 5.1);
      if (f >= 0 && f < 11) CallModel(reach, ShipModel(res, kind, base + f));
      break;
    }
    case kind::kMortarBoat:
      CallModel(reach, ShipModel(res, kind, FrameIndex(std::max(7 - (100 - u.reload) / 8.0, 0.0))));
      break;
    case kind::kSwitch: {
      CallModel(reach, hull);
      const int32_t f = FrameIndex(u.rotateSpeed / kPi * 5.1);
      DrawPart(reach, ShipModel(res, kind, 1 + f), 0, 0, 0, 0, 0, 0, 1, 0.7);
      break;
    }
    case kind::kFighter:
      CallModel(reach, hull);
      if (u.maxLife < 50000) {
        DrawPart(reach, res.propellerK.get(), 0, 0, 0, p / kPi * 90, 0, 0, 1, 1.5);
      }
      break;
    default:
      CallModel(reach, hull);
      break;
  }
}

void MoveToUnit(const UnitRecord& u, double y) {
  glTranslated(u.posX, y, u.posZ);
  OrientModel(u.rotX, u.rotY, u.rotZ, u.heel);
  const double s = UnitModelScale(u.unitKind);
  glScaled(s, s, s);
}

bool InWindow(const WorldState& w, double x, double z, double halfX, double minZ, double maxZ) {
  const double dx = w.cameraPos.x - x, dz = w.cameraPos.z - z;
  return std::fabs(dx) < halfX && dz > minZ && dz < maxZ;
}

}  // namespace

bool InStaticsWindow(const WorldState& w, double x, double z) {
  return InWindow(w, x, z, 23, -30, 10);
}
bool InUnitsWindow(const WorldState& w, double x, double z) {
  return InVisibilityWindow(w, x, z);  // the window the simulation updates units in
}

std::array<float, 16> ShadowMatrix(const Vector4d& L, const Vector4d& P, const Vector4d& N) {
  const double c = -(N.x * P.x + N.y * P.y + N.z * P.z);
  const double d = N.x * L.x + N.y * L.y + N.z * L.z + c * L.w;
  const double l[4] = {L.x, L.y, L.z, L.w};
  const double n[4] = {N.x, N.y, N.z, c};
  std::array<float, 16> m{};
  // Row i, column j of the matrix goes to element j * 4 + i (column-major).
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      m[static_cast<size_t>(j * 4 + i)] = static_cast<float>((i == j ? d : 0) - l[i] * n[j]);
    }
  }
  return m;
}

double UnitModelScale(int32_t k) {
  // The role table's scale; kinds without a model (0, above 128, outside 0..255) keep 0.005.
  const KindRole* role = KindRoleOf(k);
  return role != nullptr && role->drawScale > 0 ? role->drawScale : 0.005;
}

double UnitBrightness(const WorldState& w, const UnitRecord& u, int32_t pass) {
  if (pass == 1) return 1.0;
  const KindRecord* k = w.kindTable.at(u.unitKind);
  if (k != nullptr && k->kindClass == unit_class::kExitGate) return 1.0;
  if (u.sinking == 1) {
    const int32_t x = ClampIndex(u.posX * 2, kMapSize - 1);
    const int32_t z = ClampIndex(u.posZ * 2, kMapSize - 1);
    const double f = std::fabs(w.heightMap[x][z] / 255.0 * 9.97 / 2 - 5);
    // A floor exactly at the fade's zero would divide by zero: fully faded instead.
    if (f < 1e-9) return 0.0;
    return std::min((f - std::max(std::fabs(u.posY), 0.01)) / f, 0.7);
  }
  return u.lightLevel;
}

bool StaticsOnlyObjPieces(const DrawContext& c) {
  const WorldState& w = c.w;
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1 || s.terrainKind == 13) continue;
    if (w.editorPlanes != 1 && !InStaticsWindow(w, s.posX, s.posZ)) continue;
    const TKTZGL_Model* m = TerrainModel(c.res, s.terrainKind);
    if (m != nullptr && m->PieceKind != 2) return false;
  }
  return true;
}

int32_t DrawStatics(DrawContext& c, int32_t pass) {
  (void)pass;  // only pass 0 exists
  const WorldState& w = c.w;
  int32_t drawn = 0;
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  const Color4f& sky = w.skyFogColour;
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1) continue;
    if (w.editorPlanes != 1 && !InStaticsWindow(w, s.posX, s.posZ)) continue;
    if (s.terrainKind == 13) continue;
    const TKTZGL_Model* m = TerrainModel(c.res, s.terrainKind);
    if (m != nullptr) {
      ++drawn;
      glColor4f(sky.r, sky.g, sky.b, sky.a);
      if (m->PieceKind == 2) {
        ActiveTextureARB(kGlTexture0Arb);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m->BaseTexture);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glScalef(2, 1, 1);
        glMatrixMode(GL_MODELVIEW);
        if (m->DetailTexture != 0) {
          ActiveTextureARB(kGlTexture1Arb);
          glEnable(GL_TEXTURE_2D);
          glBindTexture(GL_TEXTURE_2D, m->DetailTexture);
        }
        glPushMatrix();
        glTranslated(s.posX, s.posY, s.posZ);
        glScalef(0.1f, 0.1f, 0.1f);
        glScalef(1.025f, 1.025f, 1.025f);
        CallModel(m);
        ActiveTextureARB(kGlTexture1Arb);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
        ActiveTextureARB(kGlTexture0Arb);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
      } else {
        glPushMatrix();
        glTranslated(s.posX, s.posY, s.posZ);
        glRotatef(-90, 1, 0, 0);
        glRotatef(-180, 0, 0, 1);
        glEnable(GL_TEXTURE_2D);
        glScalef(0.025f, 0.025f, 0.025f);
        CallModel(m);
        glDisable(GL_TEXTURE_2D);
      }
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glDisable(GL_BLEND);
      glPopMatrix();
    }
  }
  return drawn;
}

void DrawStaticObjects(DrawContext& c, int32_t pass) {
  const WorldState& w = c.w;
  const Color4f& sky = w.skyFogColour;
  const uint32_t numbers = c.res.Texture("numbers");
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1 || !InStaticsWindow(w, s.posX, s.posZ)) continue;
    for (int32_t k = 1; k < kStaticObjectSlots; ++k) {
      const StaticObjectRecord& o = s.objects[k];
      if (o.alive != 1) continue;
      const int32_t kind = o.objectKind;
      const bool styleA = kind == 1 || (kind >= 5 && kind <= 24) || (kind >= 30 && kind <= 55);
      const bool styleB =
          kind == 2 || kind == 3 || (kind >= 25 && kind <= 29) || kind == 56 || kind == 57;
      const bool styleC = kind == 4;
      if (!styleA && !styleB && !styleC) continue;
      SetUnitLights(c.scene, sky, 1.0);
      const double ox = s.posX + o.posX, oy = s.posY + o.posY, oz = s.posZ + o.posZ;
      const TKTZGL_Model* model = ObjectModel(c.res, kind);
      const TKTZGL_Model* shadow = ObjectShadowModel(c.res, kind);
      glEnable(GL_NORMALIZE);
      glDisable(GL_COLOR_MATERIAL);
      glPushMatrix();
      glTranslated(ox, oy, oz);
      OrientModel(o.rotX, o.rotY, o.rotZ, 0);
      glScalef(0.005f, 0.005f, 0.005f);
      if (styleC) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        const Color4f& fire = c.rs.fires.colour[pass == 1 ? 1 : 0][i][k];
        glColor4f(fire.r, fire.g, fire.b, fire.a);
        if (pass == 1) {
          CallModel(shadow);
        } else {
          glColor4f(sky.r, sky.g, sky.b, sky.a);
          CallModel(model);
        }
        glEnable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glPopMatrix();
        continue;
      }
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glEnable(GL_TEXTURE_2D);
      glDisable(GL_LIGHTING);
      glDisable(GL_DEPTH_TEST);
      if (styleA) glDepthMask(GL_FALSE);
      if (pass == 1) CallModel(shadow);
      glEnable(GL_DEPTH_TEST);
      glEnable(GL_LIGHTING);
      if (pass == 0) CallModel(model);
      glDepthMask(GL_TRUE);
      if (w.GameMode == game_mode::kEditorView && pass == 0 && i == c.rs.editorStatic &&
          k == c.rs.editorObject) {
        glBindTexture(GL_TEXTURE_2D, numbers);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(75, 75, 0);
        glTexCoord2f(1, 0);
        glVertex3f(-75, 75, 0);
        glTexCoord2f(1, 1);
        glVertex3f(-75, -75, 0);
        glTexCoord2f(0, 1);
        glVertex3f(75, -75, 0);
        glEnd();
      }
      glPopMatrix();
    }
  }
  glDisable(GL_NORMALIZE);
}

namespace {

// The decal quad of half-width h at the static's place: a scissor to the part of it where its
// texture can change pixels (fill_clip.h). False when that part is empty: the quad would change
// nothing. Without `clip`, or when the box cannot be trusted, the whole window.
bool ScissorToTexels(bool clip, const ClipTransform& t, const StaticRecord& s, float h,
                     const TexelRect& r) {
  if (!clip) return true;
  if (r.Empty()) return false;
  // The quad maps texture s to x = h - 2hs and t to z = 2ht - h.
  auto box = [&](float s0, float t0, float s1, float t1) {
    ScreenBox b;
    for (int k = 0; k < 4; ++k) {
      const float ss = (k & 1) != 0 ? s1 : s0, tt = (k & 2) != 0 ? t1 : t0;
      GrowScreenBox(b, t, s.posX + h - 2 * h * ss, s.posY, s.posZ + 2 * h * tt - h);
    }
    return b;
  };
  // Only while the texture is not squeezed beyond the levels the rectangle was taken from: the
  // whole quad at least half a pixel per texel across (the far edge of a quad seen at a slant
  // is squeezed up to a few times more than the whole).
  const ScreenBox whole = box(0, 0, 1, 1);
  const int32_t side = std::max(r.width, r.height);
  const bool measured = side > 0 && !whole.unbounded && !whole.Empty() &&
                        std::min(whole.x1 - whole.x0, whole.y1 - whole.y0) * 2 >= side;
  const ScissorRect rect = ScissorFor(measured ? box(r.s0, r.t0, r.s1, r.t1) : whole, t.viewport);
  if (rect.width <= 0 || rect.height <= 0) return false;
  glScissor(rect.x, rect.y, rect.width, rect.height);
  return true;
}

}  // namespace

void DrawStaticDecals(DrawContext& c, bool clipToTexels) {
  const WorldState& w = c.w;
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glDepthMask(GL_FALSE);
  glDepthFunc(GL_LEQUAL);
  const Color4f& sky = w.skyFogColour;
  const uint32_t islander = c.res.Texture("islander");
  auto quad = [](float h) {
    glBegin(GL_QUADS);
    glTexCoord2f(1, 1);
    glVertex3f(-h, 0, h);
    glTexCoord2f(0, 1);
    glVertex3f(h, 0, h);
    glTexCoord2f(0, 0);
    glVertex3f(h, 0, -h);
    glTexCoord2f(1, 0);
    glVertex3f(-h, 0, -h);
    glEnd();
  };
  const ClipTransform clip = CurrentClipTransform();
  if (clipToTexels) glEnable(GL_SCISSOR_TEST);
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1) continue;
    if (w.editorPlanes != 1 && !InStaticsWindow(w, s.posX, s.posZ)) continue;
    glPushMatrix();
    glTranslated(s.posX, s.posY, s.posZ);
    if (w.GameMode == game_mode::kEditorView) {
      if (i == c.rs.editorStatic) {
        glColor4f(1, 0, 0, 1);
      } else {
        glColor4f(1, 1, 1, 1);
      }
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glBindTexture(GL_TEXTURE_2D, islander);
      quad(5);
      glColor4f(1, 1, 1, 1);
    }
    if (s.terrainKind != 13) {
      c.scene.Fog.Colour = sky;
      c.scene.ApplyFog(c.scene.Fog);
      const TKTZGL_Model* m = TerrainModel(c.res, s.terrainKind);
      const TexelRect noRect;
      const size_t piece = static_cast<size_t>(s.terrainKind);
      const bool knownPiece = s.terrainKind >= 1 && s.terrainKind <= kTerrainPieceSlots;
      if (m != nullptr && m->PieceKind == 2) {
        glColor4f(sky.r, sky.g, sky.b, sky.a);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glBindTexture(GL_TEXTURE_2D, m->BaseTexture);
        if (ScissorToTexels(clipToTexels, clip, s, 5,
                            knownPiece ? c.res.baseTexels[piece] : noRect)) {
          quad(5);
        }
      }
      if (w.terrainShadows == 1 && knownPiece) {
        c.scene.Fog.Colour = {1, 1, 1, 1};
        c.scene.ApplyFog(c.scene.Fog);
        glColor4f(1, 1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, c.res.handles.staticShadowTextures[s.terrainKind]);
        glBlendFunc(GL_ZERO, GL_SRC_COLOR);
        if (ScissorToTexels(clipToTexels, clip, s, 10, c.res.shadowTexels[piece])) quad(10);
      }
    }
    glPopMatrix();
  }
  if (clipToTexels) glDisable(GL_SCISSOR_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_TRUE);
  glDisable(GL_TEXTURE_2D);
}

int32_t DrawUnits(DrawContext& c, int32_t pass) {
  const WorldState& w = c.w;
  const Color4f& sky = w.skyFogColour;
  int32_t shadows = 0;
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    const UnitRecord& u = w.units[i];
    if (u.alive != 1) continue;
    const bool high = u.posY > 0.5;
    if (high != (pass == 1)) continue;
    if (w.editorPlanes != 1 && !InUnitsWindow(w, u.posX, u.posZ)) continue;

    const double b = UnitBrightness(w, u, pass);
    const float fb = static_cast<float>(b);
    const bool fading = pass == 0 && u.sinking == 1 &&
                        !(w.kindTable.at(u.unitKind) != nullptr &&
                          w.kindTable[u.unitKind].kindClass == unit_class::kExitGate);
    if (fading) {
      glEnable(GL_COLOR_MATERIAL);
      glColor4f(sky.r * fb, sky.g * fb, sky.b * fb, fb);
      glBlendFunc(GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR);
    } else {
      glColor4f(sky.r, sky.g, sky.b, sky.a);
      glDisable(GL_COLOR_MATERIAL);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    SetUnitLights(c.scene, sky, b);

    const int32_t kind = u.unitKind;
    const bool shadowAllowed =
        (u.sinking == 0 || u.posY > 0.3) && w.fourPipelines == 1 && shadows < w.maxShadows;
    if ((shadowAllowed || w.editorPlanes == 1) && CastsShadow(kind)) {
      ++shadows;
      glPushMatrix();
      glEnable(GL_STENCIL_TEST);
      const double lift = kind == kind::kFighter ? 25 : 7;
      const Vector4d light = {u.posX + lift, kind == kind::kFighter ? 25.7 : 9.7, u.posZ + lift, 1};
      const auto m = ShadowMatrix(light, w.shadowPlanePoint, w.shadowPlaneNormal);
      glMultMatrixf(m.data());
      glDisable(GL_DEPTH_TEST);
      MoveToUnit(u, 0);
      glStencilFunc(GL_ALWAYS, 1, 1);
      glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
      glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
      CallUnitModels(c.res, u, &c.rs.shadowReach);
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      glEnable(GL_DEPTH_TEST);
      glPopMatrix();
      glDisable(GL_STENCIL_TEST);
    }

    glEnable(GL_NORMALIZE);
    glPushMatrix();
    MoveToUnit(u, u.posY);
    glEnable(GL_BLEND);
    if (DrawnUnlit(kind)) {
      glDisable(GL_LIGHTING);
    } else {
      glEnable(GL_LIGHTING);
    }
    glEnable(GL_TEXTURE_2D);
    CallUnitModels(c.res, u);
    const bool shine =
        (kind >= kind::kPaddleSteamer && kind <= kind::kCruiser && w.respawnProtection > 0) ||
        kind == kind::kFighter;
    if (shine) {
      glEnable(GL_TEXTURE_GEN_S);
      glEnable(GL_TEXTURE_GEN_T);
      glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glBlendFunc(GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR);
      glColor4f(1, 1, 1, 1);
      if (kind == kind::kFighter) {
        CallModel(ShipModel(c.res, kind, 0));
      } else {
        CallUnitModels(c.res, u);
      }
      glDisable(GL_TEXTURE_GEN_S);
      glDisable(GL_TEXTURE_GEN_T);
      glColor4f(sky.r, sky.g, sky.b, fb);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glDisable(GL_NORMALIZE);
    glPopMatrix();
  }
  glDisable(GL_COLOR_MATERIAL);
  return shadows;
}

void DrawShadowDarkening(DrawContext& c, bool onlyWhereShadowsReach) {
  const WorldState& w = c.w;
  ScissorRect scissor;
  if (onlyWhereShadowsReach) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    scissor = ScissorFor(c.rs.shadowReach, viewport);
    glScissor(scissor.x, scissor.y, scissor.width, scissor.height);
    glEnable(GL_SCISSOR_TEST);
  }
  glPushMatrix();
  glLoadIdentity();
  c.scene.Camera.Apply();
  glTranslated(w.cameraPos.x, 0, w.cameraPos.z + 3.7);
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_EQUAL, 1, 1);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glColor4f(0, 0, 0, 0.3f);
  // No shadow on the screen: no marked pixel to darken.
  if (!onlyWhereShadowsReach || (scissor.width > 0 && scissor.height > 0)) {
    glBegin(GL_QUADS);
    glVertex3f(-25, 0, 25);
    glVertex3f(25, 0, 25);
    glVertex3f(25, 0, -25);
    glVertex3f(-25, 0, -25);
    glEnd();
  }
  if (onlyWhereShadowsReach) glDisable(GL_SCISSOR_TEST);
  glEnable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_COLOR_MATERIAL);
  glPopMatrix();
}

void DrawEditorUnitMarker(DrawContext& c) {
  const WorldState& w = c.w;
  glEnable(GL_DEPTH_TEST);
  glLoadIdentity();
  c.scene.Camera.Apply();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, c.res.Texture("numbers"));
  const int32_t n = c.rs.editorUnit;
  if (n >= 1 && n < kUnitSlots) {
    const UnitRecord& u = w.units[n];
    if (u.unitKind == kind::kPaddleSteamer) {
      glColor4f(0, 1, 0, 1);
    } else {
      glColor4f(1, 1, 0, 1);
    }
    if (u.alive == 1 && InUnitsWindow(w, u.posX, u.posZ)) {
      glPushMatrix();
      glTranslated(u.posX, std::max(u.posY, 0.1), u.posZ);
      glRotatef(90, 1, 0, 0);
      const double r = std::isfinite(u.radius) ? u.radius : 0.0;
      c.scene.DrawQuadAtZero(-r, -r, r, r);
      glPopMatrix();
    }
  }
  glColor4f(1, 1, 1, 1);
}

}  // namespace skerrow
