// Engine core under a headless GL context: scene set-up, camera, overlay quads, text, picking.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "engine/ktzgl.h"
#include "engine/textures.h"
#include "gl_fixture.h"

namespace skerrow {
namespace {

using test::GlTest;

TEST(KTZGLValues, LerpEndsAndMiddle) {
  EXPECT_DOUBLE_EQ(Lerp(3.5, -2.0, 0.0), 3.5);
  EXPECT_DOUBLE_EQ(Lerp(3.5, -2.0, 1.0), -2.0);
  EXPECT_DOUBLE_EQ(Lerp(0.0, 10.0, 0.25), 2.5);
  const Color4f c = MakeColor(0.1f, 0.2f, 0.3f, 0.4f);
  EXPECT_FLOAT_EQ(c.b, 0.3f);
  const Vector4d v = MakeVector(1, 2, 3, 4);
  EXPECT_DOUBLE_EQ(v.w, 4);
}

class SceneTest : public GlTest {};

TEST_F(SceneTest, InitGLSetsCameraLightsAndFog) {
  SKIP_WITHOUT_GL();
  TKTZGL_Scene& s = Scene();
  EXPECT_EQ(s.Initialised, 1);
  EXPECT_EQ(s.Width, 800);
  EXPECT_EQ(s.Height, 600);
  EXPECT_DOUBLE_EQ(s.Aspect, 800.0 / 600.0);
  EXPECT_EQ(s.Camera.Perspective, 1);
  EXPECT_DOUBLE_EQ(s.Camera.FieldOfView, 90.0);
  EXPECT_DOUBLE_EQ(s.Camera.Aspect, 800.0 / 600.0);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));

  GLfloat ambient[4];
  glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
  EXPECT_FLOAT_EQ(ambient[0], 1.0f);
  GLfloat diffuse[4];
  glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[1], 0.7f);
  GLint mode = 0;
  glGetIntegerv(GL_FOG_MODE, &mode);
  EXPECT_EQ(mode, GL_EXP);
  GLfloat density = 0;
  glGetFloatv(GL_FOG_DENSITY, &density);
  EXPECT_FLOAT_EQ(density, 0.1f);

  // Multitexture comes from the window's entry point lookup; Mesa has it.
  EXPECT_NE(Extensions().ActiveTextureARB, nullptr);
  EXPECT_NE(Extensions().MultiTexCoord2fvARB, nullptr);
}

TEST_F(SceneTest, ApplyFogModesAndUnknownModeKeepsCurrent) {
  SKIP_WITHOUT_GL();
  struct Row {
    uint8_t mode;
    GLint expected;
  };
  const Row rows[] = {{0, GL_LINEAR}, {2, GL_EXP2}, {7, GL_EXP2}, {1, GL_EXP}, {255, GL_EXP}};
  TKTZGL_Fog fog = Scene().Fog;
  for (const Row& row : rows) {
    fog.Mode = row.mode;
    Scene().ApplyFog(fog);
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, row.expected) << "mode byte " << int(row.mode);
  }
  fog.Enabled = 0;
  Scene().ApplyFog(fog);
  EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(SceneTest, LightApplyDirectionalSendsZeroW) {
  SKIP_WITHOUT_GL();
  TKTZGL_Light& light = Scene().Light1;
  light.Directional = 1;
  light.Enabled = 0;
  light.Position = MakeVector(0, 0, 1, 1);
  glLoadIdentity();
  light.Apply();
  GLfloat position[4];
  glGetLightfv(GL_LIGHT1, GL_POSITION, position);
  EXPECT_FLOAT_EQ(position[3], 0.0f);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST_F(SceneTest, CameraByAnglesZeroLooksAlongPlusZWithYUp) {
  SKIP_WITHOUT_GL();
  TKTZGL_Camera& cam = Scene().Camera;
  cam.LookByAngles = 1;
  cam.Position = MakeVector(1, 2, 3, 1);
  cam.Pitch = cam.Yaw = cam.Roll = 0;
  glLoadIdentity();
  cam.Apply();
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  // Eye space looks down -z: world +z must map to eye -z, world +y to eye +y.
  EXPECT_NEAR(m[10], -1.0, 1e-9);  // z row of world z
  EXPECT_NEAR(m[5], 1.0, 1e-9);
  // The eye itself maps to the origin.
  const double ex = m[0] * 1 + m[4] * 2 + m[8] * 3 + m[12];
  const double ez = m[2] * 1 + m[6] * 2 + m[10] * 3 + m[14];
  EXPECT_NEAR(ex, 0, 1e-9);
  EXPECT_NEAR(ez, 0, 1e-9);
}

// Binds texture t with nearest filtering, replacing the fragment colour, and returns it.
uint32_t BindNearest(uint32_t t) {
  glBindTexture(GL_TEXTURE_2D, t);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
  return t;
}

// A 2 x 2 texture: bottom-left red, bottom-right green, top-left blue, top-right white.
uint32_t CornerTexture() {
  const uint8_t pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  TLoaderMessages messages;
  const uint32_t t = CreateTexture(2, 2, kTexFormatRGB, pixels, messages);
  return BindNearest(t);
}

TEST_F(SceneTest, DrawRectFullWindowPutsTextureOriginBottomLeft) {
  SKIP_WITHOUT_GL();
  UseOverlay();
  CornerTexture();
  Scene().DrawRect(TRect{0, 0, 800, 600});
  EXPECT_EQ(Pixel(0, 599), (std::array<int, 3>{255, 0, 0}));    // bottom-left
  EXPECT_EQ(Pixel(799, 599), (std::array<int, 3>{0, 255, 0}));  // bottom-right
  EXPECT_EQ(Pixel(0, 0), (std::array<int, 3>{0, 0, 255}));      // top-left
  EXPECT_EQ(Pixel(799, 0), (std::array<int, 3>{255, 255, 255}));
}

TEST_F(SceneTest, DrawRectPercentCoversItsShareOfTheWindow) {
  SKIP_WITHOUT_GL();
  UseOverlay();
  glDisable(GL_TEXTURE_2D);
  Scene().DrawRectPercent(25, 10, 50, 40);  // x 200..400, y 60..240
  const std::array<int, 3> white{255, 255, 255}, black{0, 0, 0};
  EXPECT_EQ(Pixel(201, 61), white);
  EXPECT_EQ(Pixel(398, 238), white);
  EXPECT_EQ(Pixel(198, 150), black);
  EXPECT_EQ(Pixel(402, 150), black);
  EXPECT_EQ(Pixel(300, 58), black);
  EXPECT_EQ(Pixel(300, 242), black);
}

// 512 x 512 font whose cell for code c is filled with (c, 255 - c, 77).
uint32_t CodeFont() {
  std::vector<uint8_t> pixels(512 * 512 * 3);
  for (int row = 0; row < 512; ++row) {  // row 0 is the bottom of the image
    for (int x = 0; x < 512; ++x) {
      const int yFromTop = 511 - row;
      const int c = (x / 32) * 16 + yFromTop / 32;
      uint8_t* p = &pixels[(static_cast<size_t>(row) * 512 + x) * 3];
      p[0] = static_cast<uint8_t>(c);
      p[1] = static_cast<uint8_t>(255 - c);
      p[2] = 77;
    }
  }
  TLoaderMessages messages;
  const uint32_t t = CreateTexture(512, 512, kTexFormatRGB, pixels.data(), messages);
  return BindNearest(t);
}

TEST_F(SceneTest, DrawTextPicksCellsAndSpacesCharacters) {
  SKIP_WITHOUT_GL();
  UseOverlay();
  CodeFont();
  struct Row {
    int spacing;
  };
  for (const Row row : {Row{0}, Row{6}, Row{-4}}) {
    glClear(GL_COLOR_BUFFER_BIT);
    const std::string text("\x00\x41\xFF\x10", 4);
    const TRect cell{100, 200, 120, 230};
    Scene().DrawText(cell, text, row.spacing);
    for (size_t i = 0; i < text.size(); ++i) {
      const int c = static_cast<uint8_t>(text[i]);
      const int left = 100 + static_cast<int>(i) * (20 + row.spacing);
      // Centre of the character's cell, away from the neighbours' overlap.
      const std::array<int, 3> expected{c, 255 - c, 77};
      EXPECT_EQ(Pixel(left + 12, 215), expected) << "char " << i << " spacing " << row.spacing;
    }
    if (row.spacing > 0) {
      EXPECT_EQ(Pixel(100 + 20 + row.spacing / 2, 215), (std::array<int, 3>{0, 0, 0}));
    }
  }
}

TEST_F(SceneTest, ScreenToWorldReadsDepth) {
  SKIP_WITHOUT_GL();
  TKTZGL_Camera& cam = Scene().Camera;
  cam.LookByAngles = 1;
  cam.Position = MakeVector(0, 0, 0, 1);
  cam.Pitch = cam.Yaw = cam.Roll = 0;
  cam.SetProjection(800, 600);
  glLoadIdentity();
  cam.Apply();
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  // A wall at z = 5 over the left half of the view (x > 0 is the left side looking along +z).
  glBegin(GL_QUADS);
  glVertex3d(0, -10, 5);
  glVertex3d(10, -10, 5);
  glVertex3d(10, 10, 5);
  glVertex3d(0, 10, 5);
  glEnd();
  const Vector4d hit = Scene().ScreenToWorld(TPoint{200, 300});
  EXPECT_NEAR(hit.z, 5.0, 0.01);
  EXPECT_GT(hit.x, 0.0);
  EXPECT_DOUBLE_EQ(hit.w, 1.0);
  // Nothing drawn on the right: the point lies on the far plane.
  const Vector4d far = Scene().ScreenToWorld(TPoint{600, 300});
  EXPECT_NEAR(far.z, 50.0, 0.05);
  // A point past the window is read at the last pixel instead of outside the framebuffer.
  const Vector4d edge = Scene().ScreenToWorld(TPoint{5000, -20});
  EXPECT_TRUE(std::isfinite(edge.z));
}

}  // namespace
}  // namespace skerrow
