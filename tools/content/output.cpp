// The gdata tree writer and the 24-bit BMP encoder shared by every content generator.
#include <fstream>
#include <stdexcept>
#include <utility>

#include "content.h"

namespace skerrow::content {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

}  // namespace

Output::Output(std::filesystem::path root) : root_(std::move(root)) {}

void Output::Write(const std::string& rel, std::span<const uint8_t> bytes) {
  // Paths are written as UTF-8 (Cyrillic episode names); u8path keeps them byte-exact.
  std::filesystem::path path = root_ / std::filesystem::path(std::u8string(rel.begin(), rel.end()));
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) throw std::runtime_error("cannot create directory " + path.parent_path().string());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw std::runtime_error("cannot write " + path.string());
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path.string());
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    written_.push_back(rel);
  }
  if (watcher_) watcher_(rel);
}

void Output::SetWriteWatcher(std::function<void(const std::string& rel)> watcher) {
  watcher_ = std::move(watcher);
}

std::vector<std::string> Output::Written() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return written_;
}

void Output::WriteBmp(const std::string& rel, const Image& image) {
  std::vector<uint8_t> bytes = EncodeBmp24(image);
  Write(rel, bytes);
}

void Output::WriteAlphaBmp(const std::string& rel, int width, int height,
                           std::span<const uint8_t> alpha) {
  if (width <= 0 || height <= 0 || alpha.size() != static_cast<size_t>(width) * height)
    throw std::runtime_error("alpha picture size mismatch for " + rel);
  Image image(width, height);
  for (size_t i = 0; i < alpha.size(); ++i) {
    image.rgb[i * 3 + 0] = alpha[i];
    image.rgb[i * 3 + 1] = alpha[i];
    image.rgb[i * 3 + 2] = alpha[i];
  }
  WriteBmp(rel, image);
}

std::vector<uint8_t> EncodeBmp24(const Image& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3)
    throw std::runtime_error("invalid image");
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> b;
  b.reserve(54 + dataBytes);
  // BITMAPFILEHEADER (14 bytes)
  Put16(b, 0x4D42);  // "BM"
  Put32(b, 54 + dataBytes);
  Put32(b, 0);   // reserved
  Put32(b, 54);  // offset of the pixel data
  // BITMAPINFOHEADER (40 bytes)
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(image.width));
  Put32(b, static_cast<uint32_t>(image.height));  // positive: rows bottom-up
  Put16(b, 1);                                    // planes
  Put16(b, 24);                                   // bits per pixel
  Put32(b, 0);                                    // BI_RGB
  Put32(b, dataBytes);
  Put32(b, 2835);  // 72 dpi
  Put32(b, 2835);
  Put32(b, 0);  // palette colours
  Put32(b, 0);  // important colours
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = image.At(0, y);
    for (int x = 0; x < image.width; ++x) {
      b.push_back(row[x * 3 + 2]);  // stored B, G, R
      b.push_back(row[x * 3 + 1]);
      b.push_back(row[x * 3 + 0]);
    }
    for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowBytes; ++pad)
      b.push_back(0);
  }
  return b;
}

}  // namespace skerrow::content
