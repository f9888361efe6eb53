// FreeType rendering of Windows-1251 characters from /usr/share/fonts/truetype/dejavu.
#include "font_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/cp1251.h"

namespace skerrow::content {
namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The library and face, opened on first use and kept for the generator's run.
struct Font {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  Font() {
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType did not start");
    if (FT_New_Face(library, kFontFile, 0, &face) != 0) {
      throw std::runtime_error(std::string("cannot open the font ") + kFontFile);
    }
  }
  ~Font() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

Font& TheFont() {
  static Font font;
  return font;
}

// The Unicode code point of a Windows-1251 byte, 0 for unassigned (0x98).
uint32_t CodePoint(unsigned char code) {
  const std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(code)));
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  uint32_t cp = 0;
  if (utf8.size() == 1) {
    cp = s[0];
  } else if (utf8.size() == 2) {
    cp = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
  } else if (utf8.size() == 3) {
    cp = ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
  }
  return cp == 0xFFFD ? 0 : cp;
}

}  // namespace

void RasterGlyphCp1251(unsigned char code, int cellSize, int pixelHeight,
                       std::vector<uint8_t>& alphaOut, int& advanceOut) {
  alphaOut.assign(static_cast<size_t>(cellSize) * cellSize, 0);
  advanceOut = 0;
  const uint32_t cp = CodePoint(code);
  if (cp < 0x20 || cp == 0x7F) return;
  FT_Face face = TheFont().face;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight));
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) return;
  const FT_GlyphSlot g = face->glyph;
  advanceOut = static_cast<int>(g->advance.x >> 6);
  const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
  const int descent = static_cast<int>(-face->size->metrics.descender >> 6);
  const int baseline = (cellSize - ascent - descent) / 2 + ascent;
  const FT_Bitmap& bm = g->bitmap;
  for (int row = 0; row < static_cast<int>(bm.rows); ++row) {
    const int y = baseline - g->bitmap_top + row;
    if (y < 0 || y >= cellSize) continue;
    for (int col = 0; col < static_cast<int>(bm.width); ++col) {
      const int x = 1 + std::max(0, g->bitmap_left) + col;
      if (x < 0 || x >= cellSize) continue;
      alphaOut[static_cast<size_t>(y) * cellSize + x] = bm.buffer[row * bm.pitch + col];
    }
  }
}

}  // namespace skerrow::content
