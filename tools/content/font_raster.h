// Glyphs of Windows-1251 characters rasterised at build time with FreeType from DejaVu Sans.
#pragma once

#include <cstdint>
#include <vector>

namespace skerrow::content {

// The free font every generated glyph comes from (full Cyrillic coverage).
inline constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Rasterises character `code` (Windows-1251) at `pixelHeight` pixels into a cellSize x cellSize
// coverage map (rows top to bottom, 0..255), the glyph centred horizontally on a baseline at
// 4/5 of the cell. `advanceOut` is the glyph's width in pixels as placed (its ink, or its
// advance for a blank glyph such as the space; 0 for control codes), at most cellSize. Throws
// std::runtime_error when the font cannot be loaded.
void RasterGlyphCp1251(unsigned char code, int cellSize, int pixelHeight,
                       std::vector<uint8_t>& alphaOut, int& advanceOut);

}  // namespace skerrow::content
