// Picture decoding for the texture loaders, without GL: files to RGB / RGBA / BGRA pixel
// rows in the order they go to GL (first row = bottom row of the picture). Every decoder
// checks its input and refuses it with the loader's own message; none ever exits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skerrow {

// Largest picture any decoder accepts: width and height each, and the pixel count. A
// run-length or JPEG file of a few bytes may declare any size; the game's own pictures are at
// most 2048 on a side.
inline constexpr int32_t kMaxPictureSide = 4096;
inline constexpr int64_t kMaxPicturePixels = int64_t{kMaxPictureSide} * kMaxPictureSide;
// Memory one decode may take, the decoder's own buffers and the output together (a
// progressive JPEG keeps every coefficient of the picture; the bitmap decoder holds the file's
// pixels, their RGB conversion and the output). A picture that would need more is refused.
inline constexpr int64_t kMaxDecodeBytes = int64_t{128} << 20;

// Budgets of pictures by their role: the game's own interface pictures and fonts are at most
// 512 on a side, a slot thumbnail 256 x 128.
inline constexpr int32_t kMaxInterfacePictureSide = 2048;
inline constexpr int32_t kMaxThumbnailSide = 256;

// While it lives, every picture decoded on this thread larger than `side` on a side is refused
// from its header with its loader's message (a 1 KB run-length file may declare 4096 x 4096, and
// its texture then take half a gigabyte). Nested limits keep the smaller.
class ScopedPictureLimit {
 public:
  explicit ScopedPictureLimit(int32_t side);
  ~ScopedPictureLimit();
  ScopedPictureLimit(const ScopedPictureLimit&) = delete;
  ScopedPictureLimit& operator=(const ScopedPictureLimit&) = delete;

 private:
  int32_t previous_;
};

// Decoded pixels, rows bottom-up, no padding: data.size() == width * height * channels.
struct TPixels {
  int32_t width = 0;
  int32_t height = 0;
  int32_t channels = 0;  // 3 RGB, 4 RGBA (or B, G, R, A for LoadTgaBgra)
  std::vector<uint8_t> data;
};

// A refusal: message box caption and text (UTF-8; texts hold the file name as given).
struct TPictureError {
  std::string caption;
  std::string text;
  std::string file = {};  // the refused file, for the log (the message box shows the text alone)
};

// A picture file's budget: a 4096 x 4096 picture of 32 bits uncompressed, and its headers.
// A longer file is refused before it is read.
inline constexpr size_t kMaxPictureFileBytes = (size_t{64} << 20) + (size_t{64} << 10);

// Reads a whole regular file (a disk path) of at most `maxBytes`. False when it cannot be
// opened, is not a regular file (a FIFO or device is never waited on) or is larger.
bool ReadFileBytes(const std::string& fileName, std::vector<uint8_t>& bytes,
                   size_t maxBytes = kMaxPictureFileBytes);

// The platform bitmap decoder (any BMP/QVT SDL reads: every bit depth, palettes, RLE, bit
// fields, OS/2 headers): full-resolution RGB. Error caption "BMP Unit".
bool DecodeBitmap(std::span<const uint8_t> bytes, TPixels& out, TPictureError* error);
bool LoadBitmapFile(const std::string& fileName, TPixels& out, TPictureError* error);

// Width and height from a bitmap's headers alone (the first 26 bytes; height as stored, so
// negative for top-down rows). False without the "BM" signature or when the file is shorter.
bool ReadBitmapSize(std::span<const uint8_t> bytes, int32_t& width, int32_t& height);
bool ReadBitmapFileSize(const std::string& fileName, int32_t& width, int32_t& height);

// Half resolution of an RGB (or RGBA) picture: W div 2 x H div 2, each channel the truncated
// mean of a 2 x 2 block. Works on bottom-up rows, so the result is bottom-up as well.
TPixels HalvePixels(const TPixels& in);

// Colour + alpha companion: RGBA with A = red channel of the alpha picture at the same pixel;
// with fullQuality false, both halved (A = truncated mean of four reds). Alpha pixels outside
// a smaller companion count as opaque (255).
TPixels MergeAlpha(const TPixels& colour, const TPixels& alpha, bool fullQuality);

// The direct 24-bit loader: accepts only uncompressed 24-bit bitmaps whose pixels follow the
// two headers at offset 54 and whose rows need no padding (width * 3 a multiple of 4).
// RGB, rows as stored (bottom-up). Messages as the "BMP Unit" loader reports them.
bool DecodeBmp24(std::span<const uint8_t> bytes, TPixels& out, TPictureError* error);
bool LoadBmp24File(const std::string& fileName, TPixels& out, TPictureError* error);

// JPEG through libjpeg: RGBA with A = 255. "Couldn't load JPG - " + quoted name on failure.
bool DecodeJpeg(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
                TPictureError* error, int64_t maxPixels = kMaxPicturePixels);
bool LoadJpegFile(const std::string& fileName, TPixels& out, TPictureError* error);

// Uncompressed true-colour TGA as the GUI loader reads it: 24 bits -> RGB, 32 -> RGBA, rows
// bottom-up. Caption "TGA File Error" with the loader's messages.
bool DecodeTga(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
               TPictureError* error);
bool LoadTgaFile(const std::string& fileName, TPixels& out, TPictureError* error);
// The TGA texture class: the same files as 4-byte B, G, R, A pixels (24 bits get A = 255).
bool LoadTgaBgra(std::span<const uint8_t> bytes, const std::string& fileName, TPixels& out,
                 TPictureError* error);

// Writes pixels (RGB or RGBA, bottom-up) as an uncompressed bottom-up TGA file.
bool WriteTga(const std::string& fileName, const TPixels& pixels);
std::vector<uint8_t> EncodeTga(const TPixels& pixels);
// Writes RGB pixels (bottom-up) as a 24-bit BMP whose rows are padded to four bytes.
bool WriteBmp24(const std::string& fileName, const TPixels& pixels);
std::vector<uint8_t> EncodeBmp24(const TPixels& pixels);
// Bottom-up B, G, R triples (a frame read-back) as an RGB picture; empty when `bgr` holds
// fewer than width * height pixels.
TPixels PixelsFromBgr(int32_t width, int32_t height, const std::vector<uint8_t>& bgr);

}  // namespace skerrow
