// The TKTZGL engine core on fixed-function OpenGL 1.x and GLU.
#include "engine/ktzgl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "platform/platform.h"

namespace skerrow {

Color4f MakeColor(float r, float g, float b, float a) {
  return Color4f{r, g, b, a};
}

Vector4d MakeVector(double x, double y, double z, double w) {
  return Vector4d{x, y, z, w};
}

KTZGLExtensions& Extensions() {
  static KTZGLExtensions extensions;
  return extensions;
}

void ActiveTextureARB(uint32_t texture) {
  if (Extensions().ActiveTextureARB) Extensions().ActiveTextureARB(texture);
}

void ClientActiveTextureARB(uint32_t texture) {
  if (Extensions().ClientActiveTextureARB) Extensions().ClientActiveTextureARB(texture);
}

void MultiTexCoord2fvARB(uint32_t target, const float* v) {
  if (Extensions().MultiTexCoord2fvARB) Extensions().MultiTexCoord2fvARB(target, v);
}

// ---- camera and light ----

void TKTZGL_Camera::SetProjection(int32_t width, int32_t height) {
  const double aspect = height != 0 ? static_cast<double>(width) / height : 1.0;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (Perspective == 1) {
    gluPerspective(FieldOfView, aspect, ZNear, ZFar);
  } else {
    glOrtho(-aspect, aspect, -1, 1, ZNear, ZFar);
  }
  Aspect = aspect;
  glMatrixMode(GL_MODELVIEW);
}

void TKTZGL_Camera::Apply() const {
  double cx, cy, cz;
  if (LookByAngles == 1) {
    cx = Position.x + std::cos(Pitch) * std::sin(Yaw);
    cy = Position.y + std::sin(Pitch);
    cz = Position.z + std::cos(Pitch) * std::cos(Yaw);
  } else {
    cx = Target[0];
    cy = Target[1];
    cz = Target[2];
  }
  gluLookAt(Position.x, Position.y, Position.z, cx, cy, cz, std::sin(Roll), std::cos(Roll), 0.0);
}

void TKTZGL_Light::Apply() {
  if (Enabled == 1) {
    glEnable(LightId);
  } else {
    glDisable(LightId);
  }
  Position.w = Directional == 1 ? 0.0 : 1.0;
  const GLfloat position[4] = {static_cast<GLfloat>(Position.x), static_cast<GLfloat>(Position.y),
                               static_cast<GLfloat>(Position.z), static_cast<GLfloat>(Position.w)};
  glLightfv(LightId, GL_POSITION, position);
  glLightfv(LightId, GL_AMBIENT, &Ambient.r);
  glLightfv(LightId, GL_DIFFUSE, &Diffuse.r);
  glLightfv(LightId, GL_SPECULAR, &Specular.r);
}

// ---- scene ----

namespace {

template <typename T>
T Lookup(platform::Window& window, const char* name) {
  return reinterpret_cast<T>(window.GetProcAddress(name));
}

void LookUpExtensions(platform::Window& window) {
  KTZGLExtensions& e = Extensions();
  e.FlushVertexArrayRangeNV = window.GetProcAddress("glFlushVertexArrayRangeNV");
  e.VertexArrayRangeNV = window.GetProcAddress("glVertexArrayRangeNV");
  e.AllocateMemoryNV = window.GetProcAddress("wglAllocateMemoryNV");
  e.FreeMemoryNV = window.GetProcAddress("wglFreeMemoryNV");
  e.GenFencesNV = window.GetProcAddress("glGenFencesNV");
  e.DeleteFencesNV = window.GetProcAddress("glDeleteFencesNV");
  e.SetFenceNV = window.GetProcAddress("glSetFenceNV");
  e.TestFenceNV = window.GetProcAddress("glTestFenceNV");
  e.FinishFenceNV = window.GetProcAddress("glFinishFenceNV");
  e.IsFenceNV = window.GetProcAddress("glIsFenceNV");
  e.GetFenceivNV = window.GetProcAddress("glGetFenceivNV");
  e.MultiTexCoord2fARB = Lookup<decltype(e.MultiTexCoord2fARB)>(window, "glMultiTexCoord2fARB");
  e.MultiTexCoord2fvARB = Lookup<decltype(e.MultiTexCoord2fvARB)>(window, "glMultiTexCoord2fvARB");
  e.ActiveTextureARB = Lookup<decltype(e.ActiveTextureARB)>(window, "glActiveTextureARB");
  e.ClientActiveTextureARB =
      Lookup<decltype(e.ClientActiveTextureARB)>(window, "glClientActiveTextureARB");
}

}  // namespace

void TKTZGL_Scene::InitGL(platform::Window& window, int32_t width, int32_t height, double zNear,
                          double zFar) {
  Window = &window;
  // No resize path: a zero height would make every aspect ratio infinite.
  if (width <= 0) width = 1;
  if (height <= 0) height = 1;

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glViewport(0, 0, width, height);
  glMatrixMode(GL_MODELVIEW);

  glEnable(GL_DEPTH_TEST);
  Width = width;
  Height = height;
  Aspect = static_cast<double>(width) / height;

  Camera = TKTZGL_Camera{};
  Camera.Perspective = 1;
  Camera.FieldOfView = 90.0;
  Camera.ZNear = zNear;
  Camera.ZFar = zFar;
  Camera.SetProjection(width, height);

  Light0 = TKTZGL_Light{};
  glEnable(GL_LIGHTING);
  Light0.Enabled = 1;
  Light0.Position = MakeVector(0, 1, 0, 1);
  Light0.Ambient = MakeColor(0, 0, 0, 1);
  Light0.Diffuse = MakeColor(0.7f, 0.7f, 0.7f, 1);
  Light0.Specular = MakeColor(1, 1, 1, 1);
  Light0.Directional = 0;
  Light0.LightId = GL_LIGHT0;
  Light0.Apply();

  Light1 = TKTZGL_Light{};
  Light1.Enabled = 1;
  Light1.Position = MakeVector(0, 0.016, 0, 1);
  Light1.Ambient = MakeColor(1, 1, 1, 1);
  Light1.Diffuse = MakeColor(0.7f, 0.7f, 0.7f, 1);
  Light1.Specular = MakeColor(1, 1, 1, 1);
  Light1.Directional = 0;
  Light1.LightId = GL_LIGHT1;
  Light1.Apply();

  Fog.Colour = MakeColor(1, 1, 1, 1);
  Fog.Start = 1000.0f;
  Fog.End = 100000.0f;
  Fog.Enabled = 1;
  Fog.Mode = 1;
  Fog.Density = 0.1f;
  Fog.NiceHint = 1;
  ApplyFog(Fog);

  LookUpExtensions(window);

  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);
  Initialised = 1;
}

void TKTZGL_Scene::Present() {
  if (Window) Window->SwapBuffers();
}

void TKTZGL_Scene::DoneGL() {
  Window = nullptr;
  Initialised = 0;
  Extensions() = KTZGLExtensions{};
}

void TKTZGL_Scene::ApplyFog(const TKTZGL_Fog& fog) {
  if (fog.Enabled == 1) {
    glEnable(GL_FOG);
  } else {
    glDisable(GL_FOG);
  }
  switch (fog.Mode) {
    case 0:
      glFogi(GL_FOG_MODE, GL_LINEAR);
      break;
    case 1:
      glFogi(GL_FOG_MODE, GL_EXP);
      break;
    case 2:
      glFogi(GL_FOG_MODE, GL_EXP2);
      break;
    default:
      break;
  }
  glFogfv(GL_FOG_COLOR, &fog.Colour.r);
  glFogf(GL_FOG_START, fog.Start);
  glFogf(GL_FOG_END, fog.End);
  glFogf(GL_FOG_DENSITY, fog.Density);
  if (fog.NiceHint == 1) glHint(GL_FOG_HINT, GL_NICEST);
}

Vector4d TKTZGL_Scene::ScreenToWorld(TPoint point) const {
  GLint viewport[4];
  GLdouble modelview[16];
  GLdouble projection[16];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  // Reading outside the framebuffer leaves the value undefined: keep the pixel inside.
  int32_t x = point.x;
  int32_t y = point.y;
  if (x > viewport[2] - 1) x = viewport[2] - 1;
  if (y > viewport[3] - 1) y = viewport[3] - 1;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  const GLint winY = viewport[3] - y - 1;
  GLfloat depth = 1.0f;
  glReadPixels(x, winY, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  GLdouble wx = 0, wy = 0, wz = 0;
  if (gluUnProject(x, winY, depth, modelview, projection, viewport, &wx, &wy, &wz) != GL_TRUE) {
    wx = wy = wz = 0;
  }
  return Vector4d{wx, wy, wz, 1.0};
}

void TKTZGL_Scene::DrawQuad(double x1, double y1, double x2, double y2) const {
  glBegin(GL_QUADS);
  glTexCoord2d(0, 0);
  glVertex3d(x1, y1, -1);
  glTexCoord2d(1, 0);
  glVertex3d(x2, y1, -1);
  glTexCoord2d(1, 1);
  glVertex3d(x2, y2, -1);
  glTexCoord2d(0, 1);
  glVertex3d(x1, y2, -1);
  glEnd();
}

void TKTZGL_Scene::DrawQuadAtZero(double x1, double y1, double x2, double y2) const {
  glBegin(GL_QUADS);
  glTexCoord2d(0, 0);
  glVertex3d(x1, y1, 0);
  glTexCoord2d(1, 0);
  glVertex3d(x2, y1, 0);
  glTexCoord2d(1, 1);
  glVertex3d(x2, y2, 0);
  glTexCoord2d(0, 1);
  glVertex3d(x1, y2, 0);
  glEnd();
}

void TKTZGL_Scene::DrawQuadTex(double x1, double y1, double x2, double y2, double s1, double t1,
                               double s2, double t2) const {
  glBegin(GL_QUADS);
  glTexCoord2d(s1, t1);
  glVertex3d(x1, y1, -1);
  glTexCoord2d(s2, t1);
  glVertex3d(x2, y1, -1);
  glTexCoord2d(s2, t2);
  glVertex3d(x2, y2, -1);
  glTexCoord2d(s1, t2);
  glVertex3d(x1, y2, -1);
  glEnd();
}

double TKTZGL_Scene::PixelToX(double px) const {
  const double width = Width > 0 ? Width : 1;
  return (px / width * 2 - 1) * Aspect;
}

double TKTZGL_Scene::PixelToY(double py) const {
  const double height = Height > 0 ? Height : 1;
  return -(py / height * 2 - 1);
}

void TKTZGL_Scene::DrawRect(const TRect& rect) const {
  DrawQuad(PixelToX(rect.left), PixelToY(rect.bottom), PixelToX(rect.right), PixelToY(rect.top));
}

void TKTZGL_Scene::DrawRectTex(const TRect& rect, double s1, double t1, double s2,
                               double t2) const {
  DrawQuadTex(PixelToX(rect.left), PixelToY(rect.bottom), PixelToX(rect.right), PixelToY(rect.top),
              s1, t1, s2, t2);
}

void TKTZGL_Scene::DrawRectPercent(double left, double top, double right, double bottom) const {
  auto x = [this](double p) { return (p / 100 * 2 - 1) * Aspect; };
  auto y = [](double p) { return -(p / 100 * 2 - 1); };
  DrawQuad(x(left), y(bottom), x(right), y(top));
}

void TKTZGL_Scene::DrawText(const TRect& cell, std::string_view text, int32_t spacing) const {
  // 64-bit so that long lines with wide cells cannot overflow the pixel offsets.
  const int64_t w = static_cast<int64_t>(cell.right) - cell.left;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned c = static_cast<uint8_t>(text[i]);
    const int64_t left = cell.left + static_cast<int64_t>(i) * (w + spacing);
    const double column = c / 16;
    const double row = c % 16;
    const double x1 = PixelToX(static_cast<double>(left));
    const double x2 = PixelToX(static_cast<double>(left + w));
    DrawQuadTex(x1, PixelToY(cell.bottom), x2, PixelToY(cell.top), column / 16, (15 - row) / 16,
                (column + 1) / 16, (16 - row) / 16);
  }
}

}  // namespace skerrow
