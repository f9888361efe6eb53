// Minimal PNG reader for comparing decoded pictures with reference renderings in tests:
// non-interlaced PNGs of every colour type and bit depth, to 8-bit RGB rows top-down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skerrow::testsupport {

struct PngImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3, first row = top row
};

// False for files it cannot read (missing, corrupt, interlaced).
bool ReadPng(const std::string& fileName, PngImage& out);

}  // namespace skerrow::testsupport
