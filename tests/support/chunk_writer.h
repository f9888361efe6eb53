// Minimal 3DS chunk writer for reader tests: nested chunks whose lengths are patched when
// each chunk ends, plus raw little-endian values for the chunks' own data.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace skerrow::testsupport {

class ChunkWriter {
 public:
  ChunkWriter& Begin(uint16_t id) {
    open_.push_back(bytes.size());
    U16(id);
    U32(0);
    return *this;
  }
  // Patches the length of the innermost open chunk.
  ChunkWriter& End() {
    const size_t start = open_.back();
    open_.pop_back();
    const uint32_t length = static_cast<uint32_t>(bytes.size() - start);
    std::memcpy(&bytes[start + 2], &length, 4);
    return *this;
  }
  // A chunk with no own data and no sub-chunks.
  ChunkWriter& Empty(uint16_t id) { return Begin(id).End(); }
  ChunkWriter& U8(uint8_t v) { return Raw(&v, 1); }
  ChunkWriter& U16(uint16_t v) { return Raw(&v, 2); }
  ChunkWriter& I16(int16_t v) { return Raw(&v, 2); }
  ChunkWriter& U32(uint32_t v) { return Raw(&v, 4); }
  ChunkWriter& F32(float v) { return Raw(&v, 4); }
  // Zero-terminated string.
  ChunkWriter& Str(const std::string& s) {
    Raw(s.data(), s.size());
    return U8(0);
  }
  ChunkWriter& Raw(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
    return *this;
  }

  std::vector<uint8_t> bytes;

 private:
  std::vector<size_t> open_;
};

}  // namespace skerrow::testsupport
