// Picture decoding for the texture loaders: BMP/QVT through SDL's bitmap decoder, the direct
// 24-bit reader, JPEG through libjpeg, uncompressed TGA. No GL here.
#include "engine/picture.h"

#include <SDL.h>
#include <jpeglib.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <utility>

#include "engine/byte_reader.h"
#include "platform/file_read.h"

namespace skerrow {

namespace {

void Fail(TPictureError* error, const std::string& caption, const std::string& text) {
  if (error) *error = TPictureError{caption, text};
}

// The side limit of the role being loaded on this thread (ScopedPictureLimit).
thread_local int32_t g_roleSide = kMaxPictureSide;

// Width and height both in 1..kMaxPictureSide (or the role's smaller limit), at most
// kMaxPicturePixels pixels; the byte count then fits easily in 64 bits. Checked on the
// header's sizes, before anything is allocated for the pixels.
bool SizeOk(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= g_roleSide && height <= g_roleSide &&
         width * height <= kMaxPicturePixels;
}

size_t ByteCount(int64_t width, int64_t height, int64_t channels) {
  return static_cast<size_t>(width * height * channels);
}

// Pixel (x, y) counted from the top-left of a bottom-up picture.
const uint8_t* PixelAt(const TPixels& p, int32_t x, int32_t y) {
  const size_t row = static_cast<size_t>(p.height - 1 - y);
  return p.data.data() + (row * static_cast<size_t>(p.width) + static_cast<size_t>(x)) *
                             static_cast<size_t>(p.channels);
}

// The bits of v under `mask`, packed into the low bits in order (for masks with holes).
uint32_t GatherMaskBits(uint32_t v, uint32_t mask) {
  uint32_t out = 0;
  for (int k = 0; mask != 0; mask &= mask - 1, ++k) {
    if (v & mask & (~mask + 1)) out |= 1u << k;
  }
  return out;
}

// Uncompressed 16- and 32-bit bitmaps with any channel masks (BI_RGB, BI_BITFIELDS,
// BI_ALPHABITFIELDS): SDL refuses masks that match none of its pixel formats, so these are
// decoded here. Each channel is scaled from its mask width to 8 bits.
bool DecodeMaskedBitmap(std::span<const uint8_t> bytes, TPixels& out) {
  ByteReader r(bytes.data(), bytes.size());
  r.Skip(10);  // magic, file size, reserved words
  const uint32_t pixelOffset = r.U32();
  const uint32_t headerSize = r.U32();
  const int32_t width = r.I32();
  int32_t height = r.I32();
  r.Skip(2);  // planes
  const uint16_t bits = r.U16();
  const uint32_t compression = r.U32();
  if (!r.Ok() || headerSize < 40 || (bits != 16 && bits != 32)) return false;
  if (compression != 0 && compression != 3 && compression != 6) return false;
  const bool topDown = height < 0;
  if (height == INT32_MIN) return false;
  if (topDown) height = -height;
  if (!SizeOk(width, height)) return false;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bits == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (compression != 0) {
    // Masks sit at offset 54 (inside a V2+ header or right after a 40-byte one).
    r.Seek(54);
    for (uint32_t& m : masks) m = r.U32();
    if (!r.Ok()) return false;
  }
  int shift[3], widthBits[3];
  bool contiguous[3];
  for (int c = 0; c < 3; ++c) {
    if (masks[c] == 0) {
      shift[c] = 0;
      widthBits[c] = 0;
      contiguous[c] = true;
      continue;
    }
    shift[c] = std::countr_zero(masks[c]);
    widthBits[c] = std::popcount(masks[c]);
    const uint32_t run = masks[c] >> shift[c];
    contiguous[c] = (run & (run + 1)) == 0;
  }
  const size_t bpp = bits / 8;
  const size_t stride = (static_cast<size_t>(width) * bpp + 3) / 4 * 4;
  if (pixelOffset > bytes.size() ||
      (bytes.size() - pixelOffset) / stride < static_cast<size_t>(height))
    return false;
  out.width = width;
  out.height = height;
  out.channels = 3;
  out.data.resize(ByteCount(width, height, 3));
  for (int32_t k = 0; k < height; ++k) {
    // Stored rows are bottom-up unless the height was negative.
    const int32_t stored = topDown ? height - 1 - k : k;
    const uint8_t* src = bytes.data() + pixelOffset + static_cast<size_t>(stored) * stride;
    uint8_t* dst = out.data.data() + static_cast<size_t>(k) * width * 3;
    for (int32_t x = 0; x < width; ++x) {
      uint32_t v = 0;
      std::memcpy(&v, src + static_cast<size_t>(x) * bpp, bpp);
      for (int c = 0; c < 3; ++c) {
        // A mask with holes has its bits packed together, so value stays below 2^widthBits.
        const uint64_t value =
            contiguous[c] ? (v & masks[c]) >> shift[c] : GatherMaskBits(v, masks[c]);
        const int w = widthBits[c];
        uint8_t channel = 0;
        if (w >= 8) {
          channel = static_cast<uint8_t>(value >> (w - 8));
        } else if (w > 0) {
          const uint64_t max = (uint64_t{1} << w) - 1;
          channel = static_cast<uint8_t>((value * 255 + max / 2) / max);
        }
        *dst++ = channel;
      }
    }
  }
  return true;
}

}  // namespace

ScopedPictureLimit::ScopedPictureLimit(int32_t side) : previous_(g_roleSide) {
  g_roleSide = std::min(previous_, std::max(side, 1));
}

ScopedPictureLimit::~ScopedPictureLimit() {
  g_roleSide = previous_;
}

bool ReadFileBytes(const std::string& fileName, std::vector<uint8_t>& bytes, size_t maxBytes) {
  return platform::ReadRegularFile(fileName, maxBytes, bytes) == platform::FileRead::kOk;
}

// ---- platform bitmap decoder ----

namespace {

// The size fields of a bitmap's headers: the 14-byte file header, then the info header's size
// and the picture's width and height (16-bit in the OS/2 core header of size 12), planes and
// bits per pixel. `hasBits` is false when the bytes end before the bit count.
struct BitmapHeader {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top-down
  uint16_t bits = 0;
  bool hasBits = false;
};

// False when the bytes end before the sizes or the magic is not "BM".
bool ParseBitmapHeader(std::span<const uint8_t> bytes, BitmapHeader& h) {
  ByteReader r(bytes.data(), bytes.size());
  const uint16_t magic = r.U16();
  r.Skip(12);  // file size, two reserved words, pixel offset
  const uint32_t headerSize = r.U32();
  if (headerSize == 12) {
    h.width = r.U16();
    h.height = r.U16();
  } else {
    h.width = r.I32();
    h.height = r.I32();
  }
  if (!r.Ok() || magic != 0x4D42) return false;
  r.Skip(2);  // planes
  h.bits = r.U16();
  h.hasBits = r.Ok();
  return true;
}

}  // namespace

bool DecodeBitmap(std::span<const uint8_t> bytes, TPixels& out, TPictureError* error) {
  out = TPixels{};
  // SDL sizes its surface straight from the header: check the size fields first.
  BitmapHeader header;
  if (!ParseBitmapHeader(bytes, header) || !header.hasBits) {
    Fail(error, "BMP Unit", "Error reading file header");
    return false;
  }
  const int64_t width = header.width;
  const int64_t height = header.height < 0 ? -header.height : header.height;
  const uint16_t bits = header.bits;
  // The decoder's surface (at least a byte per pixel), its RGB copy and the output.
  const int64_t surfaceBytes = std::max<int64_t>(1, (int64_t{bits} + 7) / 8);
  if (!SizeOk(width, height) || width * height * (surfaceBytes + 3 + 3) > kMaxDecodeBytes) {
    Fail(error, "BMP Unit", "Error reading info header");
    return false;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw) {
    Fail(error, "BMP Unit", "Error reading bitmap data");
    return false;
  }
  SDL_Surface* surface = SDL_LoadBMP_RW(rw, 1);
  if (!surface && DecodeMaskedBitmap(bytes, out)) return true;
  if (!surface) {
    Fail(error, "BMP Unit", std::string("Error reading bitmap data: ") + SDL_GetError());
    return false;
  }
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(surface);
  if (!rgb || !SizeOk(rgb->w, rgb->h)) {
    if (rgb) SDL_FreeSurface(rgb);
    Fail(error, "BMP Unit", "Error reading bitmap data");
    return false;
  }
  out.width = rgb->w;
  out.height = rgb->h;
  out.channels = 3;
  out.data.resize(ByteCount(out.width, out.height, 3));
  if (SDL_MUSTLOCK(rgb)) SDL_LockSurface(rgb);
  const size_t rowBytes = static_cast<size_t>(out.width) * 3;
  for (int32_t k = 0; k < out.height; ++k) {
    // Surfaces are top-down; output row k is picture row height - 1 - k.
    const auto* src = static_cast<const uint8_t*>(rgb->pixels) +
                      static_cast<size_t>(out.height - 1 - k) * static_cast<size_t>(rgb->pitch);
    std::memcpy(out.data.data() + static_cast<size_t>(k) * rowBytes, src, rowBytes);
  }
  if (SDL_MUSTLOCK(rgb)) SDL_UnlockSurface(rgb);
  SDL_FreeSurface(rgb);
  return true;
}

bool LoadBitmapFile(const std::string& fileName, TPixels& out, TPictureError* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(fileName, bytes)) {
    out = TPixels{};
    Fail(error, "BMP Unit", "Error opening \"" + fileName);
    return false;
  }
  return DecodeBitmap(bytes, out, error);
}

bool ReadBitmapSize(std::span<const uint8_t> bytes, int32_t& width, int32_t& height) {
  BitmapHeader header;
  if (!ParseBitmapHeader(bytes, header)) return false;
  width = static_cast<int32_t>(header.width);  // read as 16 or 32 bits: fits
  height = static_cast<int32_t>(header.height);
  return true;
}

bool ReadBitmapFileSize(const std::string& fileName, int32_t& width, int32_t& height) {
  uint8_t head[26] = {};
  size_t got = 0;
  if (platform::ReadRegularFilePrefix(fileName, head, got) != platform::FileRead::kOk) return false;
  return ReadBitmapSize({head, got}, width, height);
}

TPixels HalvePixels(const TPixels& in) {
  TPixels out;
  out.width = in.width / 2;
  out.height = in.height / 2;
  out.channels = in.channels;
  if (out.width <= 0 || out.height <= 0 ||
      in.data.size() < ByteCount(in.width, in.height, in.channels)) {
    out.width = out.height = 0;
    return out;
  }
  out.data.resize(ByteCount(out.width, out.height, out.channels));
  // Output row n (top-down) averages picture rows 2n and 2n + 1; output goes bottom-up.
  for (int32_t n = 0; n < out.height; ++n) {
    uint8_t* dst = out.data.data() + static_cast<size_t>(out.height - 1 - n) *
                                         static_cast<size_t>(out.width) * out.channels;
    for (int32_t i = 0; i < out.width; ++i) {
      const uint8_t* p00 = PixelAt(in, 2 * i, 2 * n);
      const uint8_t* p10 = PixelAt(in, 2 * i + 1, 2 * n);
      const uint8_t* p01 = PixelAt(in, 2 * i, 2 * n + 1);
      const uint8_t* p11 = PixelAt(in, 2 * i + 1, 2 * n + 1);
      for (int32_t c = 0; c < in.channels; ++c) {
        *dst++ = static_cast<uint8_t>((p00[c] + p10[c] + p01[c] + p11[c]) / 4);
      }
    }
  }
  return out;
}

TPixels MergeAlpha(const TPixels& colour, const TPixels& alpha, bool fullQuality) {
  TPixels out;
  if (colour.width <= 0 || colour.height <= 0 || colour.channels < 3 ||
      colour.data.size() < ByteCount(colour.width, colour.height, colour.channels))
    return out;
  const bool alphaOk = alpha.channels >= 1 && alpha.width > 0 && alpha.height > 0 &&
                       alpha.data.size() >= ByteCount(alpha.width, alpha.height, alpha.channels);
  auto alphaAt = [&](int32_t x, int32_t y) -> uint32_t {
    if (!alphaOk || x >= alpha.width || y >= alpha.height) return 255;
    return PixelAt(alpha, x, y)[0];
  };
  out.channels = 4;
  if (fullQuality) {
    out.width = colour.width;
    out.height = colour.height;
    out.data.resize(ByteCount(out.width, out.height, 4));
    uint8_t* dst = out.data.data();
    for (int32_t n = out.height - 1; n >= 0; --n) {
      for (int32_t i = 0; i < out.width; ++i) {
        const uint8_t* p = PixelAt(colour, i, n);
        *dst++ = p[0];
        *dst++ = p[1];
        *dst++ = p[2];
        *dst++ = static_cast<uint8_t>(alphaAt(i, n));
      }
    }
    return out;
  }
  out.width = colour.width / 2;
  out.height = colour.height / 2;
  if (out.width <= 0 || out.height <= 0) {
    out.width = out.height = 0;
    return out;
  }
  out.data.resize(ByteCount(out.width, out.height, 4));
  for (int32_t n = 0; n < out.height; ++n) {
    uint8_t* dst = out.data.data() +
                   static_cast<size_t>(out.height - 1 - n) * static_cast<size_t>(out.width) * 4;
    for (int32_t i = 0; i < out.width; ++i) {
      const uint8_t* q[4] = {PixelAt(colour, 2 * i, 2 * n), PixelAt(colour, 2 * i + 1, 2 * n),
                             PixelAt(colour, 2 * i, 2 * n + 1),
                             PixelAt(colour, 2 * i + 1, 2 * n + 1)};
      for (int c = 0; c < 3; ++c) {
        *dst++ = static_cast<uint8_t>((q[0][c] + q[1][c] + q[2][c] + q[3][c]) / 4);
      }
      *dst++ = static_cast<uint8_t>((alphaAt(2 * i, 2 * n) + alphaAt(2 * i + 1, 2 * n) +
                                     alphaAt(2 * i, 2 * n + 1) + alphaAt(2 * i + 1, 2 * n + 1)) /
                                    4);
    }
  }
  return out;
}

// ---- direct 24-bit reader ----

bool DecodeBmp24(std::span<const uint8_t> bytes, TPixels& out, TPictureError* error) {
  out = TPixels{};
  ByteReader r(bytes.data(), bytes.size());
  // BITMAPFILEHEADER, 14 bytes.
  const uint16_t magic = r.U16();
  r.Skip(4);  // file size
  r.Skip(4);  // two reserved words
  const uint32_t pixelOffset = r.U32();
  if (!r.Ok() || magic != 0x4D42) {
    Fail(error, "BMP Unit", "Error reading file header");
    return false;
  }
  // BITMAPINFOHEADER, 40 bytes.
  const uint32_t infoSize = r.U32();
  const int32_t width = r.I32();
  const int32_t height = r.I32();
  r.Skip(2);  // planes
  const uint16_t bitCount = r.U16();
  const uint32_t compression = r.U32();
  const uint32_t sizeImage = r.U32();
  r.Skip(16);  // resolution, colours used, colours important
  if (!r.Ok() || infoSize != 40 || bitCount != 24 || compression != 0 || !SizeOk(width, height) ||
      (int64_t{width} * 3) % 4 != 0) {
    Fail(error, "BMP Unit", "Error reading info header");
    return false;
  }
  if (pixelOffset != 54) {
    Fail(error, "BMP Unit", "Error reading palette");
    return false;
  }
  const size_t need = ByteCount(width, height, 3);
  const size_t size = sizeImage ? sizeImage : need;
  // Fewer bytes than width * height pixels cannot be swapped in place: refused as short data.
  if (size < need || r.Remaining() < need) {
    Fail(error, "BMP Unit", "Error reading bitmap data");
    return false;
  }
  out.width = width;
  out.height = height;
  out.channels = 3;
  out.data.assign(bytes.begin() + 54, bytes.begin() + 54 + static_cast<std::ptrdiff_t>(need));
  for (size_t p = 0; p < need; p += 3) std::swap(out.data[p], out.data[p + 2]);
  return true;
}

bool LoadBmp24File(const std::string& fileName, TPixels& out, TPictureError* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(fileName, bytes)) {
    out = TPixels{};
    Fail(error, "BMP Unit", "Error opening \"" + fileName);
    return false;
  }
  return DecodeBmp24(bytes, out, error);
}

// ---- JPEG ----

namespace {

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void JpegQuiet(j_common_ptr) {}

// Everything that must survive the longjmp lives outside the function that calls setjmp.
struct JpegState {
  jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  std::vector<uint8_t> row;
};

bool RunJpeg(JpegState& s, std::span<const uint8_t> bytes, TPixels& out, int64_t maxPixels) {
  if (setjmp(s.err.jump)) {
    jpeg_destroy_decompress(&s.cinfo);
    return false;
  }
  jpeg_create_decompress(&s.cinfo);
  jpeg_mem_src(&s.cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&s.cinfo, TRUE);
  const int64_t w = s.cinfo.image_width;
  const int64_t h = s.cinfo.image_height;
  const int64_t outputBytes = w * h * 4;
  if (!SizeOk(w, h) || w * h > maxPixels || outputBytes >= kMaxDecodeBytes) {
    jpeg_destroy_decompress(&s.cinfo);
    return false;
  }
  // What libjpeg may take besides the output: a progressive picture whose coefficients need
  // more fails in jpeg_start_decompress (there is no backing store to spill to).
  s.cinfo.mem->max_memory_to_use = static_cast<long>(kMaxDecodeBytes - outputBytes);
  const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
  s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&s.cinfo);
  const int comps = s.cinfo.output_components;
  if (s.cinfo.output_width != w || s.cinfo.output_height != h || (comps != 3 && comps != 4)) {
    jpeg_destroy_decompress(&s.cinfo);
    return false;
  }
  out.width = static_cast<int32_t>(w);
  out.height = static_cast<int32_t>(h);
  out.channels = 4;
  out.data.assign(ByteCount(w, h, 4), 0);
  s.row.resize(static_cast<size_t>(w) * static_cast<size_t>(comps));
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    const int64_t y = s.cinfo.output_scanline;
    JSAMPROW rows[1] = {s.row.data()};
    if (jpeg_read_scanlines(&s.cinfo, rows, 1) != 1) break;
    // Output row k = picture row height - 1 - k.
    uint8_t* dst = out.data.data() + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(w) * 4;
    for (int64_t x = 0; x < w; ++x) {
      const uint8_t* p = s.row.data() + x * comps;
      if (cmyk) {
        // Adobe CMYK as libjpeg hands it out (inverted): channel = value * K / 255.
        dst[0] = static_cast<uint8_t>(p[0] * p[3] / 255);
        dst[1] = static_cast<uint8_t>(p[1] * p[3] / 255);
        dst[2] = static_cast<uint8_t>(p[2] * p[3] / 255);
      } else {
        dst[0] = p[0];
        dst[1] = p[1];
        dst[2] = p[2];
      }
      dst[3] = 255;
      dst += 4;
    }
  }
  jpeg_finish_decompress(&s.cinfo);
  jpeg_destroy_decompress(&s.cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
                TPictureError* error, int64_t maxPixels) {
  out = TPixels{};
  auto state = std::make_unique<JpegState>();
  std::memset(&state->cinfo, 0, sizeof state->cinfo);
  state->cinfo.err = jpeg_std_error(&state->err.base);
  state->err.base.error_exit = JpegErrorExit;
  state->err.base.output_message = JpegQuiet;
  if (bytes.empty() || !RunJpeg(*state, bytes, out, maxPixels)) {
    out = TPixels{};
    Fail(error, "BMP Unit", "Couldn't load JPG - \"" + fileName + "\"");
    return false;
  }
  return true;
}

bool LoadJpegFile(const std::string& fileName, TPixels& out, TPictureError* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(fileName, bytes)) {
    out = TPixels{};
    Fail(error, "BMP Unit", "Couldn't load JPG - \"" + fileName + "\"");
    return false;
  }
  return DecodeJpeg(bytes, fileName, out, error);
}

// ---- TGA ----

namespace {

// Header fields of an uncompressed true-colour TGA; false (with the message) when refused.
bool ReadTgaHeader(std::span<const uint8_t> bytes, const std::string& fileName, int32_t& width,
                   int32_t& height, int32_t& bytesPerPixel, bool& topDown, size_t& dataStart,
                   TPictureError* error) {
  ByteReader r(bytes.data(), bytes.size());
  const uint8_t idLength = r.U8();
  const uint8_t colourMapType = r.U8();
  const uint8_t imageType = r.U8();
  r.Skip(9);  // colour-map start, length and entry size (5), x and y origin (4)
  width = r.U16();
  height = r.U16();
  const uint8_t bits = r.U8();
  const uint8_t descriptor = r.U8();
  if (!r.Ok()) {
    Fail(error, "TGA File Error", "Couldn't read file \"" + fileName + "\".");
    return false;
  }
  const std::string head = "Couldn't load \"" + fileName;
  if (imageType != 2) {
    Fail(error, "TGA File Error", head + "\". Compressed TGA files not supported.");
    return false;
  }
  if (colourMapType != 0) {
    Fail(error, "TGA File Error", head + "\". Colormapped TGA files not supported.");
    return false;
  }
  if (bits != 24 && bits != 32) {
    Fail(error, "TGA File Error", head + "\". Only 24 bit TGA files supported.");
    return false;
  }
  bytesPerPixel = bits / 8;
  topDown = (descriptor & 0x20) != 0;
  dataStart = 18 + size_t{idLength};  // an image-ID field is skipped, not read as pixels
  if (!SizeOk(width, height) || bytes.size() < dataStart ||
      bytes.size() - dataStart < ByteCount(width, height, bytesPerPixel)) {
    Fail(error, "TGA File Error", "Couldn't read file \"" + fileName + "\".");
    return false;
  }
  return true;
}

// Copies rows into bottom-up order; bgra selects the texture class's B, G, R, A output.
bool DecodeTgaAs(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
                 TPictureError* error, bool bgra) {
  out = TPixels{};
  int32_t width = 0, height = 0, bpp = 0;
  bool topDown = false;
  size_t start = 0;
  if (!ReadTgaHeader(bytes, fileName, width, height, bpp, topDown, start, error)) return false;
  out.width = width;
  out.height = height;
  out.channels = bgra ? 4 : bpp;
  out.data.resize(ByteCount(width, height, out.channels));
  for (int32_t k = 0; k < height; ++k) {
    const int32_t srcRow = topDown ? height - 1 - k : k;
    const uint8_t* src = bytes.data() + start + static_cast<size_t>(srcRow) * width * bpp;
    uint8_t* dst = out.data.data() + static_cast<size_t>(k) * width * out.channels;
    for (int32_t x = 0; x < width; ++x, src += bpp, dst += out.channels) {
      if (bgra) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = bpp == 4 ? src[3] : 255;
      } else {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        if (bpp == 4) dst[3] = src[3];
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeTga(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
               TPictureError* error) {
  return DecodeTgaAs(bytes, fileName, out, error, false);
}

bool LoadTgaBgra(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
                 TPictureError* error) {
  return DecodeTgaAs(bytes, fileName, out, error, true);
}

bool LoadTgaFile(const std::string& fileName, TPixels& out, TPictureError* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(fileName, bytes)) {
    out = TPixels{};
    Fail(error, "TGA Texture", "File not found  - " + fileName);
    return false;
  }
  return DecodeTga(bytes, fileName, out, error);
}

std::vector<uint8_t> EncodeTga(const TPixels& p) {
  std::vector<uint8_t> bytes(18, 0);
  if (p.width <= 0 || p.height <= 0 || (p.channels != 3 && p.channels != 4) || p.width > 65535 ||
      p.height > 65535 || p.data.size() < ByteCount(p.width, p.height, p.channels))
    return {};
  bytes[2] = 2;
  bytes[12] = static_cast<uint8_t>(p.width & 0xFF);
  bytes[13] = static_cast<uint8_t>(p.width >> 8);
  bytes[14] = static_cast<uint8_t>(p.height & 0xFF);
  bytes[15] = static_cast<uint8_t>(p.height >> 8);
  bytes[16] = static_cast<uint8_t>(p.channels * 8);
  bytes[17] = p.channels == 4 ? 8 : 0;  // alpha bits; origin bottom-left
  const size_t n = ByteCount(p.width, p.height, p.channels);
  bytes.reserve(18 + n);
  for (size_t i = 0; i < n; i += p.channels) {
    bytes.push_back(p.data[i + 2]);
    bytes.push_back(p.data[i + 1]);
    bytes.push_back(p.data[i]);
    if (p.channels == 4) bytes.push_back(p.data[i + 3]);
  }
  return bytes;
}

namespace {

// Writes encoded picture bytes; false for an empty encoding (the picture was refused) or a
// failed write.
bool WriteEncoded(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return false;
  std::ofstream out(fileName, std::ios::binary);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool WriteTga(const std::string& fileName, const TPixels& pixels) {
  return WriteEncoded(fileName, EncodeTga(pixels));
}

std::vector<uint8_t> EncodeBmp24(const TPixels& p) {
  if (p.width <= 0 || p.height <= 0 || p.channels != 3 || p.width > 65535 || p.height > 65535 ||
      p.data.size() < ByteCount(p.width, p.height, 3))
    return {};
  const size_t row = static_cast<size_t>(p.width) * 3;
  const size_t stride = (row + 3) & ~size_t{3};  // rows padded to four bytes
  const size_t imageSize = stride * static_cast<size_t>(p.height);
  std::vector<uint8_t> bytes(54 + imageSize, 0);
  auto put = [&bytes](size_t at, uint32_t v, int n) {
    for (int k = 0; k < n; ++k) bytes[at + k] = static_cast<uint8_t>((v >> (8 * k)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, static_cast<uint32_t>(54 + imageSize), 4);
  put(10, 54, 4);  // pixel data offset
  put(14, 40, 4);  // BITMAPINFOHEADER
  put(18, static_cast<uint32_t>(p.width), 4);
  put(22, static_cast<uint32_t>(p.height), 4);  // positive: bottom row first
  put(26, 1, 2);                                // planes
  put(28, 24, 2);                               // bits per pixel
  put(34, static_cast<uint32_t>(imageSize), 4);
  for (int32_t y = 0; y < p.height; ++y) {
    const uint8_t* src = p.data.data() + row * static_cast<size_t>(y);
    uint8_t* dst = bytes.data() + 54 + stride * static_cast<size_t>(y);
    for (size_t x = 0; x < row; x += 3) {
      dst[x] = src[x + 2];
      dst[x + 1] = src[x + 1];
      dst[x + 2] = src[x];
    }
  }
  return bytes;
}

bool WriteBmp24(const std::string& fileName, const TPixels& pixels) {
  return WriteEncoded(fileName, EncodeBmp24(pixels));
}

TPixels PixelsFromBgr(int32_t width, int32_t height, const std::vector<uint8_t>& bgr) {
  TPixels p;
  if (width <= 0 || height <= 0 || bgr.size() < ByteCount(width, height, 3)) return p;
  p.width = width;
  p.height = height;
  p.channels = 3;
  p.data.assign(bgr.begin(),
                bgr.begin() + static_cast<std::ptrdiff_t>(ByteCount(width, height, 3)));
  for (size_t i = 0; i + 2 < p.data.size(); i += 3) std::swap(p.data[i], p.data[i + 2]);
  return p;
}

}  // namespace skerrow
