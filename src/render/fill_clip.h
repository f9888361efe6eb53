// Keeping a fill to the pixels it can change: the texels of a decal texture that differ from
// the blend's neutral value, and the screen box of what a transform puts on the screen. A
// scissor to such a box leaves every pixel as the whole quad leaves it, and the rasteriser
// shades only inside it.
#pragma once

#include <cstdint>

namespace skerrow {

// A rectangle of texture coordinates, [s0, s1] x [t0, t1] inside [0, 1]; empty when s0 > s1.
struct TexelRect {
  float s0 = 0, t0 = 0, s1 = 1, t1 = 1;
  int32_t width = 0, height = 0;  // the texture's level-0 size (0: not measured)
  bool Empty() const { return s0 > s1 || t0 > t1; }
};

// The texel value that changes no pixel under a decal's blend: alpha 0 under
// (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA), white under (GL_ZERO, GL_SRC_COLOR).
enum class NeutralTexel { kTransparent, kWhite };

// Where bilinear sampling (with repeat) of one level, RGBA rows of `width` x `height`, can give
// a value other than the neutral one: around every other texel one texel each way, wrapping to
// the far edge from a texel on the first or last row or column. Empty when every texel is
// neutral.
TexelRect ChangingTexels(const uint8_t* rgba, int32_t width, int32_t height, NeutralTexel neutral);

// The union of the two rectangles (an empty one adds nothing).
TexelRect UnionRect(const TexelRect& a, const TexelRect& b);

// Mip levels the rectangle of a texture covers: a decal is clipped only while its texture
// is sampled from these (at most 2^(kClipLevels - 1) texels to a pixel).
inline constexpr int32_t kClipLevels = 4;

// ChangingTexels of levels 0 .. kClipLevels - 1 of a loaded texture, joined, read back from
// the driver (needs a current GL context). Texture 0 or an unreadable one gives the whole
// [0, 1] square.
TexelRect ChangingTexelsOfTexture(uint32_t texture, NeutralTexel neutral);

// A box of window pixels, grown point by point; `unbounded` once a point could not be placed
// (at or behind the eye), after which the box means the whole window.
struct ScreenBox {
  double x0 = 0, y0 = 0, x1 = -1, y1 = -1;
  bool unbounded = false;
  bool Empty() const { return !unbounded && (x0 > x1 || y0 > y1); }
  void Reset() { *this = ScreenBox{}; }
};

// Column-major clip matrix (projection times modelview, as GL multiplies) and the viewport.
struct ClipTransform {
  double m[16] = {};
  int32_t viewport[4] = {0, 0, 0, 0};
};
// The current GL projection times modelview, and the viewport.
ClipTransform CurrentClipTransform();

// Grows the box by the window position of (x, y, z).
void GrowScreenBox(ScreenBox& box, const ClipTransform& t, double x, double y, double z);
// Grows the box by the eight corners of [lo, hi].
void GrowScreenBoxByBox(ScreenBox& box, const ClipTransform& t, const float lo[3],
                        const float hi[3]);

// Pixel rectangle (x, y, width, height) of the box, one pixel wider on every side, clipped to
// the viewport; width or height 0 when nothing of it is on the screen.
struct ScissorRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};
ScissorRect ScissorFor(const ScreenBox& box, const int32_t viewport[4]);

}  // namespace skerrow
