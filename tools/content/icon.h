// The desktop icon: a sailing ship on a round patch of sea, drawn at the hicolor theme's sizes
// and written as PNG.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace skerrow::content {

// The sizes of the hicolor theme the icon is drawn at, in pixels.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon at `size` x `size` pixels: rows top to bottom, 4 bytes per pixel (R, G, B, A).
std::vector<uint8_t> DrawIcon(int size);

// PNG bytes of an 8-bit RGBA picture (colour type 6, no interlace). The pixel data is held in
// stored (uncompressed) deflate blocks: no compression library is needed, and an icon of at
// most 256 x 256 pixels stays small.
std::vector<uint8_t> EncodePngRgba(int width, int height, std::span<const uint8_t> rgba);

// Writes `dir`/<n>x<n>/apps/skerrow.png for every size of kIconSizes; throws on failure.
void GenerateIcons(const std::filesystem::path& dir);

}  // namespace skerrow::content
