// Minimal PNG reader with its own inflate (no zlib in the test build).
#include "support/png_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace skerrow::testsupport {

namespace {

struct Huffman {
  uint16_t count[16] = {};
  uint16_t symbol[320] = {};
};

class Inflater {
 public:
  Inflater(const uint8_t* in, size_t size) : in_(in), size_(size) {}

  bool Run(std::vector<uint8_t>& out) {
    int last = 0;
    do {
      last = Bits(1);
      const int type = Bits(2);
      bool ok = false;
      if (type == 0) ok = Stored(out);
      if (type == 1) ok = Fixed(out);
      if (type == 2) ok = Dynamic(out);
      if (!ok || failed_) return false;
    } while (!last);
    return true;
  }

 private:
  int Bits(int need) {
    uint32_t val = bitBuf_;
    while (bitCount_ < need) {
      if (pos_ >= size_) {
        failed_ = true;
        return 0;
      }
      val |= uint32_t{in_[pos_++]} << bitCount_;
      bitCount_ += 8;
    }
    bitBuf_ = val >> need;
    bitCount_ -= need;
    return static_cast<int>(val & ((1u << need) - 1));
  }

  bool Stored(std::vector<uint8_t>& out) {
    bitBuf_ = 0;
    bitCount_ = 0;
    if (size_ - pos_ < 4) return false;
    const unsigned len = in_[pos_] | (in_[pos_ + 1] << 8);
    pos_ += 4;
    if (size_ - pos_ < len) return false;
    out.insert(out.end(), in_ + pos_, in_ + pos_ + len);
    pos_ += len;
    return true;
  }

  static bool Build(Huffman& h, const uint8_t* lengths, int n) {
    std::memset(h.count, 0, sizeof h.count);
    for (int s = 0; s < n; ++s) h.count[lengths[s]]++;
    uint16_t offs[16] = {};
    for (int len = 1; len < 15; ++len) offs[len + 1] = offs[len] + h.count[len];
    for (int s = 0; s < n; ++s) {
      if (lengths[s]) h.symbol[offs[lengths[s]]++] = static_cast<uint16_t>(s);
    }
    return true;
  }

  int Decode(const Huffman& h) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len < 16; ++len) {
      code |= Bits(1);
      const int count = h.count[len];
      if (code - count < first) return h.symbol[index + (code - first)];
      index += count;
      first += count;
      first <<= 1;
      code <<= 1;
      if (failed_) return -1;
    }
    return -1;
  }

  bool Codes(std::vector<uint8_t>& out, const Huffman& lencode, const Huffman& distcode) {
    static const uint16_t kLenBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const uint8_t kLenExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static const uint16_t kDistBase[30] = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static const uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    for (;;) {
      int symbol = Decode(lencode);
      if (symbol < 0 || failed_) return false;
      if (symbol < 256) {
        out.push_back(static_cast<uint8_t>(symbol));
      } else if (symbol == 256) {
        return true;
      } else {
        symbol -= 257;
        if (symbol >= 29) return false;
        const size_t len = kLenBase[symbol] + Bits(kLenExtra[symbol]);
        const int d = Decode(distcode);
        if (d < 0 || d >= 30) return false;
        const size_t dist = kDistBase[d] + Bits(kDistExtra[d]);
        if (dist > out.size()) return false;
        for (size_t i = 0; i < len; ++i) out.push_back(out[out.size() - dist]);
      }
    }
  }

  bool Fixed(std::vector<uint8_t>& out) {
    uint8_t lengths[320];
    int s = 0;
    for (; s < 144; ++s) lengths[s] = 8;
    for (; s < 256; ++s) lengths[s] = 9;
    for (; s < 280; ++s) lengths[s] = 7;
    for (; s < 288; ++s) lengths[s] = 8;
    Huffman lencode, distcode;
    Build(lencode, lengths, 288);
    for (s = 0; s < 30; ++s) lengths[s] = 5;
    Build(distcode, lengths, 30);
    return Codes(out, lencode, distcode);
  }

  bool Dynamic(std::vector<uint8_t>& out) {
    static const uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                       11, 4,  12, 3, 13, 2, 14, 1, 15};
    const int nlen = Bits(5) + 257, ndist = Bits(5) + 1, ncode = Bits(4) + 4;
    if (nlen > 286 || ndist > 30) return false;
    uint8_t lengths[320] = {};
    for (int i = 0; i < ncode; ++i) lengths[kOrder[i]] = static_cast<uint8_t>(Bits(3));
    Huffman lencode, distcode;
    Build(lencode, lengths, 19);
    int index = 0;
    while (index < nlen + ndist) {
      int symbol = Decode(lencode);
      if (symbol < 0 || failed_) return false;
      if (symbol < 16) {
        lengths[index++] = static_cast<uint8_t>(symbol);
      } else {
        uint8_t len = 0;
        int repeat = 0;
        if (symbol == 16) {
          if (index == 0) return false;
          len = lengths[index - 1];
          repeat = 3 + Bits(2);
        } else if (symbol == 17) {
          repeat = 3 + Bits(3);
        } else {
          repeat = 11 + Bits(7);
        }
        if (index + repeat > nlen + ndist) return false;
        while (repeat--) lengths[index++] = len;
      }
    }
    Build(lencode, lengths, nlen);
    Build(distcode, lengths + nlen, ndist);
    return Codes(out, lencode, distcode);
  }

  const uint8_t* in_;
  size_t size_;
  size_t pos_ = 0;
  uint32_t bitBuf_ = 0;
  int bitCount_ = 0;
  bool failed_ = false;
};

uint32_t Be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

bool ReadPng(const std::string& fileName, PngImage& out) {
  std::ifstream f(fileName, std::ios::binary);
  if (!f) return false;
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(f)),
                                  std::istreambuf_iterator<char>());
  static const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return false;
  uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  std::vector<uint8_t> palette, idat;
  size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const uint32_t len = Be32(&file[pos]);
    if (len > file.size() - pos - 12) return false;
    const uint8_t* type = &file[pos + 4];
    const uint8_t* data = &file[pos + 8];
    if (std::memcmp(type, "IHDR", 4) == 0 && len >= 13) {
      width = Be32(data);
      height = Be32(data + 4);
      depth = data[8];
      colourType = data[9];
      interlace = data[12];
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      palette.assign(data, data + len);
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      idat.insert(idat.end(), data, data + len);
    }
    pos += 12 + len;
  }
  if (width == 0 || height == 0 || width > 16384 || height > 16384 || interlace != 0 ||
      idat.size() < 2)
    return false;
  int channels = 0;
  switch (colourType) {
    case 0:
      channels = 1;
      break;
    case 2:
      channels = 3;
      break;
    case 3:
      channels = 1;
      break;
    case 4:
      channels = 2;
      break;
    case 6:
      channels = 4;
      break;
    default:
      return false;
  }
  std::vector<uint8_t> raw;
  Inflater inflater(idat.data() + 2, idat.size() - 2);  // skip the zlib header
  if (!inflater.Run(raw)) return false;
  const size_t bitsPerPixel = static_cast<size_t>(channels) * depth;
  const size_t stride = (width * bitsPerPixel + 7) / 8;
  const size_t bpp = std::max<size_t>(1, bitsPerPixel / 8);
  if (raw.size() < (stride + 1) * height) return false;
  std::vector<uint8_t> pixels(stride * height);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t filter = raw[y * (stride + 1)];
    const uint8_t* src = &raw[y * (stride + 1) + 1];
    uint8_t* row = &pixels[y * stride];
    const uint8_t* prev = y ? &pixels[(y - 1) * stride] : nullptr;
    for (size_t i = 0; i < stride; ++i) {
      const int a = i >= bpp ? row[i - bpp] : 0;
      const int b = prev ? prev[i] : 0;
      const int c = prev && i >= bpp ? prev[i - bpp] : 0;
      int v = src[i];
      switch (filter) {
        case 0:
          break;
        case 1:
          v += a;
          break;
        case 2:
          v += b;
          break;
        case 3:
          v += (a + b) / 2;
          break;
        case 4:
          v += Paeth(a, b, c);
          break;
        default:
          return false;
      }
      row[i] = static_cast<uint8_t>(v);
    }
  }
  auto sample = [&](const uint8_t* row, size_t x, int ch) -> int {
    const size_t index = x * channels + ch;
    if (depth == 8) return row[index];
    if (depth == 16) return row[index * 2];
    const size_t bit = index * depth;
    const int v = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
    return colourType == 3 ? v : v * 255 / ((1 << depth) - 1);
  };
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.rgb.assign(size_t{width} * height * 3, 0);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = &pixels[y * stride];
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* dst = &out.rgb[(size_t{y} * width + x) * 3];
      if (colourType == 3) {
        const size_t i = static_cast<size_t>(sample(row, x, 0)) * 3;
        if (i + 2 < palette.size()) std::memcpy(dst, &palette[i], 3);
      } else if (channels <= 2) {
        dst[0] = dst[1] = dst[2] = static_cast<uint8_t>(sample(row, x, 0));
      } else {
        for (int c = 0; c < 3; ++c) dst[c] = static_cast<uint8_t>(sample(row, x, c));
      }
    }
  }
  return true;
}

}  // namespace skerrow::testsupport
