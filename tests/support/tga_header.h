// Checks the 18-byte header of an uncompressed 24-bit TGA file the game wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace skerrow::test {

// Expects type 2 (uncompressed true colour), the given size and 24 bits per pixel; returns the
// first pixel byte after the header (-1 when the file ends there).
inline int ExpectTga24Header(const std::string& path, int width, int height) {
  std::ifstream f(path, std::ios::binary);
  uint8_t h[19] = {};
  f.read(reinterpret_cast<char*>(h), 19);
  const bool hasPixel = f.gcount() == 19;
  EXPECT_GE(f.gcount(), 18) << path;
  EXPECT_EQ(h[2], 2) << path;
  EXPECT_EQ(h[12] | h[13] << 8, width) << path;
  EXPECT_EQ(h[14] | h[15] << 8, height) << path;
  EXPECT_EQ(h[16], 24) << path;
  return hasPixel ? h[18] : -1;
}

}  // namespace skerrow::test
