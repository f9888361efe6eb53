// Glyphs of the free DejaVu Sans font rendered for one Windows-1251 character, for the bitmap
// fonts of the content pack.
#pragma once

#include <cstdint>
#include <vector>

namespace skerrow::content {

// Renders Windows-1251 character `code` at `pixelHeight` pixels (the font's em size) into a
// cellSize x cellSize coverage map (alphaOut, 0..255, top row first), left-aligned one pixel
// in and on a baseline that centres the font's ascent and descent in the cell. advanceOut is
// the glyph's advance in pixels. Control characters and unassigned codes give an empty cell
// and advance 0. Throws std::runtime_error when the font cannot be opened.
void RasterGlyphCp1251(unsigned char code, int cellSize, int pixelHeight,
                       std::vector<uint8_t>& alphaOut, int& advanceOut);

}  // namespace skerrow::content
