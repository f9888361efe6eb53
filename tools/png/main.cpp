// skerrow-png [--bits N] OUT.png IN.tga [IN.tga ...]: the pictures side by side, tops aligned on
// black, as one 8-bit RGB PNG (each row filtered the way that compresses best, zlib at its
// strongest). --bits 1..8 keeps the N high bits of each channel (rounded), which shrinks the
// noisy sea of a game frame to a third at 6 bits with no visible change.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/picture.h"

namespace {

using skerrow::TPixels;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  Put32(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  const uLong crc = crc32(0, png.data() + start, static_cast<uInt>(png.size() - start));
  Put32(png, static_cast<uint32_t>(crc));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// One row under PNG filter `type` (0 none, 1 sub, 2 up, 3 average, 4 Paeth); `prior` is the
// row above (zeros for the first).
std::vector<uint8_t> FilterRow(int type, const uint8_t* row, const uint8_t* prior, size_t n) {
  std::vector<uint8_t> out(n + 1);
  out[0] = static_cast<uint8_t>(type);
  for (size_t i = 0; i < n; ++i) {
    const int a = i >= 3 ? row[i - 3] : 0, b = prior[i], c = i >= 3 ? prior[i - 3] : 0;
    const int predicted = type == 1   ? a
                          : type == 2 ? b
                          : type == 3 ? (a + b) / 2
                          : type == 4 ? Paeth(a, b, c)
                                      : 0;
    out[i + 1] = static_cast<uint8_t>(row[i] - predicted);
  }
  return out;
}

// Sum of the filtered bytes as signed values: the usual guess of what compresses best.
long Cost(const std::vector<uint8_t>& filtered) {
  long sum = 0;
  for (size_t i = 1; i < filtered.size(); ++i) sum += std::abs(static_cast<int8_t>(filtered[i]));
  return sum;
}

// RGB rows top-down, width * 3 bytes each.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb) {
  const size_t stride = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> raw;
  const std::vector<uint8_t> zeros(stride, 0);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rgb.data() + stride * y;
    const uint8_t* prior = y > 0 ? row - stride : zeros.data();
    std::vector<uint8_t> best = FilterRow(0, row, prior, stride);
    for (int type = 1; type <= 4; ++type) {
      std::vector<uint8_t> f = FilterRow(type, row, prior, stride);
      if (Cost(f) < Cost(best)) best = std::move(f);
    }
    raw.insert(raw.end(), best.begin(), best.end());
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    return {};
  }
  packed.resize(packedSize);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(width));
  Put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive, no interlace
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", {});
  return png;
}

// `v` to the nearest value whose low 8 - bits bits are 0 (255 stays 255's nearest).
uint8_t Quantise(uint8_t v, int bits) {
  const int step = 1 << (8 - bits);
  const int q = std::min((v + step / 2) / step * step, 256 - step);
  return static_cast<uint8_t>(q);
}

}  // namespace

int main(int argc, char** argv) {
  int bits = 8;
  int first = 1;
  if (argc > 2 && std::string(argv[1]) == "--bits") {
    bits = std::atoi(argv[2]);
    first = 3;
  }
  if (argc < first + 2 || bits < 1 || bits > 8) {
    std::fprintf(stderr, "usage: skerrow-png [--bits 1..8] OUT.png IN.tga [IN.tga ...]\n");
    return 2;
  }
  const char* outName = argv[first];
  std::vector<TPixels> pictures;
  int width = 0, height = 0;
  for (int i = first + 1; i < argc; ++i) {
    TPixels p;
    skerrow::TPictureError error;
    if (!skerrow::LoadTgaFile(argv[i], p, &error)) {
      std::fprintf(stderr, "skerrow-png: %s: %s\n", argv[i], error.text.c_str());
      return 1;
    }
    width += p.width;
    height = std::max(height, p.height);
    pictures.push_back(std::move(p));
  }
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0);
  int left = 0;
  for (const TPixels& p : pictures) {
    for (int y = 0; y < p.height; ++y) {
      const uint8_t* src =
          p.data.data() + static_cast<size_t>(p.height - 1 - y) * p.width * p.channels;
      uint8_t* dst = rgb.data() + (static_cast<size_t>(y) * width + left) * 3;
      for (int x = 0; x < p.width; ++x) {
        for (int c = 0; c < 3; ++c) dst[x * 3 + c] = Quantise(src[x * p.channels + c], bits);
      }
    }
    left += p.width;
  }
  const std::vector<uint8_t> png = EncodePng(width, height, rgb);
  std::ofstream out(outName, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (png.empty() || !out) {
    std::fprintf(stderr, "skerrow-png: cannot write %s\n", outName);
    return 1;
  }
  return 0;
}
