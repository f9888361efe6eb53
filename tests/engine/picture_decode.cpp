// Picture decoders: row order, conversions, the direct loader's acceptance rule, half
// resolution, the alpha merge, TGA refusals and JPEG failure without exiting.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "engine/picture.h"

namespace skerrow {
namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  std::memcpy(&b[at], &v, 2);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  std::memcpy(&b[at], &v, 4);
}

// Uncompressed 24-bit BMP, rows bottom-up and padded to 4 bytes; pixel (x, y) from the
// top-left has B = x, G = y, R = 200.
std::vector<uint8_t> Bmp24(int32_t w, int32_t h) {
  const size_t stride = (size_t(w) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b(54 + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(b.size()));
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, uint32_t(w));
  Put32(b, 22, uint32_t(h));
  Put16(b, 26, 1);
  Put16(b, 28, 24);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = &b[54 + stride * size_t(h - 1 - y)];
    for (int32_t x = 0; x < w; ++x) {
      row[x * 3] = uint8_t(x);
      row[x * 3 + 1] = uint8_t(y);
      row[x * 3 + 2] = 200;
    }
  }
  return b;
}

TEST(PictureDecode, PlatformDecoderGivesRgbRowsBottomUp) {
  TPixels p;
  TPictureError e;
  ASSERT_TRUE(DecodeBitmap(Bmp24(3, 2), p, &e)) << e.text;
  EXPECT_EQ(p.channels, 3);
  // First row = bottom row (y = 1); pixel x = 2 of it.
  EXPECT_EQ(std::vector<uint8_t>(p.data.begin() + 6, p.data.begin() + 9),
            (std::vector<uint8_t>{200, 1, 2}));
  EXPECT_EQ(p.data[9 + 1], 0);  // second stored row is the top row
}

struct Bmp24Case {
  const char* what;
  std::function<void(std::vector<uint8_t>&)> patch;
  const char* message;  // nullptr: accepted
};

TEST(PictureDecode, DirectLoaderAcceptanceRule) {
  const Bmp24Case cases[] = {
      {"plain 4 x 2", [](std::vector<uint8_t>&) {}, nullptr},
      {"not a bitmap", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, "Error reading file header"},
      {"short file header", [](std::vector<uint8_t>& b) { b.resize(10); },
       "Error reading file header"},
      {"short info header", [](std::vector<uint8_t>& b) { b.resize(40); },
       "Error reading info header"},
      {"8 bits", [](std::vector<uint8_t>& b) { Put16(b, 28, 8); }, "Error reading info header"},
      {"RLE", [](std::vector<uint8_t>& b) { Put32(b, 30, 1); }, "Error reading info header"},
      {"rows need padding", [](std::vector<uint8_t>& b) { Put32(b, 18, 3); },
       "Error reading info header"},
      {"huge", [](std::vector<uint8_t>& b) { Put32(b, 18, 0x40000000); },
       "Error reading info header"},
      {"negative height", [](std::vector<uint8_t>& b) { Put32(b, 22, uint32_t(-2)); },
       "Error reading info header"},
      {"palette before pixels", [](std::vector<uint8_t>& b) { Put32(b, 10, 58); },
       "Error reading palette"},
      {"pixels cut short", [](std::vector<uint8_t>& b) { b.resize(b.size() - 1); },
       "Error reading bitmap data"},
      {"image size below width x height", [](std::vector<uint8_t>& b) { Put32(b, 34, 3); },
       "Error reading bitmap data"},
  };
  for (const Bmp24Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> b = Bmp24(4, 2);
    c.patch(b);
    TPixels p;
    TPictureError e;
    const bool ok = DecodeBmp24(b, p, &e);
    if (!c.message) {
      ASSERT_TRUE(ok) << e.text;
      EXPECT_EQ(p.width, 4);
      EXPECT_EQ((std::vector<uint8_t>(p.data.begin(), p.data.begin() + 6)),
                (std::vector<uint8_t>{200, 1, 0, 200, 1, 1}));  // bottom row, B and R swapped
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(e.caption, "BMP Unit");
      EXPECT_EQ(e.text, c.message);
      EXPECT_TRUE(p.data.empty());
    }
  }
  TPixels p;
  TPictureError e;
  EXPECT_FALSE(LoadBmp24File("/nonexistent/a.qvt", p, &e));
  EXPECT_EQ(e.text, "Error opening \"/nonexistent/a.qvt");
}

// 16-bit BI_BITFIELDS bitmap, 2 x 1, with a red mask that has a hole (bits 15 and 0), green
// bits 5..10 and blue bits 1..4. A channel's value is its mask bits packed together, scaled to
// 8 bits: all red bits set is full red, the lower red bit alone is 1 of 3.
TEST(PictureDecode, BitfieldMasksWithHolesScaleTheirBits) {
  std::vector<uint8_t> b(66 + 4, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(b.size()));
  Put32(b, 10, 66);
  Put32(b, 14, 40);
  Put32(b, 18, 2);
  Put32(b, 22, 1);
  Put16(b, 26, 1);
  Put16(b, 28, 16);
  Put32(b, 30, 3);  // BI_BITFIELDS
  Put32(b, 54, 0x8001);
  Put32(b, 58, 0x07E0);
  Put32(b, 62, 0x001E);
  Put16(b, 66, 0x87FF);                    // every mask bit set
  Put16(b, 68, 0x0001 | 0x0020 | 0x0002);  // the lowest bit of each channel
  TPixels p;
  TPictureError e;
  ASSERT_TRUE(DecodeBitmap(b, p, &e)) << e.text;
  ASSERT_EQ(p.channels, 3);
  ASSERT_EQ(p.data.size(), 6u);
  EXPECT_EQ(std::vector<uint8_t>(p.data.begin(), p.data.begin() + 3),
            (std::vector<uint8_t>{255, 255, 255}));
  EXPECT_EQ(std::vector<uint8_t>(p.data.begin() + 3, p.data.end()),
            (std::vector<uint8_t>{85, 4, 17}));  // 1 of 3, 1 of 63, 1 of 15
}

TEST(PictureDecode, PlatformDecoderRefusesHugeHeadersBeforeDecoding) {
  struct Size {
    uint32_t w, h;
  };
  // The RLE8 ones are 72-byte files that would otherwise decode to hundreds of megabytes;
  // 4096 x 4096 at 32 bits would hold more than one decode may take (its pixels, their RGB
  // copy and the output).
  for (const Size s :
       {Size{0x7FFFFFFFu, 2}, Size{0x80000000u, 2}, Size{0, 2}, Size{4097, 2}, Size{2, 4097},
        Size{16384, 8193}, Size{12217, 13314}, Size{8192, 8192}, Size{4096, 4096}}) {
    std::vector<uint8_t> b = Bmp24(4, 2);
    Put32(b, 18, s.w);
    Put32(b, 22, s.h);
    if (s.w == 12217 || s.w == 8192) {
      Put16(b, 28, 8);  // 8 bits, RLE8
      Put32(b, 30, 1);
    } else if (s.w == 4096) {
      Put16(b, 28, 32);
    }
    TPixels p;
    TPictureError e;
    EXPECT_FALSE(DecodeBitmap(b, p, &e)) << s.w << " x " << s.h;
    EXPECT_EQ(e.text, "Error reading info header");
  }
}

// A role's limit (an interface picture, a slot thumbnail) refuses a small run-length file that
// declares a large picture from its header, before anything is decoded; nested limits keep the
// smaller, and the limit ends with its scope.
TEST(PictureDecode, ARoleLimitRefusesLargerPicturesFromTheirHeader) {
  std::vector<uint8_t> rle = Bmp24(4, 2);
  Put16(rle, 28, 8);  // 8 bits, RLE8: the header declares what the few bytes do not hold
  Put32(rle, 30, 1);
  struct Case {
    uint32_t side;
    int32_t limit;  // 0: none
    bool decoded;
  };
  for (const Case c : {Case{300, kMaxThumbnailSide, false}, Case{256, kMaxThumbnailSide, true},
                       Case{2049, kMaxInterfacePictureSide, false}, Case{300, 0, true}}) {
    Put32(rle, 18, c.side);
    Put32(rle, 22, c.side / 2);
    TPixels p;
    TPictureError e;
    bool decoded = false;
    if (c.limit > 0) {
      const ScopedPictureLimit outer(kMaxInterfacePictureSide);
      const ScopedPictureLimit limit(c.limit);
      decoded = DecodeBitmap(rle, p, &e);
    } else {
      decoded = DecodeBitmap(rle, p, &e);
    }
    EXPECT_EQ(decoded, c.decoded) << c.side << " under " << c.limit;
    if (!c.decoded) EXPECT_EQ(e.text, "Error reading info header");
  }
}

// The level size picture is read for its width alone: a header-only file declaring 16384 x 4096
// at 8 bits RLE (which no decoder would take) still gives its width, without decoding.
TEST(PictureDecode, BitmapSizeFromTheHeadersAlone) {
  std::vector<uint8_t> b = Bmp24(4, 2);
  Put32(b, 18, 16384);
  Put32(b, 22, 4096);
  Put16(b, 28, 8);
  Put32(b, 30, 1);
  b.resize(54);
  int32_t w = 0, h = 0;
  ASSERT_TRUE(ReadBitmapSize(b, w, h));
  EXPECT_EQ(w, 16384);
  EXPECT_EQ(h, 4096);
  const std::string path = testing::TempDir() + "size_header.qvt";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(b.data(), 1, 26, f);  // nothing after the sizes
    std::fclose(f);
  }
  w = 0;
  EXPECT_TRUE(ReadBitmapFileSize(path, w, h));
  EXPECT_EQ(w, 16384);
  std::remove(path.c_str());
  // OS/2 core header: 16-bit sizes at offset 18.
  std::vector<uint8_t> core(b.begin(), b.begin() + 26);
  Put32(core, 14, 12);
  Put16(core, 18, 300);
  Put16(core, 20, 200);
  ASSERT_TRUE(ReadBitmapSize(core, w, h));
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 200);
  EXPECT_FALSE(ReadBitmapSize(std::span(b).first(25), w, h));
  b[0] = 'X';
  EXPECT_FALSE(ReadBitmapSize(b, w, h));
  EXPECT_FALSE(ReadBitmapFileSize(path, w, h));  // gone
}

TPixels Make(int32_t w, int32_t h, int32_t channels, std::function<uint8_t(int, int, int)> f) {
  TPixels p{w, h, channels, std::vector<uint8_t>(size_t(w) * h * channels)};
  // f takes (x, y from the top, channel).
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < channels; ++c)
        p.data[(size_t(h - 1 - y) * w + x) * channels + c] = f(x, y, c);
  return p;
}

TEST(PictureDecode, HalfResolutionAndAlphaMerge) {
  // 4 x 3: odd height drops the bottom picture row.
  const TPixels colour = Make(4, 3, 3, [](int x, int y, int c) {
    return uint8_t(c == 0 ? x * 10 + y : (c == 1 ? 255 : (x + y) % 2));
  });
  const TPixels half = HalvePixels(colour);
  ASSERT_EQ(half.width, 2);
  ASSERT_EQ(half.height, 1);
  // Output pixel 1: x 2..3, y 0..1: red (20 + 30 + 21 + 31) / 4 = 25.5 -> 25; blue 2 / 4 -> 0.
  EXPECT_EQ(half.data[3], 25);
  EXPECT_EQ(half.data[4], 255);
  EXPECT_EQ(half.data[5], 0);

  const TPixels alpha =
      Make(4, 4, 3, [](int x, int y, int c) { return uint8_t(c ? 0 : x * 64 + y); });
  const TPixels colour4 = Make(4, 4, 3, [](int x, int y, int) { return uint8_t(x + 4 * y); });
  const TPixels full = MergeAlpha(colour4, alpha, true);
  ASSERT_EQ(full.channels, 4);
  ASSERT_EQ(full.data.size(), 64u);
  // First output pixel = bottom-left (x 0, y 3): colour 12, alpha 3.
  EXPECT_EQ((std::vector<uint8_t>(full.data.begin(), full.data.begin() + 4)),
            (std::vector<uint8_t>{12, 12, 12, 3}));
  const TPixels small = MergeAlpha(colour4, alpha, false);
  ASSERT_EQ(small.width, 2);
  // Bottom-left output: x 0..1, y 2..3: alpha (2 + 3 + 66 + 67) / 4 = 34.5 -> 34.
  EXPECT_EQ(small.data[3], 34);
  // A smaller companion: pixels outside it count as opaque.
  const TPixels tiny = Make(1, 1, 3, [](int, int, int) { return uint8_t(7); });
  const TPixels merged = MergeAlpha(colour4, tiny, true);
  EXPECT_EQ(merged.data[3], 255);           // (0, 3) lies outside the 1 x 1 companion
  EXPECT_EQ(merged.data[(12 * 4) + 3], 7);  // (0, 0) is inside
}

std::vector<uint8_t> Tga(uint8_t type, uint8_t cmap, uint8_t bits, uint16_t w, uint16_t h,
                         size_t dataBytes, uint8_t idLength = 0, uint8_t descriptor = 0) {
  std::vector<uint8_t> b(18 + idLength + dataBytes, 0);
  b[0] = idLength;
  b[1] = cmap;
  b[2] = type;
  Put16(b, 12, w);
  Put16(b, 14, h);
  b[16] = bits;
  b[17] = descriptor;
  for (size_t i = 0; i < dataBytes; ++i) b[18 + idLength + i] = uint8_t(i + 1);
  return b;
}

TEST(PictureDecode, TgaRules) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* text;  // nullptr: accepted
  };
  const Case cases[] = {
      {Tga(2, 0, 24, 2, 1, 6), nullptr},
      {Tga(10, 0, 24, 2, 1, 6), "Couldn't load \"t.tga\". Compressed TGA files not supported."},
      {Tga(2, 1, 24, 2, 1, 6), "Couldn't load \"t.tga\". Colormapped TGA files not supported."},
      {Tga(2, 0, 16, 2, 1, 4), "Couldn't load \"t.tga\". Only 24 bit TGA files supported."},
      {Tga(2, 0, 24, 2, 1, 5), "Couldn't read file \"t.tga\"."},
      {Tga(2, 0, 32, 65535, 65535, 16), "Couldn't read file \"t.tga\"."},
      {std::vector<uint8_t>(10, 0), "Couldn't read file \"t.tga\"."},
  };
  for (const Case& c : cases) {
    TPixels p;
    TPictureError e;
    const bool ok = DecodeTga(c.bytes, "t.tga", p, &e);
    if (!c.text) {
      ASSERT_TRUE(ok);
      EXPECT_EQ(p.data, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(e.caption, "TGA File Error");
      EXPECT_EQ(e.text, c.text);
    }
  }
  // 32 bits: RGBA; the texture class's BGRA keeps the order; 24 bits there get A = 255.
  TPixels p;
  TPictureError e;
  ASSERT_TRUE(DecodeTga(Tga(2, 0, 32, 1, 1, 4), "t.tga", p, &e));
  EXPECT_EQ(p.data, (std::vector<uint8_t>{3, 2, 1, 4}));
  ASSERT_TRUE(LoadTgaBgra(Tga(2, 0, 24, 1, 1, 3), "t.tga", p, &e));
  EXPECT_EQ(p.data, (std::vector<uint8_t>{1, 2, 3, 255}));
  // An image-ID field is skipped; a top-left origin is turned bottom-up.
  ASSERT_TRUE(DecodeTga(Tga(2, 0, 24, 1, 2, 6, 2, 0x20), "t.tga", p, &e));
  EXPECT_EQ(p.data, (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
  // Round trip through the writer.
  TPixels back;
  ASSERT_TRUE(DecodeTga(EncodeTga(p), "t.tga", back, &e));
  EXPECT_EQ(back.data, p.data);
}

// The BMP writer: every row width pads to four bytes, both decoders read the pixels back, and
// a frame read-back's B, G, R order turns into R, G, B.
TEST(PictureWriters, Bmp24RoundTripsEveryRowPadding) {
  for (int32_t width = 1; width <= 5; ++width) {
    std::vector<uint8_t> bgr;
    for (int32_t i = 0; i < width * 2 * 3; ++i) bgr.push_back(static_cast<uint8_t>(7 * i + width));
    const TPixels p = PixelsFromBgr(width, 2, bgr);
    ASSERT_EQ(p.channels, 3);
    EXPECT_EQ(p.data[0], bgr[2]);
    EXPECT_EQ(p.data[2], bgr[0]);
    const std::vector<uint8_t> file = EncodeBmp24(p);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(file.size(), 54 + stride * 2) << width;
    EXPECT_EQ(file[54], bgr[0]);  // stored as B, G, R, like the read-back
    TPixels back;
    TPictureError e;
    ASSERT_TRUE(DecodeBitmap(file, back, &e)) << width << " " << e.text;
    EXPECT_EQ(back.width, width);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.data, p.data) << width;
    if (width % 4 == 0) {  // rows without padding: the direct loader takes it too
      ASSERT_TRUE(DecodeBmp24(file, back, &e)) << e.text;
      EXPECT_EQ(back.data, p.data);
    }
  }
  EXPECT_TRUE(EncodeBmp24(TPixels{2, 2, 4, std::vector<uint8_t>(16, 0)}).empty());  // RGBA
  EXPECT_TRUE(EncodeBmp24(TPixels{2, 2, 3, std::vector<uint8_t>(11, 0)}).empty());  // short
  EXPECT_TRUE(PixelsFromBgr(2, 2, std::vector<uint8_t>(11, 0)).data.empty());
}

// 8 x 8 JPEG: top half red, bottom half blue.
std::vector<uint8_t> Jpeg(bool progressive = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = 8;
  c.image_height = 8;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  if (progressive) {
    jpeg_simple_progression(&c);
    // Full-size chroma: three whole planes of coefficients.
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
  }
  jpeg_start_compress(&c, TRUE);
  for (int y = 0; y < 8; ++y) {
    unsigned char row[24];
    for (int x = 0; x < 8; ++x) {
      row[x * 3] = y < 4 ? 255 : 0;
      row[x * 3 + 1] = 0;
      row[x * 3 + 2] = y < 4 ? 0 : 255;
    }
    JSAMPROW r = row;
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

TEST(PictureDecode, JpegRgbaBottomUpAndFailureReturns) {
  const std::vector<uint8_t> j = Jpeg();
  TPixels p;
  TPictureError e;
  ASSERT_TRUE(DecodeJpeg(j, "a.jpg", p, &e));
  EXPECT_EQ(p.channels, 4);
  EXPECT_GT(p.data[2], 200);  // first row is the bottom (blue) row
  EXPECT_LT(p.data[0], 60);
  EXPECT_EQ(p.data[3], 255);
  EXPECT_GT(p.data[p.data.size() - 4], 200);  // last row is the top (red) row
  for (size_t cut : {size_t{0}, size_t{2}, size_t{20}}) {
    std::vector<uint8_t> bad(j.begin(), j.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_FALSE(DecodeJpeg(bad, "a.jpg", p, &e));
    EXPECT_EQ(e.text, "Couldn't load JPG - \"a.jpg\"");
    EXPECT_EQ(e.caption, "BMP Unit");
  }
  // A picture above the pixel cap is refused from its header alone.
  EXPECT_FALSE(DecodeJpeg(j, "a.jpg", p, &e, 63));
}

// A tiny JPEG whose frame header claims a large size. A progressive picture without chroma
// subsampling keeps all its coefficients: at 4096 x 4096 another 96 MB beside the 64 MB output,
// more than one decode may take, so it is refused before they are allocated. A baseline
// picture of the game's largest size, 2048 x 2048, still decodes.
TEST(PictureDecode, JpegMemoryIsCapped) {
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    std::vector<uint8_t> j = Jpeg(progressive);
    const uint8_t marker = progressive ? 0xC2 : 0xC0;
    size_t sof = 0;
    for (size_t i = 0; i + 8 < j.size(); ++i) {
      if (j[i] == 0xFF && j[i + 1] == marker) {
        sof = i;
        break;
      }
    }
    ASSERT_NE(sof, 0u);
    // Marker, length (2), precision (1), then height and width, big-endian.
    for (size_t at : {sof + 5, sof + 7}) {
      j[at] = progressive ? 0x10 : 0x08;
      j[at + 1] = 0x00;
    }
    TPixels p;
    TPictureError e;
    EXPECT_EQ(DecodeJpeg(j, "big.jpg", p, &e), !progressive);
    if (progressive) {
      EXPECT_EQ(e.text, "Couldn't load JPG - \"big.jpg\"");
      EXPECT_TRUE(p.data.empty());
    } else {
      EXPECT_EQ(p.width, 2048);
    }
  }
}

}  // namespace
}  // namespace skerrow
