// Projectiles, their glows and lightning, particles, explosion halos, bonuses and bonus glows.
// Every index taken from the state (kind, variant, frame, wake number, owner) is checked
// before it picks a texture or a model; an unknown one draws nothing.
#include "render/effects.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ktzgl.h"
#include "engine/model.h"
#include "platform/numeric.h"
#include "platform/random.h"
#include "render/game_resources.h"
#include "render/later_passes.h"
#include "render/render_state.h"
#include "render/world_passes.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

constexpr double kPi = std::numbers::pi;

// The glow and sprite textures of the effects, looked up once per pass.
struct EffectTextures {
  uint32_t bul, bliks, dim, tok, wat;
  explicit EffectTextures(const GameResources& res)
      : bul(res.Texture("bul")),
        bliks(res.Texture("bliks")),
        dim(res.Texture("dim")),
        tok(res.Texture("tok")),
        wat(res.Texture("wat")) {}
};

// A frame of effect set `set` (1..11), or false outside the table.
bool EffectFrame(const GameResources& res, int32_t set, int32_t frame, uint32_t& texture) {
  if (set < 1 || set >= kEffectSets || frame < 0 || frame >= kEffectFrames) return false;
  texture = res.handles.effectFrames[set][frame];
  return true;
}

int32_t AgeFrame(double age, int32_t last) {
  const int32_t f = TruncToInt(age);
  return f < 1 ? 1 : (f > last ? last : f);
}

void CallModel(const TKTZGL_Model* m) {
  if (m != nullptr && m->ModelList != 0) glCallList(m->ModelList);
}

// An untextured sphere with outward normals, as gluSphere draws it (axis along z), without the
// quadric object gluSphere needs (a heap allocation per frame).
void DrawSphere(double radius, int slices, int stacks) {
  for (int j = 0; j < stacks; ++j) {
    const double rho0 = kPi * j / stacks, rho1 = kPi * (j + 1) / stacks;
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= slices; ++i) {
      const double theta = i == slices ? 0.0 : 2 * kPi * i / slices;
      const double x = -std::sin(theta), y = std::cos(theta);
      for (double rho : {rho0, rho1}) {
        const double nx = x * std::sin(rho), ny = y * std::sin(rho), nz = std::cos(rho);
        glNormal3d(nx, ny, nz);
        glVertex3d(nx * radius, ny * radius, nz * radius);
      }
    }
    glEnd();
  }
}

void SphereIn(float r, float g, float b, double radius, int slices, int stacks) {
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_MATERIAL);
  glColor4f(r, g, b, 1);
  DrawSphere(radius, slices, stacks);
  glDisable(GL_COLOR_MATERIAL);
}

void ModelIn(const TKTZGL_Model* m, double scale) {
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  if (scale != 1) glScaled(scale, scale, scale);
  CallModel(m);
}

// The additive glow sprite of a projectile: tilted toward the camera, turned by the heading
// the projectile was fired at.
void GlowSprite(const TKTZGL_Scene& scene, const ProjectileRecord& p, uint32_t texture,
                const Color4f* colour, double half, double top) {
  glPushMatrix();
  glTranslated(p.pos.x, p.pos.y, p.pos.z);
  glRotatef(48, 1, 0, 0);
  glRotated(-p.start.y * 180 / kPi, 0, 0, 1);
  glBindTexture(GL_TEXTURE_2D, texture);
  if (colour != nullptr) glColor4f(colour->r, colour->g, colour->b, colour->a);
  scene.DrawQuadAtZero(-half, -half, half, top);
  glPopMatrix();
}

float U(Random& rnd) {
  return static_cast<float>(rnd.Real());
}

// The corners of DrawQuadAtZero (x1, y1)..(x2, y2) after a translation to `at`, a tilt of
// `tilt` degrees about x and a turn of `turn` degrees about z, computed here instead of on the
// matrix stack so that many sprites share one draw. The angles are rounded to float first, as
// glRotate takes them.
void BillboardQuad(SpriteVertex* v, const Vector4d& at, float tilt, float turn, double x1,
                   double y1, double x2, double y2, const Color4f& colour) {
  const double a = static_cast<double>(tilt) * kPi / 180, b = static_cast<double>(turn) * kPi / 180;
  const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
  const double corner[4][4] = {{x1, y1, 0, 0}, {x2, y1, 1, 0}, {x2, y2, 1, 1}, {x1, y2, 0, 1}};
  for (int k = 0; k < 4; ++k) {
    const double x = corner[k][0] * cb - corner[k][1] * sb;
    const double y = corner[k][0] * sb + corner[k][1] * cb;
    v[k] = {static_cast<float>(corner[k][2]),
            static_cast<float>(corner[k][3]),
            colour.r,
            colour.g,
            colour.b,
            colour.a,
            static_cast<float>(at.x + x),
            static_cast<float>(at.y + y * ca),
            static_cast<float>(at.z + y * sa)};
  }
}

// Client arrays over `v` for glDrawArrays(GL_QUADS, ...), and their end.
void BeginSpriteArrays(const SpriteVertex* v) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(SpriteVertex), &v->x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(SpriteVertex), &v->s);
  glColorPointer(4, GL_FLOAT, sizeof(SpriteVertex), &v->r);
}

void EndSpriteArrays() {
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

// The screen cells (columns c0..c1, rows r0..r1 of the kSpriteGrid grid) that a quad may
// touch, from its corners projected by `mvp` (column-major) onto the viewport, two pixels of
// margin around; every cell when a corner lies behind the eye or is not a number.
struct CellRange {
  int32_t c0, r0, c1, r1;
};
CellRange QuadCells(const SpriteVertex* v, const double mvp[16], double width, double height) {
  constexpr int32_t kLast = kSpriteGrid - 1;
  const CellRange all{0, 0, kLast, kLast};
  double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
  for (int k = 0; k < 4; ++k) {
    const double x = v[k].x, y = v[k].y, z = v[k].z;
    const double cx = mvp[0] * x + mvp[4] * y + mvp[8] * z + mvp[12];
    const double cy = mvp[1] * x + mvp[5] * y + mvp[9] * z + mvp[13];
    const double cw = mvp[3] * x + mvp[7] * y + mvp[11] * z + mvp[15];
    if (!(cw > 1e-6)) return all;
    const double px = (cx / cw * 0.5 + 0.5) * width, py = (cy / cw * 0.5 + 0.5) * height;
    if (!std::isfinite(px) || !std::isfinite(py)) return all;
    x0 = std::min(x0, px);
    x1 = std::max(x1, px);
    y0 = std::min(y0, py);
    y1 = std::max(y1, py);
  }
  const double kx = kSpriteGrid / width, ky = kSpriteGrid / height;
  return {
      ClampIndex(std::floor((x0 - 2) * kx), kLast), ClampIndex(std::floor((y0 - 2) * ky), kLast),
      ClampIndex(std::floor((x1 + 2) * kx), kLast), ClampIndex(std::floor((y1 + 2) * ky), kLast)};
}

// Lightning from unit O (the projectile's owner) to the player's ship P.
void DrawLightning(DrawContext& c, const ProjectileRecord& p, uint32_t bliks) {
  const WorldState& w = c.w;
  const UnitRecord* player = PlayerUnit(w);
  if (player == nullptr || p.owner < 1 || p.owner >= kUnitSlots) return;
  const UnitRecord& o = w.units[p.owner];
  const UnitRecord& t = *player;
  Random& rnd = c.rs.flicker;
  const double mx = o.posX - 0.5 * std::sin(o.rotY), my = o.posY;
  const double mz = o.posZ - 0.5 * std::cos(o.rotY);

  glDepthMask(GL_FALSE);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, bliks);
  glDisable(GL_CULL_FACE);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  auto glow = [&](double x, double y, double z, float r, float g, float b, double half) {
    glColor4f(r, g, b, 0.5f);
    glPushMatrix();
    const double jx = 0.1 * rnd.Real() - 0.05;
    const double jz = 0.1 * rnd.Real() - 0.05;
    glTranslated(x + jx, y, z + jz);
    glRotatef(48, 1, 0, 0);
    glRotatef(1, 0, 0, 1);
    c.scene.DrawQuadAtZero(-half, -half, half, half);
    glPopMatrix();
  };
  {
    const float r = 0.1f + 0.1f * U(rnd), g = 0.5f + 0.3f * U(rnd), b = 0.9f + 0.1f * U(rnd);
    glow(mx, my, mz, r, g, b, 0.5);
  }
  {
    const float r = 0.1f + 0.1f * U(rnd), g = 0.2f + 0.3f * U(rnd), b = 0.5f + 0.1f * U(rnd);
    glow(t.posX, t.posY, t.posZ, r, g, b, 0.7);
  }
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  const int32_t bolts = 25 + rnd.Int(15);
  const double width = c.scene.Width;
  for (int32_t k = 0; k < bolts; ++k) {
    const double o2 = 0.15 * rnd.Real() - 0.075;
    const double sx = mx + 0.1 * rnd.Real() - 0.05;
    const double sz = mz + 0.1 * rnd.Real() - 0.05;
    glLineWidth(static_cast<float>(rnd.Real() * 5 / 1600 * width));
    glBegin(GL_LINE_STRIP);
    auto vertex = [&](double x, double y, double z) {
      const float r = 0.1f + 0.2f * U(rnd), g = 0.2f + 0.2f * U(rnd), b = 0.3f + 0.3f * U(rnd);
      glColor4f(r, g, b, 1);
      glVertex3d(x, y, z);
    };
    vertex(sx, std::max(my, -0.1), sz);
    for (double f : {0.2, 0.35, 0.5, 0.65, 0.8}) {
      const double fx = f + 0.05 * rnd.Real() - 0.025;
      const double fz = f + 0.05 * rnd.Real() - 0.025;
      const double x = sx + (t.posX - sx) * fx + 0.2 * rnd.Real() - 0.1 + o2;
      const double z = sz + (t.posZ - sz) * fz + 0.2 * rnd.Real() - 0.1 + o2;
      vertex(x, 0.3 * rnd.Real(), z);
    }
    vertex(t.posX, std::max(t.posY, -0.1), t.posZ);
    glEnd();
  }
  glDepthMask(GL_TRUE);
  glEnable(GL_TEXTURE_2D);
}

}  // namespace

ParticleStyle ParticleStyleOf(const GameResources& res, const ParticleRecord& p) {
  ParticleStyle s;
  const EffectTextures tex(res);
  auto style = [&](uint32_t texture, float tilt, uint32_t src, uint32_t dst, bool sky) {
    s = {true, texture, tilt, src, dst, sky};
  };
  auto frame = [&](int32_t set, int32_t last, float tilt, uint32_t src, bool sky) {
    uint32_t t = 0;
    if (EffectFrame(res, set, AgeFrame(p.age, last), t)) style(t, tilt, src, GL_ONE, sky);
  };
  switch (p.kind) {
    case particle::kDestructA:
    case particle::kDestructB:
      frame(p.kind, 25, 48, GL_SRC_COLOR, false);
      break;
    case particle::kExplosion:
    case particle::kMiniExplosion:
    case particle::kFireball:
      frame(p.kind, 31, 48, GL_SRC_COLOR, false);
      break;
    case particle::kSplashRing:
      frame(5, 31, 90, GL_SRC_COLOR, false);
      break;
    case particle::kWaterRing:
      style(tex.wat, 90, GL_SRC_COLOR, GL_ONE, false);
      break;
    case particle::kWake:
      // The wake texture of the ship kind that made it, 1..255.
      if (p.param168 >= 1 && p.param168 <= 255) {
        style(res.handles.wakeTextures[p.param168], 90, GL_SRC_COLOR, GL_ONE, false);
      }
      break;
    case particle::kSparkle:
      style(tex.tok, 48, GL_SRC_COLOR, GL_ONE, false);
      break;
    case particle::kGlint:
      style(tex.bliks, 90, GL_SRC_ALPHA, GL_ONE, true);
      break;
    case particle::kSmoke:
      style(tex.dim, 48, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, true);
      break;
    case particle::kSpark:
      style(tex.tok, 79, GL_SRC_ALPHA, GL_ONE, true);
      break;
    case particle::kCannonSmoke:
      frame(8, 31, 48, GL_SRC_COLOR, false);
      break;
    case particle::kSplashColumn:
      frame(9, 31, 48, GL_SRC_COLOR, false);
      break;
    case particle::kWreckFire:
      frame(11, 31, 90, GL_SRC_ALPHA, true);
      break;
    case particle::kWarmSmoke:
      style(tex.dim, 48, GL_SRC_ALPHA, GL_ONE, true);
      break;
    default:
      break;
  }
  return s;
}

double HaloBrightness(double age) {
  if (!(age < 31)) return 0;  // gone at 31, and for NaN
  const double b = age < 5 ? age / 5 : (31 - age) / 26;
  return b < 0 ? 0 : (b > 1 ? 1 : b);
}

bool HasHalo(int32_t kind) {
  return kind == particle::kExplosion || kind == particle::kMiniExplosion ||
         kind == particle::kFireball || kind == particle::kWreckFire;
}

bool BonusTexture(const GameResources& res, const BonusRecord& b, int32_t gameMode,
                  uint32_t& texture) {
  const int32_t k = b.kind;
  const bool marker = (k >= bonus::kSkyZoneFirst && k <= bonus::kSkyZoneLast) ||
                      (k >= bonus::kSnowStarts && k <= bonus::kLightAgain);
  if (k < 1 || k >= bonus::kCount) return false;
  if (marker) {
    if (gameMode != game_mode::kEditorView) return false;
    texture = res.handles.bonusFrames[k][0];
    return true;
  }
  const int32_t f = TruncToInt(b.animFrame);
  if (f < 0 || f >= kBonusFrames) return false;
  // The three keys share one animation, told apart by colour.
  const int32_t set = k >= bonus::kKey1 && k <= bonus::kKey3 ? bonus::kKey1 : k;
  texture = res.handles.bonusFrames[set][f];
  return true;
}

Color4f BonusColour(int32_t kind) {
  static constexpr Color4f kColours[bonus::kCount] = {
      {1, 1, 1, 1},
      {1, 0.3f, 0.3f, 1},
      {0.3f, 1, 0.3f, 1},
      {1, 0.7f, 0.3f, 1},
      {0.7f, 0.7f, 0.7f, 1},
      {1, 0.5f, 0.3f, 1},
      {0.3f, 0.1f, 0.7f, 1},
      {0.5f, 0.5f, 0.5f, 1},
      {0.5f, 0.5f, 0.5f, 1},
      {0.5f, 0.5f, 0.5f, 1},
      {0.5f, 0.5f, 0.5f, 1},
      {0.7f, 0.5f, 0.1f, 1},
      {0.7f, 0.7f, 0.7f, 1},
      {1, 0.1f, 0.1f, 1},
      {0.1f, 1, 0.1f, 1},
      {1, 1, 0.1f, 1},
      {225 / 255.0f, 185 / 255.0f, 217 / 255.0f, 1},
      {255 / 255.0f, 255 / 255.0f, 228 / 255.0f, 1},
      {221 / 255.0f, 120 / 255.0f, 87 / 255.0f, 1},
      {98 / 255.0f, 85 / 255.0f, 113 / 255.0f, 1},
  };
  if (kind < 0 || kind >= bonus::kCount) return {1, 1, 1, 1};
  return kColours[kind];
}

// ---- The passes ----

void DrawProjectiles(DrawContext& c) {
  const WorldState& w = c.w;
  SetUnitLights(c.scene, w.skyFogColour, 1.0);
  c.scene.Light0.Ambient = {0, 0, 0, 1};
  c.scene.Light0.Apply();
  const GameResources& res = c.res;
  glEnable(GL_NORMALIZE);
  glEnable(GL_BLEND);
  glEnable(GL_LIGHTING);
  for (int32_t i = 1; i < kProjectileSlots; ++i) {
    const ProjectileRecord& p = w.projectiles[i];
    if (p.active != 1) continue;
    const int32_t k = p.kind;
    if (k == 12) {  // flame-thrower line along the velocity
      glDisable(GL_LIGHTING);
      glDisable(GL_TEXTURE_2D);
      glBegin(GL_LINES);
      glColor4f(1, 0.8f, 0.1f, 1);
      glVertex3d(p.pos.x, p.pos.y, p.pos.z);
      glColor4f(1, 0.5f, 0.1f, 1);
      glVertex3d(p.pos.x + p.vel.x * 15, p.pos.y + p.vel.y * 15, p.pos.z + p.vel.z * 15);
      glEnd();
      glEnable(GL_LIGHTING);
      continue;
    }
    const bool known =
        k == 1 || k == 3 || k == 5 || k == 6 || k == 9 || k == 14 || k == 16 || k == 44 || k == 121;
    if (!known) continue;
    // Kind 9 is a wreckage piece: its variant picks debris model 1..7.
    if (k == 9 && (p.variant < 1 || p.variant > kDebrisModels)) continue;
    if (k == 14 && p.variant != 0 && p.variant != 1) continue;
    glPushMatrix();
    glTranslated(p.pos.x, p.pos.y - (k == 1 && p.variant == 27 ? 0.07 : 0.0), p.pos.z);
    if (k != 121) OrientModel(p.start.x, p.start.y, p.start.z, 0);
    const double scale = k == 121 ? 0.002 : 0.005;
    glScaled(scale, scale, scale);
    switch (k) {
      case 1:
        if (p.variant == 1) {
          ModelIn(res.rocket.get(), 0.5);
        } else if (p.variant == 27) {
          ModelIn(res.mine.get(), 0.2);
        } else {
          SphereIn(1, 0.88f, 0.1f, 10, 5, 3);
        }
        break;
      case 3:
      case 6:
        SphereIn(0.1f, 0.1f, 0.1f, 7, 5, 5);
        break;
      case 14:
        if (p.variant == 0) {
          SphereIn(1, 0.7f, 0.1f, 7, 5, 5);
        } else {
          SphereIn(0.1f, 0.7f, 1, 7, 5, 5);
        }
        break;
      case 44:
        SphereIn(0.1f, 0.1f, 0.1f, 48, 25, 22);
        break;
      case 5:
      case 121:
        ModelIn(res.rocket.get(), 1);
        break;
      case 16:
        ModelIn(res.mine.get(), 1);
        break;
      case 9:
        ModelIn(res.debrisModels[static_cast<size_t>(p.variant)].get(), 1);
        break;
      default:
        break;
    }
    glPopMatrix();
  }
  glDisable(GL_NORMALIZE);
  glDisable(GL_COLOR_MATERIAL);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
}

void DrawProjectileGlows(DrawContext& c) {
  const WorldState& w = c.w;
  const EffectTextures tex(c.res);
  Random& rnd = c.rs.flicker;
  glDisable(GL_LIGHTING);
  bool spriteState = false;
  for (int32_t i = 1; i < kProjectileSlots; ++i) {
    const ProjectileRecord& p = w.projectiles[i];
    if (p.active != 1) continue;
    if (p.kind == 11) {
      DrawLightning(c, p, tex.bliks);
      spriteState = false;
      continue;
    }
    uint32_t texture = tex.bul;
    Color4f colour{};
    bool coloured = true;
    double half = 0.3, top = 0.3;
    switch (p.kind) {
      case 1:
        if (p.variant == 0) {
          colour = {1, 0.5f, 0.3f, 0.5f};
        } else if (p.variant == 1) {
          texture = tex.bliks;
          colour = {0.3f, 1, 0.5f, 0.5f};
        } else if (p.variant == 27) {
          texture = tex.bliks;
          const float u1 = U(rnd);
          const float u2 = U(rnd);
          colour = {0.5f + 0.19f * u1, 0.1f, 0.7f + 0.19f * u2, 0.5f};
        } else {
          coloured = false;
        }
        break;
      case 3:
      case 6:
        if (p.variant == 0) {
          colour = {0.7f, 0.3f, 0.3f, 0.5f};
        } else if (p.variant == 5) {
          colour = {0.1f, 0.3f, 0.7f, 0.5f};
        } else if (p.variant == 13) {
          colour = {0.3f, 0.3f, 0.5f, 0.5f};
        } else if (p.variant == 14) {
          colour = {0.3f, 0.5f, 0.3f, 0.5f};
        } else {
          coloured = false;
        }
        break;
      case 5:
        colour = {0.39f, 0.39f, 0.39f, 0.39f};
        half = top = 0.39;
        break;
      case 14:
        if (p.variant == 0) {
          colour = {1, 0.7f, 0.39f, 0.39f};
        } else if (p.variant == 1) {
          colour = {0.29f, 0.7f, 1, 0.39f};
        } else {
          coloured = false;
        }
        half = 0.39;
        top = 0.4;
        break;
      case 44:
        colour = {0.79f, 0.39f, 0.19f, 0.39f};
        half = top = 0.79;
        break;
      case 121:
        colour = {0.8f, 0.8f, 0.2f, 0.5f};
        break;
      default:
        continue;
    }
    if (!spriteState) {
      // Shared by every glow sprite; the lightning changes it and asks for it again.
      glDepthMask(GL_FALSE);
      glEnable(GL_TEXTURE_2D);
      glDisable(GL_CULL_FACE);
      glDisable(GL_LIGHTING);
      glBlendFunc(GL_SRC_COLOR, GL_ONE);
      glEnable(GL_BLEND);
      spriteState = true;
    }
    GlowSprite(c.scene, p, texture, coloured ? &colour : nullptr, half, top);
  }
  glDepthMask(GL_TRUE);
}

// The particles in an order that draws the same pixels with few texture and blend changes
// (each one costs the rasteriser a state validation). Sprites whose blending
// adds to the screen (destination factor GL_ONE) change no pixel by their order among
// themselves: each adds a term that does not depend on what lies below, and the sum saturates
// the same in any order (depth writes are off, so the depth test does not depend on the order
// either). Only a sprite that blends over the screen (smoke) must keep its place against the
// sprites it overlaps. Each sprite gets a level: an additive one the next even level above
// every blended sprite before it in its screen cells, a blended one the next odd level above
// every sprite before it there. Drawing by level, and within a level by blending and texture,
// keeps every overlapping pair that matters in slot order.
void DrawParticles(DrawContext& c) {
  const WorldState& w = c.w;
  const GameResources& res = c.res;
  const Color4f& sky = w.skyFogColour;
  EffectScratch& e = c.rs.effects;
  double mv[16], pr[16], mvp[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  glGetDoublev(GL_PROJECTION_MATRIX, pr);
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += pr[k * 4 + row] * mv[col * 4 + k];
      mvp[col * 4 + row] = sum;
    }
  }
  const double width = c.scene.Width > 0 ? c.scene.Width : 1;
  const double height = c.scene.Height > 0 ? c.scene.Height : 1;
  e.anyLevel.fill(-1);
  e.blendedLevel.fill(-1);
  int32_t n = 0;
  const SpriteDraw* last = nullptr;  // the last sprite in slot order: its state is left bound
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    const ParticleRecord& p = w.particles[i];
    if (p.active != 1) continue;
    const ParticleStyle s = ParticleStyleOf(res, p);
    if (!s.drawn) continue;
    const Color4f& k = p.colour;
    const Color4f colour = s.skyTinted ? Color4f{k.r * sky.r, k.g * sky.g, k.b * sky.b, k.a} : k;
    SpriteVertex* q = &e.quads[static_cast<size_t>(4 * n)];
    BillboardQuad(q, p.pos, s.tilt, static_cast<float>(p.angle), -p.size.x, -p.size.x, p.size.z,
                  p.size.z, colour);
    const CellRange cells = QuadCells(q, mvp, width, height);
    const bool additive = s.blendDst == GL_ONE;
    int32_t below = -1;
    for (int32_t r = cells.r0; r <= cells.r1; ++r) {
      for (int32_t col = cells.c0; col <= cells.c1; ++col) {
        const size_t cell = static_cast<size_t>(r * kSpriteGrid + col);
        below = std::max<int32_t>(below, additive ? e.blendedLevel[cell] : e.anyLevel[cell]);
      }
    }
    // Additive levels are even, blended ones odd.
    const int32_t level = additive ? below + 1 : (below < 0 ? 1 : below + 1 + (below & 1));
    for (int32_t r = cells.r0; r <= cells.r1; ++r) {
      for (int32_t col = cells.c0; col <= cells.c1; ++col) {
        const size_t cell = static_cast<size_t>(r * kSpriteGrid + col);
        const int16_t l = static_cast<int16_t>(level);
        e.anyLevel[cell] = std::max(e.anyLevel[cell], l);
        if (!additive) e.blendedLevel[cell] = std::max(e.blendedLevel[cell], l);
      }
    }
    SpriteDraw& d = e.draws[static_cast<size_t>(n)];
    d = {level, s.blendSrc, s.blendDst, s.texture, n, i, s.tilt};
    last = &d;
    ++n;
  }
  if (n == 0) return;
  const SpriteDraw lastState = *last;
  SpriteDraw* const draws = e.draws.data();
  std::sort(draws, draws + n, [](const SpriteDraw& a, const SpriteDraw& b) {
    if (a.level != b.level) return a.level < b.level;
    if (a.blendSrc != b.blendSrc) return a.blendSrc < b.blendSrc;
    if (a.blendDst != b.blendDst) return a.blendDst < b.blendDst;
    if (a.texture != b.texture) return a.texture < b.texture;
    return a.quad < b.quad;
  });
  glDepthMask(GL_FALSE);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  uint32_t bound = ~0u, src = ~0u, dst = ~0u;
  for (int32_t j = 0; j < n; ++j) {
    const SpriteDraw& d = draws[j];
    if (d.texture != bound) glBindTexture(GL_TEXTURE_2D, bound = d.texture);
    if (d.blendSrc != src || d.blendDst != dst) glBlendFunc(src = d.blendSrc, dst = d.blendDst);
    const ParticleRecord& p = w.particles[d.slot];
    const SpriteVertex& v = e.quads[static_cast<size_t>(4 * d.quad)];
    glColor4f(v.r, v.g, v.b, v.a);
    // The sprite's own matrix, as the rasteriser's vertex transform has always seen it: the
    // same vertices to the last bit, so the same pixels along hard texture edges.
    glPushMatrix();
    glTranslated(p.pos.x, p.pos.y, p.pos.z);
    glRotatef(d.tilt, 1, 0, 0);
    glRotated(p.angle, 0, 0, 1);
    c.scene.DrawQuadAtZero(-p.size.x, -p.size.x, p.size.z, p.size.z);
    glPopMatrix();
  }
  // Left as drawing in slot order leaves them.
  glBindTexture(GL_TEXTURE_2D, lastState.texture);
  glBlendFunc(lastState.blendSrc, lastState.blendDst);
  glDepthMask(GL_TRUE);
  glColor4f(1, 1, 1, 1);
}

void DrawExplosionHalos(DrawContext& c) {
  const WorldState& w = c.w;
  EffectScratch& e = c.rs.effects;
  const uint32_t bliks = c.res.Texture("bliks");
  glDisable(GL_DEPTH_TEST);
  glPushMatrix();
  glLoadIdentity();
  c.scene.Camera.Apply();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBindTexture(GL_TEXTURE_2D, bliks);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  // Every halo from the camera's matrix, all in one draw (a draw per sprite was nearly all of
  // the pass's cost). The corners computed here may differ from the matrix stack's in the
  // last bit; the halo's glow is black at its edges, so no pixel changes. The particles keep
  // their own matrices: their frames have hard edges, where such a bit moves a pixel row.
  int32_t n = 0;
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    const ParticleRecord& p = w.particles[i];
    if (p.active != 1 || !HasHalo(p.kind)) continue;
    const double b = HaloBrightness(p.age);
    if (b <= 0) continue;
    const float fb = static_cast<float>(b);
    const Color4f colour{0.3f * fb, 0.2f * fb, 0.1f * fb, 0.5f * fb};
    BillboardQuad(&e.quads[static_cast<size_t>(4 * n)], p.pos, 48, 2, -5 * b * p.size.x,
                  -5 * b * p.size.z, 5 * b * p.size.x, 5 * b * p.size.z, colour);
    ++n;
  }
  if (n > 0) {
    BeginSpriteArrays(e.quads.data());
    glDrawArrays(GL_QUADS, 0, 4 * n);
    EndSpriteArrays();
  }
  glPopMatrix();
  glColor4f(1, 1, 1, 1);
  glEnable(GL_DEPTH_TEST);
}

void DrawBonuses(DrawContext& c) {
  const WorldState& w = c.w;
  for (int32_t i = 1; i < kBonusSlots; ++i) {
    const BonusRecord& b = w.bonuses[i];
    if (b.alive != 1 || !InUnitsWindow(w, b.posX, b.posZ)) continue;
    uint32_t texture = 0;
    if (!BonusTexture(c.res, b, w.GameMode, texture)) continue;
    const bool key = b.kind >= bonus::kKey1 && b.kind <= bonus::kKey3;
    const Color4f tint = key ? BonusColour(b.kind) : Color4f{1, 1, 1, 1};
    glPushMatrix();
    glTranslated(b.posX, b.posY, b.posZ);
    glEnable(GL_COLOR_MATERIAL);
    glRotatef(48, 1, 0, 0);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    glColor4f(tint.r, tint.g, tint.b, tint.a);
    c.scene.DrawQuadAtZero(-0.3, -0.3, 0.3, 0.3);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    c.scene.DrawQuadAtZero(-0.3, -0.3, 0.3, 0.3);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glPopMatrix();
  }
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  glDisable(GL_LIGHTING);
}

void DrawBonusGlows(DrawContext& c) {
  const WorldState& w = c.w;
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDepthMask(GL_FALSE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, c.res.Texture("bliks"));
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  for (int32_t i = 1; i < kBonusSlots; ++i) {
    const BonusRecord& b = w.bonuses[i];
    const int32_t k = b.kind;
    const bool glows =
        (k >= bonus::kMedkit && k <= bonus::kSavePoint) || (k >= bonus::kHint && k <= bonus::kKey3);
    if (b.alive != 1 || !glows) continue;
    const Color4f colour = BonusColour(k);
    glColor4f(colour.r / 1.6f, colour.g / 1.6f, colour.b / 1.6f, 1);
    glPushMatrix();
    glTranslated(b.posX, b.posY, b.posZ);
    glRotatef(48, 1, 0, 0);
    glRotatef(1, 0, 0, 1);
    c.scene.DrawQuadAtZero(-0.75, -0.75, 0.75, 0.75);
    glPopMatrix();
  }
  glDepthMask(GL_TRUE);
}

}  // namespace skerrow
