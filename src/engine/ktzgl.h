// The TKTZGL engine core: scene with camera, two lights and fog, overlay quads and bitmap text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/numeric.h"
#include "world/records.h"  // Vector4d, Color4f

namespace skerrow {

namespace platform {
class Window;
}

// A rectangle in window pixels, y counted from the top (Windows TRect).
struct TRect {
  int32_t left, top, right, bottom;
};

struct TPoint {
  int32_t x, y;
};

Color4f MakeColor(float r, float g, float b, float a);
Vector4d MakeVector(double x, double y, double z, double w);

// GL names used by the engine objects without pulling GL headers into this header.
inline constexpr uint32_t kGlLight0 = 0x4000;  // GL_LIGHT0
inline constexpr uint32_t kGlLight1 = 0x4001;  // GL_LIGHT1

// Base of every engine object. Angles are radians.
class TKTZGL {
 public:
  Vector4d Position{};  // for a light, w is what goes to GL_POSITION
  double Pitch = 0;     // about the horizontal axis (look up/down)
  double Yaw = 0;       // about the vertical axis (heading)
  double Roll = 0;      // about the view axis
};

// Collision copy of a model's triangles, in the file's own vertex order (before splitting).
class TKTZGL_collider : public TKTZGL {
 public:
  struct Vec3 {
    float x, y, z;
  };
  struct Mesh {
    std::vector<Vec3> vertices;
    int32_t faceCount = 0;
    std::vector<Vec3> triangles;  // 3 corners per face
    std::vector<Vec3> edges;      // 3 edges per face, 2 ends each: (a,b), (b,c), (c,a)
  };
  int32_t meshCount = 0;
  std::vector<Mesh> meshes;
};

class TKTZGL_Camera : public TKTZGL {
 public:
  uint8_t Perspective = 0;  // 1: perspective, otherwise orthographic
  double FieldOfView = 0;   // vertical, degrees
  double ZNear = 0;
  double ZFar = 0;
  uint8_t LookByAngles = 0;  // 1: view follows Pitch/Yaw, otherwise looks at Target
  double Target[3] = {0, 0, 0};
  double Aspect = 0;  // width / height of the last SetProjection

  // Loads the view transform into the current modelview matrix (already reset by the caller).
  void Apply() const;
  // Rebuilds the projection matrix; leaves the modelview matrix selected.
  void SetProjection(int32_t width, int32_t height);
};

class TKTZGL_Light : public TKTZGL {
 public:
  uint8_t Enabled = 0;
  uint32_t LightId = 0;  // GL_LIGHT0, GL_LIGHT1
  Color4f Ambient{};
  Color4f Diffuse{};
  Color4f Specular{};
  uint8_t Directional = 0;  // 1: w = 0 is sent, otherwise w = 1

  void Apply();
};

struct TKTZGL_Fog {
  Color4f Colour;
  float Start;
  float End;
  uint8_t Enabled;
  uint8_t Mode;  // 0 GL_LINEAR, 1 GL_EXP, 2 GL_EXP2; other values leave the mode as it is
  float Density;
  uint8_t NiceHint;  // 1: GL_NICEST fog hint
};

class TKTZGL_Object : public TKTZGL {};

class TKTZGL_Scene : public TKTZGL {
 public:
  platform::Window* Window = nullptr;  // its GL context is the scene's context
  TKTZGL_Camera Camera;
  TKTZGL_Light Light0;
  TKTZGL_Light Light1;
  TKTZGL_Fog Fog{};
  int32_t Width = 0;
  int32_t Height = 0;
  double Aspect = 0;
  uint8_t Initialised = 0;

  // Sets up viewport, camera, both lights, fog and the extension entry points on the window's
  // current context. The game passes zNear 0.1 and zFar 50.
  void InitGL(platform::Window& window, int32_t width, int32_t height, double zNear, double zFar);
  // Swaps the window's buffers.
  void Present();
  // Lets go of the window; the platform layer destroys the context with it.
  void DoneGL();

  // The world point under a window pixel (y from the top), read through the depth buffer.
  Vector4d ScreenToWorld(TPoint point) const;
  void ApplyFog(const TKTZGL_Fog& fog);

  // Screen-aligned quads in overlay coordinates: x in [-Aspect, Aspect], y in [-1, 1].
  void DrawQuad(double x1, double y1, double x2, double y2) const;
  void DrawQuadAtZero(double x1, double y1, double x2, double y2) const;
  void DrawQuadTex(double x1, double y1, double x2, double y2, double s1, double t1, double s2,
                   double t2) const;
  // The same for a rectangle in window pixels; texture (0,0) / (s1,t1) at the bottom-left.
  void DrawRect(const TRect& rect) const;
  void DrawRectTex(const TRect& rect, double s1, double t1, double s2, double t2) const;
  // Edges in percent of the window width (left, right) and height (top, bottom).
  void DrawRectPercent(double left, double top, double right, double bottom) const;
  // One line of Windows-1251 text with the bound 512 x 512 font (16 x 16 cells, column-major);
  // character i goes to cell shifted right by i * (cell width + spacing) pixels.
  void DrawText(const TRect& cell, std::string_view text, int32_t spacing) const;

 private:
  double PixelToX(double px) const;
  double PixelToY(double py) const;
};

// Extension entry points looked up by InitGL (null when the driver lacks them). Target and
// texture arguments are GLenum values (GL_TEXTURE0_ARB = 0x84C0, GL_TEXTURE1_ARB = 0x84C1).
struct KTZGLExtensions {
  void (*MultiTexCoord2fARB)(uint32_t target, float s, float t) = nullptr;
  void (*MultiTexCoord2fvARB)(uint32_t target, const float* v) = nullptr;
  void (*ActiveTextureARB)(uint32_t texture) = nullptr;
  void (*ClientActiveTextureARB)(uint32_t texture) = nullptr;
  // NV vertex array range and fence entry points: looked up and kept, never called.
  void* FlushVertexArrayRangeNV = nullptr;
  void* VertexArrayRangeNV = nullptr;
  void* AllocateMemoryNV = nullptr;
  void* FreeMemoryNV = nullptr;
  void* GenFencesNV = nullptr;
  void* DeleteFencesNV = nullptr;
  void* SetFenceNV = nullptr;
  void* TestFenceNV = nullptr;
  void* FinishFenceNV = nullptr;
  void* IsFenceNV = nullptr;
  void* GetFenceivNV = nullptr;
};

inline constexpr uint32_t kGlTexture0Arb = 0x84C0;
inline constexpr uint32_t kGlTexture1Arb = 0x84C1;

KTZGLExtensions& Extensions();
// Null-safe wrappers over the multitexture entry points.
void ActiveTextureARB(uint32_t texture);
void ClientActiveTextureARB(uint32_t texture);
void MultiTexCoord2fvARB(uint32_t target, const float* v);

}  // namespace skerrow
