// The play frame and the editor-view frame: the passes in their fixed order, the world and
// overlay cameras, fog switching, sky box, water depth plane, picking and the screen fade.
#include "render/frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

#include "engine/ktzgl.h"
#include "engine/textures.h"
#include "render/frame_world.h"
#include "render/game_resources.h"
#include "render/later_passes.h"
#include "render/render_state.h"
#include "render/renderer.h"
#include "render/snow.h"
#include "render/terrain.h"
#include "render/water.h"
#include "render/world_passes.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

constexpr Color4f kFogBlack = {0, 0, 0, 1};
// The fast sea's water strips: four sheet columns (eight blot episode 3's fine streaks).
constexpr int32_t kFastSeaWaterColumns = 4;

void FogColour(TKTZGL_Scene& scene, const Color4f& colour) {
  scene.Fog.Colour = colour;
  scene.ApplyFog(scene.Fog);
}

void FogEnabledColour(TKTZGL_Scene& scene, bool enabled, const Color4f& colour) {
  scene.Fog.Enabled = enabled ? 1 : 0;
  scene.Fog.Colour = colour;
  scene.ApplyFog(scene.Fog);
}

void OverlayCamera(TKTZGL_Scene& scene) {
  scene.Camera.FieldOfView = 90.0;
  scene.Camera.SetProjection(scene.Width, scene.Height);
  glLoadIdentity();
  // The overlay passes draw over the finished world whatever its depth.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
}

uint32_t FloorTexture(const GameResources& res) {
  return res.detailTexture != 0 ? res.detailTexture : res.seaTexture;
}

// The GL state the shadow darkening leaves, for a frame that skips the darkening because no
// shadow marked the stencil buffer: the passes after it see the same state either way.
void LeaveShadowDarkeningState() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_COLOR_MATERIAL);
  glColor4f(0, 0, 0, 0.3f);
}

// The current texture coordinates of units 0 and 1, as the last vertex sent left them.
struct CurrentTexCoords {
  float unit[2][4] = {};
};

CurrentTexCoords ReadCurrentTexCoords() {
  CurrentTexCoords t;
  ActiveTextureARB(kGlTexture1Arb);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, t.unit[1]);
  ActiveTextureARB(kGlTexture0Arb);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, t.unit[0]);
  return t;
}

void SendCurrentTexCoords(const CurrentTexCoords& t) {
  if (Extensions().MultiTexCoord2fARB == nullptr) {
    glTexCoord2f(t.unit[0][0], t.unit[0][1]);
    return;
  }
  Extensions().MultiTexCoord2fARB(kGlTexture0Arb, t.unit[0][0], t.unit[0][1]);
  Extensions().MultiTexCoord2fARB(kGlTexture1Arb, t.unit[1][0], t.unit[1][1]);
}

// Steps 4 to 6 with the islands drawn before the floor: the floor then fails the depth test
// under them instead of being shaded and painted over, and GL_LESS gives a depth tie to the
// island, as drawing it second with GL_LEQUAL did. Only for OBJ pieces, whose lists send
// vertex attributes and change no state the floor reads; afterwards the state is what the
// islands drawn after the floor would have left (sky colour, texturing off, their last
// texture coordinates).
void DrawIslandsThenFloor(WorldState& w, DrawContext& c, uint32_t floorTexture) {
  TKTZGL_Scene& scene = c.scene;
  // What the floor left for the islands: its fog mode, no lighting, counter-clockwise fronts,
  // and at Max and High both texture units off.
  scene.Fog.Mode = 0;
  ApplyWorldFog(w, scene);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  glFrontFace(GL_CCW);
  if (w.landscapeQuality == 0 || w.landscapeQuality == 1) {
    ActiveTextureARB(kGlTexture1Arb);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    ActiveTextureARB(kGlTexture0Arb);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  const int32_t pieces = DrawStatics(c, 0);
  const CurrentTexCoords islandCoords = pieces > 0 ? ReadCurrentTexCoords() : CurrentTexCoords{};
  glDepthFunc(GL_LESS);
  DrawTerrain(w, scene, c.res.handles, floorTexture, c.rs.fastSea);
  glDepthFunc(GL_LEQUAL);
  ApplyWorldFog(w, scene);
  if (pieces > 0) {
    const Color4f& sky = w.skyFogColour;
    glColor4f(sky.r, sky.g, sky.b, sky.a);
    SendCurrentTexCoords(islandCoords);
    ActiveTextureARB(kGlTexture0Arb);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
}

void DrawScreenFade(const WorldState& w, TKTZGL_Scene& scene) {
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0, 0, 0, static_cast<float>(std::min(w.screenFade, 1.0)));
  scene.DrawRectPercent(0, 0, 100, 100);
  glColor4f(1, 1, 1, 1);
}

}  // namespace

void ApplyWorldCamera(const WorldState& w, TKTZGL_Scene& scene) {
  TKTZGL_Camera& cam = scene.Camera;
  cam.LookByAngles = 1;
  cam.Position = w.cameraPos;
  cam.Pitch = w.cameraRot.x;
  cam.Yaw = w.cameraRot.y;
  cam.Roll = w.cameraRot.z;
  cam.FieldOfView = 50.0;
  cam.SetProjection(scene.Width, scene.Height);
  glLoadIdentity();
  cam.Apply();
  glEnable(GL_DEPTH_TEST);
}

void ApplyWorldFog(const WorldState& w, TKTZGL_Scene& scene) {
  scene.Fog.Colour = w.skyFogColour;
  scene.Fog.Start = static_cast<float>(75 - 70 * w.darkness);
  scene.Fog.End = static_cast<float>(84 - 61 * w.darkness);
  scene.Fog.Enabled = w.darkness > 0 ? 1 : 0;
  scene.ApplyFog(scene.Fog);
}

void DrawSkyBox(const WorldState& w, const TextureHandles& handles, uint32_t fallback) {
  const Color4f& sky = w.skyFogColour;
  const uint32_t* t = handles.skyTextures;
  constexpr float h = 1.006f;
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glColor4f(sky.r, sky.g, sky.b, sky.a);
  struct V {
    float x, y, z, s, t;
  };
  struct Face {
    float nx, ny, nz;
    V v[4];
  };
  static constexpr Face kFaces[6] = {
      {0, 0, 1, {{-h, h, 1, 0, 1}, {h, h, 1, 1, 1}, {h, -h, 1, 1, 0}, {-h, -h, 1, 0, 0}}},
      {0, 0, -1, {{h, -h, -1, 0, 0}, {h, h, -1, 0, 1}, {-h, h, -1, 1, 1}, {-h, -h, -1, 1, 0}}},
      {0, 1, 0, {{h, 1, -h, 0, 1}, {h, 1, h, 1, 1}, {-h, 1, h, 1, 0}, {-h, 1, -h, 0, 0}}},
      {0, -1, 0, {{-h, -1, h, 1, 1}, {h, -1, h, 1, 0}, {h, -1, -h, 0, 0}, {-h, -1, -h, 0, 1}}},
      {1, 0, 0, {{1, -h, h, 0, 0}, {1, h, h, 0, 1}, {1, h, -h, 1, 1}, {1, -h, -h, 1, 0}}},
      {-1, 0, 0, {{-1, h, -h, 0, 1}, {-1, h, h, 1, 1}, {-1, -h, h, 1, 0}, {-1, -h, -h, 0, 0}}},
  };
  // The box is seen from inside: both windings must show.
  glDisable(GL_CULL_FACE);
  for (int f = 0; f < 6; ++f) {
    glBindTexture(GL_TEXTURE_2D, t[f] != 0 ? t[f] : fallback);
    glBegin(GL_QUADS);
    if (f > 0) glNormal3f(kFaces[f].nx, kFaces[f].ny, kFaces[f].nz);
    for (const V& v : kFaces[f].v) {
      glTexCoord2f(v.s, v.t);
      glVertex3f(v.x, v.y, v.z);
    }
    glEnd();
  }
  glEnable(GL_CULL_FACE);
}

void DrawWaterDepthPlane(const WorldState& w) {
  // Only depth is written: texturing, blending, lighting and fog would change no pixel, so
  // they are off for the quad (the rasteriser shades every covered pixel) and restored after.
  const GLenum kIdle[] = {GL_TEXTURE_2D, GL_BLEND, GL_LIGHTING, GL_FOG, GL_ALPHA_TEST};
  GLboolean was[std::size(kIdle)];
  for (size_t k = 0; k < std::size(kIdle); ++k) {
    was[k] = glIsEnabled(kIdle[k]);
    if (was[k]) glDisable(kIdle[k]);
  }
  glPushMatrix();
  glTranslated(w.cameraPos.x, 0, w.cameraPos.z);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glDepthMask(GL_TRUE);
  glDisable(GL_CULL_FACE);
  glBegin(GL_QUADS);
  glVertex3f(-100, 0, 100);
  glVertex3f(100, 0, 100);
  glVertex3f(100, 0, -100);
  glVertex3f(-100, 0, -100);
  glEnd();
  glEnable(GL_CULL_FACE);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glPopMatrix();
  for (size_t k = 0; k < std::size(kIdle); ++k) {
    if (was[k]) glEnable(kIdle[k]);
  }
}

void PickMouseWorldPos(WorldState& w, const TKTZGL_Scene& scene, TPoint mouse) {
  mouse.x = std::min(mouse.x, scene.Width - 2);
  mouse.y = std::min(mouse.y, scene.Height - 2);
  w.mouseWorldPos = scene.ScreenToWorld(mouse);
}

void DrawPlayFrame(WorldState& w, GameResources& res, RenderState& rs) {
  if (!res.scene) return;
  TKTZGL_Scene& scene = *res.scene;
  const RenderSwitches& on = rs.switches;
  FrameWorldPasses writers;
  writers.statics = on.statics == 1;
  writers.staticObjects = on.staticObjects == 1;
  writers.unitsLow = on.unitsLow == 1;
  writers.unitsHigh = on.unitsHigh == 1;
  ApplyFrameWorldWrites(w, writers, rs.fires);
  DrawContext c{w, res, scene, rs};
  PassTimer& timer = rs.passTimes;
  timer.BeginFrame();

  if (on.clear == 1) {  // 1
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
  }
  rs.shadowReach.Reset();
  if (w.fixedCamera == 0) {  // 2: sky with the angles and projection of the last frame
    scene.Camera.Position = {0, 0, 0, 1};
    glLoadIdentity();
    scene.Camera.Apply();
    DrawSkyBox(w, res.handles, res.skyTexture);
    glClear(GL_DEPTH_BUFFER_BIT);
  }
  timer.Mark(kTimeSky);
  ApplyWorldCamera(w, scene);  // 3
  if (on.landscape == 1 && on.statics == 1 && StaticsOnlyObjPieces(c)) {
    DrawIslandsThenFloor(w, c, FloorTexture(res));  // 6, 4, 5
  } else {
    if (on.landscape == 1) {  // 4
      DrawTerrain(w, scene, res.handles, FloorTexture(res), rs.fastSea);
    }
    ApplyWorldFog(w, scene);                 // 5
    if (on.statics == 1) DrawStatics(c, 0);  // 6
  }
  timer.Mark(kTimeFloor);
  if (on.staticObjects == 1) DrawStaticObjects(c, 1);  // 7
  const Color4f& sky = w.skyFogColour;                 // 8
  w.terrainTintColour = {sky.r * 57 / 255.0f, sky.g * 88 / 255.0f, sky.b * 210 / 255.0f, 0.33f};
  // Unit shadows are the only marks in the stencil buffer, cleared in step 1: with none drawn
  // the darkening of step 15 has nothing to darken.
  int32_t shadows = 0;
  if (on.unitsLow == 1) shadows += DrawUnits(c, 0);  // 9
  if (on.projectiles == 1) DrawProjectiles(c);       // 10
  timer.Mark(kTimeObjects);
  if (on.water == 1) {  // 11
    FogColour(scene, kFogBlack);
    DrawWater(w, rs.water, res.handles.waterTexture, rs.fastSea ? kFastSeaWaterColumns : 1);
  }
  timer.Mark(kTimeWater);
  if (on.unitsHigh == 1) {  // 12
    FogEnabledColour(scene, w.darkness > 0, w.skyFogColour);
    shadows += DrawUnits(c, 1);
  }
  timer.Mark(kTimeUnits);
  if (on.decals == 1) {  // 13
    FogColour(scene, kFogBlack);
    DrawStaticDecals(c, true);
  }
  timer.Mark(kTimeDecals);
  if (on.staticObjects == 1) {  // 14
    FogColour(scene, w.skyFogColour);
    DrawStaticObjects(c, 0);
  }
  if (on.shadowDarkening == 1 && w.terrainShadows == 1) {  // 15
    if (shadows > 0 || on.clear != 1) {
      DrawShadowDarkening(c, on.clear == 1);
    } else {
      LeaveShadowDarkeningState();
    }
  }
  timer.Mark(kTimeDarkening);
  if (on.bonuses == 1) {  // 16
    FogEnabledColour(scene, w.darkness > 0, kFogBlack);
    DrawBonuses(c);
  }
  if (on.depthPlane == 1) DrawWaterDepthPlane(w);  // 17
  PickMouseWorldPos(w, scene, rs.mouse);           // 18
  timer.Mark(kTimeDepthPlane);
  if (on.explosionHalos == 1) DrawExplosionHalos(c);  // 19
  timer.Mark(kTimeHalos);
  if (on.particles == 1) DrawParticles(c);
  timer.Mark(kTimeParticles);
  if (on.bonusGlows == 1) DrawBonusGlows(c);
  if (on.projectileGlows == 1) DrawProjectileGlows(c);
  FogColour(scene, w.skyFogColour);  // 20
  if (w.snowActive == 1) DrawSnow(w, scene, res.handles);
  timer.Mark(kTimeGlows);
  FogEnabledColour(scene, false, scene.Fog.Colour);  // 21
  OverlayCamera(scene);                              // 22
  if (on.hud == 1) DrawHud(c, w.radarContacts);
  if (w.screenFade > 0) DrawScreenFade(w, scene);  // 23
  if (on.gui == 1) {                               // 24
    glDepthFunc(GL_LESS);
    DrawGuiWindows(c);
    glDepthFunc(GL_LEQUAL);
  }
  if (on.cursor == 1) DrawCursor(c);  // 25
  timer.Mark(kTimeOverlay);
  timer.EndFrame();
}

void DrawEditorViewFrame(WorldState& w, GameResources& res, RenderState& rs) {
  if (!res.scene) return;
  TKTZGL_Scene& scene = *res.scene;
  ApplyFrameWorldWrites(w, FrameWorldPasses{}, rs.fires);
  DrawContext c{w, res, scene, rs};
  glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  rs.shadowReach.Reset();
  glEnable(GL_CULL_FACE);
  ApplyWorldCamera(w, scene);
  DrawStatics(c, 0);
  DrawStaticObjects(c, 1);
  DrawTerrain(w, scene, res.handles, FloorTexture(res));
  FogEnabledColour(scene, false, scene.Fog.Colour);
  int32_t shadows = DrawUnits(c, 0);
  DrawProjectiles(c);
  DrawWater(w, rs.water, res.handles.waterTexture);
  shadows += DrawUnits(c, 1);
  DrawStaticDecals(c, false);
  DrawStaticObjects(c, 0);
  if (w.fourPipelines == 1) {
    if (shadows > 0) {
      DrawShadowDarkening(c, true);
    } else {
      LeaveShadowDarkeningState();
    }
  }
  DrawBonuses(c);
  DrawWaterDepthPlane(w);
  PickMouseWorldPos(w, scene, rs.mouse);
  DrawExplosionHalos(c);
  DrawParticles(c);
  DrawBonusGlows(c);
  DrawProjectileGlows(c);
  DrawEditorUnitMarker(c);
  OverlayCamera(scene);
  glDepthFunc(GL_LESS);
  DrawGuiWindows(c);
  glDepthFunc(GL_LEQUAL);
  DrawCursor(c);
}

namespace {
void ClearToSky(const WorldState& world) {
  const auto& c = world.skyFogColour;
  glClearColor(c.r, c.g, c.b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
bool HasScene(const Renderer& r) {
  return r.resources.scene && r.resources.scene->Width > 0;
}
}  // namespace

RenderOverrides ParseRenderOverrides(const char* landscapeQuality, const char* switches,
                                     const char* passTimes, const char* fastSea) {
  RenderOverrides o;
  const char* q = landscapeQuality;
  if (q != nullptr && q[0] >= '0' && q[0] <= '5' && q[1] == '\0') o.landscapeQuality = q[0] - '0';
  if (switches != nullptr) o.switches = switches;
  o.passTimes = passTimes != nullptr && std::string_view(passTimes) == "1";
  if (fastSea != nullptr &&
      (std::string_view(fastSea) == "0" || std::string_view(fastSea) == "1")) {
    o.fastSea = fastSea[0] - '0';
  }
  return o;
}

void StartRenderer(WorldState& w, Renderer& r, const RenderOverrides& overrides) {
  if (overrides.landscapeQuality >= 0) w.landscapeQuality = overrides.landscapeQuality;
  if (overrides.passTimes) r.state.passTimes.Enable();
  if (overrides.fastSea >= 0) r.state.fastSea = overrides.fastSea == 1;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&r.state.switches);
  for (size_t k = 0; k < sizeof(RenderSwitches) && k < overrides.switches.size(); ++k) {
    bytes[k] = overrides.switches[k] == '1';
  }
  w.shadowPlanePoint = {-1, 0, -1, 0};
  w.shadowPlaneNormal = {0, 1, 0, 0};
}

void LoadFloorOverlayFrames(const WorldState& w, GameResources& res, TLoaderMessages& messages) {
  const std::string dir = w.appPath + "gdata\\textures\\effects\\caust\\";
  char name[32];
  for (int32_t f = 0; f < 32; ++f) {
    std::snprintf(name, sizeof(name), "caust%04d.qvt", static_cast<int>(f));
    LoadTexture(dir + name, res.handles.terrainAnimFrames[f], w.textureQuality == 1, messages);
  }
}

void DrawPlayFrame(WorldState& w, Renderer& r) {
  if (!HasScene(r)) {
    ClearToSky(w);
    return;
  }
  DrawPlayFrame(w, r.resources, r.state);
}

void DrawEditorViewFrame(WorldState& w, Renderer& r) {
  if (!HasScene(r)) {
    ClearToSky(w);
    return;
  }
  DrawEditorViewFrame(w, r.resources, r.state);
}

}  // namespace skerrow
