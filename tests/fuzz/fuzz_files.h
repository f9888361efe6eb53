// Fuzz support: the scratch game directory the targets write their input files into, small
// pictures for it, and large files patched in place and put back after each input.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace skerrow::fuzz {

// `<temp>/skerrow_fuzz_<name><pid>/` as an appPath (trailing separator), made once.
inline std::string ScratchAppPath(const std::string& name) {
  return test::ScratchDir("fuzz_" + name).string() + "/";
}

// Replaces the file at `path` (directories created) with `bytes`.
inline void WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// An uncompressed 24-bit bitmap of width x height whose pixel (x, y) has the colour
// pixel(x, y) (0xRRGGBB).
template <typename PixelFn>
std::vector<uint8_t> Bitmap24(int32_t width, int32_t height, PixelFn pixel) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> b(54 + imageSize, 0);
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  b[26] = 1;   // planes
  b[28] = 24;  // bits per pixel
  put32(34, imageSize);
  for (int32_t y = 0; y < height; ++y) {  // rows bottom-up
    uint8_t* row = &b[54 + stride * static_cast<uint32_t>(height - 1 - y)];
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = pixel(x, y);
      row[x * 3] = static_cast<uint8_t>(c);
      row[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return b;
}

// A file whose valid image is written once; an input overwrites byte ranges of it in place and
// Restore puts the image back (a 7 MB file is not rewritten for every input).
class PatchedFile {
 public:
  PatchedFile(const std::filesystem::path& path, std::span<const uint8_t> image)
      : image_(image.begin(), image.end()) {
    WriteWholeFile(path, image);
    fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  }
  size_t Size() const { return image_.size(); }
  // Overwrites n bytes at `offset` (clipped to the image).
  void Write(size_t offset, const uint8_t* bytes, size_t n) {
    if (offset >= image_.size()) return;
    n = std::min(n, image_.size() - offset);
    if (::pwrite(fd_, bytes, n, static_cast<off_t>(offset)) == static_cast<ssize_t>(n)) {
      touched_.push_back({offset, n});
    }
  }
  // The file's length becomes `size` (shorter or longer than the image) until Restore.
  void Resize(size_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) == 0) resized_ = true;
  }
  void Restore() {
    for (const auto& [offset, n] : touched_) {
      (void)!::pwrite(fd_, image_.data() + offset, n, static_cast<off_t>(offset));
    }
    touched_.clear();
    if (resized_) {
      (void)!::ftruncate(fd_, static_cast<off_t>(image_.size()));
      (void)!::pwrite(fd_, image_.data(), image_.size(), 0);
      resized_ = false;
    }
  }

 private:
  std::vector<uint8_t> image_;
  std::vector<std::pair<size_t, size_t>> touched_;
  bool resized_ = false;
  int fd_ = -1;
};

}  // namespace skerrow::fuzz
