// Glyphs of Windows-1251 characters rasterised at build time with FreeType from DejaVu Sans,
// for the bitmap fonts and the lettering of the content pack's pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace skerrow::content {

// The free font every generated glyph comes from (full Cyrillic coverage).
inline constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Where a glyph sits in its cell.
enum class GlyphPlacement {
  // Left-aligned one pixel in, on a baseline that centres the font's ascent and descent in the
  // cell; the advance is the pen advance (the large font's fixed-width cells).
  kPenOrigin,
  // The ink centred horizontally, on a baseline at 4/5 of the cell; the advance is the ink's
  // width (or the pen advance of a blank glyph such as the space), at most the cell (the GUI
  // font, whose width table gives each glyph's width centred in its cell).
  kCentredInk,
};

// Renders character `code` at `pixelHeight` pixels (the em size) into a cellSize x cellSize
// coverage map (alphaOut, 0..255, top row first). Control characters and unassigned codes give
// an empty cell and advance 0. Throws std::runtime_error when the font cannot be opened.
void RasterGlyphCp1251(unsigned char code, int cellSize, int pixelHeight,
                       std::vector<uint8_t>& alphaOut, int& advanceOut,
                       GlyphPlacement placement = GlyphPlacement::kPenOrigin);

}  // namespace skerrow::content
