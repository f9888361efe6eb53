// Snowflakes: tilted 39 degrees toward the camera, turned by their angle, tinted by the sky.
#include "render/snow.h"

#include <GL/gl.h>

#include "engine/ktzgl.h"
#include "render/game_resources.h"
#include "world/world_state.h"

namespace skerrow {

void DrawSnow(const WorldState& w, const TKTZGL_Scene& scene, const TextureHandles& t) {
  glDisable(GL_LIGHTING);
  glDepthMask(GL_FALSE);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_COLOR_MATERIAL);
  const Color4f sky = w.skyFogColour;
  glColor4f(2.0f * sky.r, 2.0f * sky.g, 2.0f * sky.b, 1.0f);
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i) {
    const SnowflakeRecord& f = w.snowflakes[i];
    if (f.active != 1) continue;
    glPushMatrix();
    glTranslated(f.pos.x, f.pos.y, f.pos.z);
    glRotated(39.0, 1.0, 0.0, 0.0);
    glRotated(-f.angle * 180.0 / 3.14159265358979323846, 0.0, 0.0, 1.0);
    // Variants 1..3; a damaged variant byte draws untextured.
    const uint32_t texture = f.variant >= 1 && f.variant <= 3 ? t.snowTextures[f.variant] : 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    scene.DrawQuadAtZero(-0.03, -0.03, 0.03, 0.03);
    glPopMatrix();
  }
  glDepthMask(GL_TRUE);
}

}  // namespace skerrow
