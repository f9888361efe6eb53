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

// The code point of a Windows-1251 byte (0 when it has none).
uint32_t CodePoint(unsigned char code) {
  const std::string s = Cp1251ToUtf8(std::string(1, static_cast<char>(code)));
  const auto b = [&s](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(s[i])); };
  if (s.size() == 1) return b(0);
  if (s.size() == 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
  if (s.size() == 3) return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
  return 0;
}

}  // namespace

void RasterGlyphCp1251(unsigned char code, int cellSize, int pixelHeight,
                       std::vector<uint8_t>& alphaOut, int& advanceOut) {
  alphaOut.assign(static_cast<size_t>(cellSize) * cellSize, 0);
  advanceOut = 0;
  const uint32_t cp = CodePoint(code);
  if (code < 32 || cp == 0 || cp == 0xFFFD) return;
  FT_Face face = Face();
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight));
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) return;
  const FT_GlyphSlot g = face->glyph;
  const FT_Bitmap& bm = g->bitmap;
  const int inkWidth = std::min(static_cast<int>(bm.width), cellSize);
  if (inkWidth == 0 || bm.rows == 0) {
    advanceOut = std::min(static_cast<int>(g->advance.x >> 6), cellSize);
    return;
  }
  advanceOut = inkWidth;
  const int left = (cellSize - inkWidth) / 2;
  const int baseline = cellSize * 4 / 5;
  const int top = baseline - g->bitmap_top;
  for (int y = 0; y < static_cast<int>(bm.rows); ++y) {
    const int cy = top + y;
    if (cy < 0 || cy >= cellSize) continue;
    for (int x = 0; x < inkWidth; ++x) {
      alphaOut[static_cast<size_t>(cy) * cellSize + left + x] = bm.buffer[y * bm.pitch + x];
    }
  }
}

}  // namespace skerrow::content
