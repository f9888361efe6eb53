// The level editor's preview pictures: gdata/bitmaps/units/unit<K>.qvt for every unit kind
// with a role and gdata/bitmaps/triggers/bonus<k>.qvt for bonus kinds 1..19. The editor
// enables its unit and trigger "Create" buttons only while the kind's preview exists.
#include <string>

#include "content.h"
#include "world/vocabulary.h"

namespace skerrow::content {

namespace {

constexpr int kPreviewSide = 64;

// A plate in the kind's colour with a ring of `marks` dots, so kinds differ at a glance.
Image Plate(int seed, int marks, uint8_t r, uint8_t g, uint8_t b) {
  Image im(kPreviewSide, kPreviewSide);
  const int c = kPreviewSide / 2;
  for (int y = 0; y < kPreviewSide; ++y) {
    for (int x = 0; x < kPreviewSide; ++x) {
      uint8_t* p = im.At(x, y);
      const int dx = x - c, dy = y - c;
      const bool disc = dx * dx + dy * dy < (c - 4) * (c - 4);
      const double shade = disc ? 1.0 : 0.35;
      p[0] = static_cast<uint8_t>(r * shade);
      p[1] = static_cast<uint8_t>(g * shade);
      p[2] = static_cast<uint8_t>(b * shade);
    }
  }
  // Dots on a ring: the kind number in unary, up to 16, turned by the seed.
  for (int m = 0; m < marks && m < 16; ++m) {
    const int angle = (m * 360 / 16 + seed * 7) % 360;
    // Integer ring points: eight directions by a small table, scaled by the ring index.
    static constexpr int kDir[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                       {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    const int d = angle / 45, ring = 10 + (m / 8) * 8;
    const int px = c + kDir[d][0] * ring, py = c + kDir[d][1] * ring;
    for (int y = py - 2; y <= py + 2; ++y)
      for (int x = px - 2; x <= px + 2; ++x) {
        uint8_t* p = im.At(x, y);
        p[0] = p[1] = p[2] = 255;
      }
  }
  return im;
}

}  // namespace

void GenerateEditorPreviews(Output& out) {
  for (const KindRole& role : kKindRoles) {
    if (role.nameUtf8 == nullptr) continue;
    const int k = role.kind;
    out.WriteBmp("bitmaps/units/unit" + std::to_string(k) + ".qvt",
                 Plate(k, k % 17, static_cast<uint8_t>(60 + (k * 37) % 160),
                       static_cast<uint8_t>(60 + (k * 71) % 160), 200));
  }
  for (int k = 1; k < bonus::kCount; ++k) {
    out.WriteBmp("bitmaps/triggers/bonus" + std::to_string(k) + ".qvt",
                 Plate(k, k, 220, static_cast<uint8_t>(80 + k * 8), 60));
  }
}

}  // namespace skerrow::content
