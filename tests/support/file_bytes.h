// Whole files as bytes for tests that write fixtures to disk and read results back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "platform/paths.h"

namespace skerrow::test {

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Creates the folders on the way, replaces the file, and drops the cached directory listings.
inline void WriteFileBytes(const std::filesystem::path& p, std::span<const uint8_t> bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  InvalidatePathCache();
}

}  // namespace skerrow::test
