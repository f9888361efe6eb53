// Where a decal texture changes pixels, and the scissor rectangle of a screen box.
#include "render/fill_clip.h"

#include <gtest/gtest.h>

#include <vector>

namespace skerrow {
namespace {

// An 8 x 8 level of neutral texels with the listed ones changed.
std::vector<uint8_t> Level(NeutralTexel neutral, std::initializer_list<std::pair<int, int>> xy) {
  std::vector<uint8_t> px(8 * 8 * 4);
  for (size_t i = 0; i < px.size(); i += 4) {
    px[i] = px[i + 1] = px[i + 2] = 255;
    px[i + 3] = neutral == NeutralTexel::kTransparent ? 0 : 255;
  }
  for (auto [x, y] : xy) {
    uint8_t* p = &px[static_cast<size_t>(y * 8 + x) * 4];
    if (neutral == NeutralTexel::kTransparent) {
      p[3] = 1;  // the faintest alpha still blends
    } else {
      p[2] = 254;  // the faintest tint still darkens
    }
  }
  return px;
}

TEST(ChangingTexels, OneTexelEachWayAndWrappingAtTheEdges) {
  struct Case {
    const char* name;
    NeutralTexel neutral;
    std::initializer_list<std::pair<int, int>> changed;
    float s0, t0, s1, t1;
  };
  const Case cases[] = {
      {"one inner texel", NeutralTexel::kWhite, {{3, 4}}, 2 / 8.f, 3 / 8.f, 5 / 8.f, 6 / 8.f},
      {"a span", NeutralTexel::kTransparent, {{2, 2}, {5, 3}}, 1 / 8.f, 1 / 8.f, 7 / 8.f, 5 / 8.f},
      // Texel 0 is blended into samples near s = 1 (repeat): the range reaches both edges.
      {"first column", NeutralTexel::kWhite, {{0, 4}}, 0, 3 / 8.f, 1, 6 / 8.f},
      {"last row", NeutralTexel::kTransparent, {{4, 7}}, 3 / 8.f, 0, 6 / 8.f, 1},
      {"next to an edge", NeutralTexel::kWhite, {{1, 6}}, 0, 5 / 8.f, 3 / 8.f, 1},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> px = Level(c.neutral, c.changed);
    const TexelRect r = ChangingTexels(px.data(), 8, 8, c.neutral);
    EXPECT_FLOAT_EQ(r.s0, c.s0) << c.name;
    EXPECT_FLOAT_EQ(r.t0, c.t0) << c.name;
    EXPECT_FLOAT_EQ(r.s1, c.s1) << c.name;
    EXPECT_FLOAT_EQ(r.t1, c.t1) << c.name;
  }
  // All neutral: nothing to draw. White is not neutral under the alpha blend's rule.
  const std::vector<uint8_t> white = Level(NeutralTexel::kWhite, {});
  EXPECT_TRUE(ChangingTexels(white.data(), 8, 8, NeutralTexel::kWhite).Empty());
  EXPECT_FALSE(ChangingTexels(white.data(), 8, 8, NeutralTexel::kTransparent).Empty());
  // A union keeps both; an empty side adds nothing.
  TexelRect a{0.1f, 0.2f, 0.3f, 0.4f}, b{0.5f, 0.1f, 0.6f, 0.2f}, none{1, 1, 0, 0};
  const TexelRect u = UnionRect(a, b);
  EXPECT_FLOAT_EQ(u.s0, 0.1f);
  EXPECT_FLOAT_EQ(u.t0, 0.1f);
  EXPECT_FLOAT_EQ(u.s1, 0.6f);
  EXPECT_FLOAT_EQ(u.t1, 0.4f);
  EXPECT_FLOAT_EQ(UnionRect(none, a).s1, 0.3f);
  EXPECT_FLOAT_EQ(UnionRect(a, none).s1, 0.3f);
}

TEST(ScissorFor, WidensByAPixelAndStaysOnTheScreen) {
  const int32_t viewport[4] = {0, 0, 800, 600};
  ClipTransform identity;
  for (int i = 0; i < 4; ++i) identity.m[i * 5] = 1;
  for (int i = 0; i < 4; ++i) identity.viewport[i] = viewport[i];
  ScreenBox box;
  EXPECT_TRUE(box.Empty());
  ScissorRect r = ScissorFor(box, viewport);
  EXPECT_EQ(r.width * r.height, 0);
  // NDC (0, 0) and (0.5, 0.5): pixels (400, 300) and (600, 450).
  GrowScreenBox(box, identity, 0, 0, 0);
  GrowScreenBox(box, identity, 0.5, 0.5, 0);
  r = ScissorFor(box, viewport);
  EXPECT_EQ(r.x, 399);
  EXPECT_EQ(r.y, 299);
  EXPECT_EQ(r.width, 202);
  EXPECT_EQ(r.height, 152);
  // Off the right edge: clipped to the window.
  GrowScreenBox(box, identity, 3, 0.5, 0);
  r = ScissorFor(box, viewport);
  EXPECT_EQ(r.x + r.width, 800);
  // Wholly off the screen: nothing.
  ScreenBox off;
  GrowScreenBox(off, identity, 2, 2, 0);
  r = ScissorFor(off, viewport);
  EXPECT_EQ(r.width * r.height, 0);
  // A point at or behind the eye: the whole window, whatever else the box holds.
  ClipTransform behind = identity;
  behind.m[15] = -1;
  GrowScreenBox(box, behind, 0, 0, 0);
  EXPECT_TRUE(box.unbounded);
  r = ScissorFor(box, viewport);
  EXPECT_EQ(r.width, 800);
  EXPECT_EQ(r.height, 600);
}

}  // namespace
}  // namespace skerrow
