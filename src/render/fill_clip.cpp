// Texel rectangles of decal textures and screen boxes for the scissor of a fill.
#include "render/fill_clip.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/numeric.h"

namespace skerrow {
namespace {

bool Neutral(const uint8_t* p, NeutralTexel neutral) {
  if (neutral == NeutralTexel::kTransparent) return p[3] == 0;
  return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

// One axis: the coordinate range sampled from texels first..last of `size`, one texel each
// way, wrapped to the far edge when they touch the first or last texel.
void AxisRange(int32_t first, int32_t last, int32_t size, float& lo, float& hi) {
  lo = static_cast<float>(first - 1) / static_cast<float>(size);
  hi = static_cast<float>(last + 2) / static_cast<float>(size);
  if (first <= 0) hi = 1;
  if (last >= size - 1) lo = 0;
  lo = std::max(lo, 0.0f);
  hi = std::min(hi, 1.0f);
}

}  // namespace

TexelRect ChangingTexels(const uint8_t* rgba, int32_t width, int32_t height, NeutralTexel neutral) {
  TexelRect r;
  r.width = width;
  r.height = height;
  int32_t x0 = width, x1 = -1, y0 = height, y1 = -1;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = rgba + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    for (int32_t x = 0; x < width; ++x) {
      if (Neutral(row + static_cast<size_t>(x) * 4, neutral)) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  if (x1 < 0) {
    r.s0 = r.t0 = 1;
    r.s1 = r.t1 = 0;
    return r;
  }
  AxisRange(x0, x1, width, r.s0, r.s1);
  AxisRange(y0, y1, height, r.t0, r.t1);
  return r;
}

TexelRect UnionRect(const TexelRect& a, const TexelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  TexelRect r = a;
  r.s0 = std::min(a.s0, b.s0);
  r.t0 = std::min(a.t0, b.t0);
  r.s1 = std::max(a.s1, b.s1);
  r.t1 = std::max(a.t1, b.t1);
  return r;
}

TexelRect ChangingTexelsOfTexture(uint32_t texture, NeutralTexel neutral) {
  if (texture == 0) return {};
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glBindTexture(GL_TEXTURE_2D, texture);
  TexelRect joined;
  joined.s0 = joined.t0 = 1;
  joined.s1 = joined.t1 = 0;
  std::vector<uint8_t> pixels;
  bool read = false;
  for (GLint level = 0; level < kClipLevels; ++level) {
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    if (w <= 0 || h <= 0) break;
    pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const TexelRect r = ChangingTexels(pixels.data(), w, h, neutral);
    joined = UnionRect(joined, r);
    if (level == 0) {
      joined.width = w;
      joined.height = h;
    }
    read = true;
  }
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  if (!read) return {};
  return joined;
}

ClipTransform CurrentClipTransform() {
  ClipTransform t;
  double p[16], mv[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += p[k * 4 + r] * mv[c * 4 + k];
      t.m[c * 4 + r] = s;
    }
  }
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  for (int i = 0; i < 4; ++i) t.viewport[i] = vp[i];
  return t;
}

void GrowScreenBox(ScreenBox& box, const ClipTransform& t, double x, double y, double z) {
  if (box.unbounded) return;
  const double* m = t.m;
  const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
  const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
  const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
  // At or behind the eye the point has no place on the screen; near it, none worth trusting.
  if (!(cw > 1e-6) || !std::isfinite(cx) || !std::isfinite(cy)) {
    box.unbounded = true;
    return;
  }
  const double wx = t.viewport[0] + (cx / cw * 0.5 + 0.5) * t.viewport[2];
  const double wy = t.viewport[1] + (cy / cw * 0.5 + 0.5) * t.viewport[3];
  if (box.x0 > box.x1) {
    box.x0 = box.x1 = wx;
    box.y0 = box.y1 = wy;
    return;
  }
  box.x0 = std::min(box.x0, wx);
  box.x1 = std::max(box.x1, wx);
  box.y0 = std::min(box.y0, wy);
  box.y1 = std::max(box.y1, wy);
}

void GrowScreenBoxByBox(ScreenBox& box, const ClipTransform& t, const float lo[3],
                        const float hi[3]) {
  for (int k = 0; k < 8; ++k) {
    GrowScreenBox(box, t, (k & 1) != 0 ? hi[0] : lo[0], (k & 2) != 0 ? hi[1] : lo[1],
                  (k & 4) != 0 ? hi[2] : lo[2]);
  }
}

ScissorRect ScissorFor(const ScreenBox& box, const int32_t viewport[4]) {
  ScissorRect s;
  const int32_t vx0 = viewport[0], vy0 = viewport[1];
  const int32_t vx1 = viewport[0] + viewport[2], vy1 = viewport[1] + viewport[3];
  if (box.unbounded) return {vx0, vy0, viewport[2], viewport[3]};
  if (box.Empty()) return {vx0, vy0, 0, 0};
  // Whole pixels around the box and one more each way: a pixel whose centre lies in a
  // triangle inside the box is inside the rectangle.
  const auto lo = [](double v, int32_t min) {
    return std::max(min, TruncToInt(std::floor(std::clamp(v, -1e6, 1e6))) - 1);
  };
  const auto hi = [](double v, int32_t max) {
    return std::min(max, TruncToInt(std::ceil(std::clamp(v, -1e6, 1e6))) + 1);
  };
  const int32_t x0 = lo(box.x0, vx0), x1 = hi(box.x1, vx1);
  const int32_t y0 = lo(box.y0, vy0), y1 = hi(box.y1, vy1);
  if (x1 <= x0 || y1 <= y0) return {vx0, vy0, 0, 0};
  s.x = x0;
  s.y = y0;
  s.width = x1 - x0;
  s.height = y1 - y0;
  return s;
}

}  // namespace skerrow
