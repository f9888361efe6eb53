// The desktop icon and the small PNG writer it is written with.
#include "icon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

namespace skerrow::content {
namespace {

constexpr int kSamples = 4;  // per pixel and axis: 16 samples smooth the edges

struct Rgba {
  float r, g, b, a;
};

// The colour of the icon at (x, y), both in 0..1 with y down; alpha 0 outside the disc.
Rgba IconAt(float x, float y) {
  const float dx = x - 0.5f, dy = y - 0.5f;
  const float radius = std::sqrt(dx * dx + dy * dy);
  if (radius > 0.48f) return {0, 0, 0, 0};
  if (radius > 0.45f) return {0.85f, 0.78f, 0.55f, 1};  // a brass rim
  // Hull: a trapezoid on the waterline, wider at the deck.
  const float deck = 0.62f, keel = 0.72f;
  if (y >= deck && y <= keel) {
    const float t = (y - deck) / (keel - deck);
    const float half = 0.30f - 0.10f * t;
    if (std::fabs(x - 0.5f) <= half) return {0.45f, 0.25f, 0.12f, 1};
  }
  // Mast and two sails.
  if (std::fabs(x - 0.5f) <= 0.015f && y >= 0.16f && y < deck) return {0.30f, 0.18f, 0.08f, 1};
  if (y >= 0.20f && y < 0.58f) {
    const float t = (y - 0.20f) / 0.38f;
    if (x > 0.515f && x < 0.515f + 0.26f * t) return {0.96f, 0.94f, 0.88f, 1};  // mainsail
    if (x < 0.485f && x > 0.485f - 0.18f * t && y > 0.30f) return {0.90f, 0.88f, 0.80f, 1};
  }
  // Sky above the horizon, a darker sea with crests below.
  if (y < 0.64f) return {0.45f + 0.4f * y, 0.65f + 0.3f * y, 0.92f, 1};
  const float crest = std::sin(x * 40.0f + y * 12.0f) * 0.5f + 0.5f;
  return {0.05f, 0.22f + 0.10f * crest, 0.45f + 0.12f * crest, 1};
}

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (uint8_t b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// One chunk: length, type, data, CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], std::span<const uint8_t> data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(std::span<const uint8_t>(out).subspan(typeAt)));
}

// A zlib stream of stored deflate blocks (each at most 65,535 bytes).
std::vector<uint8_t> StoredZlib(std::span<const uint8_t> raw) {
  std::vector<uint8_t> z = {0x78, 0x01};  // deflate, 32 KB window, no dictionary
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(raw.size() - at, 65535);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;  // Adler-32 of the raw bytes
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(z, (b << 16) | a);
  return z;
}

}  // namespace

std::vector<uint8_t> DrawIcon(int size) {
  std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      Rgba sum{0, 0, 0, 0};
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Rgba c =
              IconAt((px + (sx + 0.5f) / kSamples) / size, (py + (sy + 0.5f) / kSamples) / size);
          // Colours weighted by coverage, so the edge does not darken toward black.
          sum.r += c.r * c.a;
          sum.g += c.g * c.a;
          sum.b += c.b * c.a;
          sum.a += c.a;
        }
      }
      uint8_t* p = &rgba[(static_cast<size_t>(py) * size + px) * 4];
      const float cover = sum.a > 0 ? sum.a : 1;
      p[0] = static_cast<uint8_t>(std::lround(255 * sum.r / cover));
      p[1] = static_cast<uint8_t>(std::lround(255 * sum.g / cover));
      p[2] = static_cast<uint8_t>(std::lround(255 * sum.b / cover));
      p[3] = static_cast<uint8_t>(std::lround(255 * sum.a / (kSamples * kSamples)));
    }
  }
  return rgba;
}

std::vector<uint8_t> EncodePngRgba(int width, int height, std::span<const uint8_t> rgba) {
  const size_t row = static_cast<size_t>(width) * 4;
  if (width <= 0 || height <= 0 || rgba.size() != row * height) {
    throw std::runtime_error("EncodePngRgba: the pixels do not match the size");
  }
  std::vector<uint8_t> raw;
  raw.reserve((row + 1) * height);
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), rgba.begin() + y * row, rgba.begin() + (y + 1) * row);
  }
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBe32(header, static_cast<uint32_t>(width));
  PutBe32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // depth 8, RGBA, deflate, filter 0, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", {});
  return png;
}

void GenerateIcons(const std::filesystem::path& dir) {
  for (const int size : kIconSizes) {
    const std::string n = std::to_string(size);
    const std::filesystem::path folder = dir / (n + "x" + n) / "apps";
    std::filesystem::create_directories(folder);
    const std::vector<uint8_t> png = EncodePngRgba(size, size, DrawIcon(size));
    std::ofstream out(folder / "skerrow.png", std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / "skerrow.png").string());
  }
}

}  // namespace skerrow::content
