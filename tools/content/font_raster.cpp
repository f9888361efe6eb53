// FreeType rasteriser for the bitmap fonts and the lettering of the interface pictures.
#include "font_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/cp1251.h"

namespace skerrow::content {
namespace {

// The library and the face, opened on first use and kept for the generator's run.
FT_Face Face() {
  static FT_Library library = nullptr;
  static FT_Face face = nullptr;
  if (face != nullptr) return face;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType does not start");
  if (FT_New_Face(library, kFontFile, 0, &face) != 0) {
    throw std::runtime_error(std::string("cannot open the font ") + kFontFile);
  }
  return face;
}

// The code point of a Windows-1251 byte (0 when it has none, as 0x98).
uint32_t CodePoint(unsigned char code) {
  const std::string s = Cp1251ToUtf8(std::string(1, static_cast<char>(code)));
  const auto b = [&s](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(s[i])); };
  uint32_t cp = 0;
  if (s.size() == 1) cp = b(0);
  if (s.size() == 2) cp = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
  if (s.size() == 3) cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
  return cp == 0xFFFD ? 0 : cp;
}

void Blit(const FT_Bitmap& bm, int left, int top, int cellSize, std::vector<uint8_t>& alphaOut) {
  for (int row = 0; row < static_cast<int>(bm.rows); ++row) {
    const int y = top + row;
    if (y < 0 || y >= cellSize) continue;
    for (int col = 0; col < static_cast<int>(bm.width); ++col) {
      const int x = left + col;
      if (x < 0 || x >= cellSize) continue;
      alphaOut[static_cast<size_t>(y) * cellSize + x] = bm.buffer[row * bm.pitch + col];
    }
  }
}

}  // namespace

void RasterGlyphCp1251(unsigned char code, int cellSize, int pixelHeight,
                       std::vector<uint8_t>& alphaOut, int& advanceOut,
                       GlyphPlacement placement) {
  alphaOut.assign(static_cast<size_t>(cellSize) * cellSize, 0);
  advanceOut = 0;
  const uint32_t cp = CodePoint(code);
  if (cp < 0x20 || cp == 0x7F) return;
  FT_Face face = Face();
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight));
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) return;
  const FT_GlyphSlot g = face->glyph;
  const FT_Bitmap& bm = g->bitmap;
  if (placement == GlyphPlacement::kPenOrigin) {
    advanceOut = static_cast<int>(g->advance.x >> 6);
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    const int descent = static_cast<int>(-face->size->metrics.descender >> 6);
    const int baseline = (cellSize - ascent - descent) / 2 + ascent;
    Blit(bm, 1 + std::max(0, g->bitmap_left), baseline - g->bitmap_top, cellSize, alphaOut);
    return;
  }
  const int inkWidth = std::min(static_cast<int>(bm.width), cellSize);
  if (inkWidth == 0 || bm.rows == 0) {
    advanceOut = std::min(static_cast<int>(g->advance.x >> 6), cellSize);
    return;
  }
  advanceOut = inkWidth;
  Blit(bm, (cellSize - inkWidth) / 2, cellSize * 4 / 5 - g->bitmap_top, cellSize, alphaOut);
}

}  // namespace skerrow::content
