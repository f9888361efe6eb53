// Texture creation and loading under a headless GL context: parameters, mipmaps, the qvt
// fallback, half resolution, alpha pairs, the GUI loader's messages and the material cache.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/textures.h"
#include "gl_fixture.h"

namespace skerrow {
namespace {

using test::GlTest;
using test::WriteBmp24;
using test::WriteFile;

struct TexInfo {
  GLint width = 0, height = 0, minFilter = 0, magFilter = 0, alphaBits = 0;
};

TexInfo Info(uint32_t texture, int level = 0) {
  TexInfo i;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &i.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &i.height);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_ALPHA_SIZE, &i.alphaBits);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &i.minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &i.magFilter);
  return i;
}

std::vector<uint8_t> ReadRgba(uint32_t texture, int width, int height) {
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
  return out;
}

// w x h picture, top-down RGB, every pixel (r, g, b).
std::vector<uint8_t> Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> v;
  for (int i = 0; i < w * h; ++i) v.insert(v.end(), {r, g, b});
  return v;
}

class TextureTest : public GlTest {};

TEST_F(TextureTest, CreateTextureBuildsMipmapsAndKeepsRowsExact) {
  SKIP_WITHOUT_GL();
  // 3 x 2 RGB: rows of 9 bytes, not 4-aligned.
  const uint8_t pixels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  const int before = RegisteredTextureCount();
  const uint32_t t = CreateTexture(3, 2, kTexFormatRGB, pixels, messages_);
  ASSERT_NE(t, 0u);
  EXPECT_EQ(RegisteredTextureCount(), before + 1);
  const TexInfo info = Info(t);
  EXPECT_EQ(info.minFilter, GL_LINEAR_MIPMAP_NEAREST);
  EXPECT_EQ(info.magFilter, GL_LINEAR);
  // gluBuild2DMipmaps scales to powers of two; the chain goes down to 1 x 1.
  const TexInfo level1 = Info(t, 1);
  EXPECT_GE(level1.width, 1);
  GLint wrap = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(wrap, GL_REPEAT);

  // A power-of-two RGBA picture arrives unchanged at level 0.
  std::vector<uint8_t> rgba(4 * 4 * 4);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 7);
  const uint32_t t2 = CreateTexture(4, 4, kTexFormatRGBA, rgba.data(), messages_);
  EXPECT_EQ(ReadRgba(t2, 4, 4), rgba);
  EXPECT_EQ(Info(t2, 2).width, 1);
}

TEST_F(TextureTest, CreateTextureRefusesUnusableInput) {
  SKIP_WITHOUT_GL();
  const uint8_t pixels[12] = {};
  EXPECT_EQ(CreateTexture(0, 2, kTexFormatRGB, pixels, messages_), 0u);
  EXPECT_EQ(CreateTexture(2, -1, kTexFormatRGB, pixels, messages_), 0u);
  EXPECT_EQ(CreateTexture(2, 2, kTexFormatRGB, nullptr, messages_), 0u);
  EXPECT_EQ(CreateTexture(2, 2, 0x1909 /* GL_LUMINANCE */, pixels, messages_), 0u);
  // Longer than 4096 on a side, whatever the driver allows.
  const std::vector<uint8_t> row(4097 * 3, 0);
  EXPECT_EQ(CreateTexture(4097, 1, kTexFormatRGB, row.data(), messages_), 0u);
  EXPECT_EQ(CreateTexture(1, 4097, kTexFormatRGB, row.data(), messages_), 0u);
  const uint32_t widest = CreateTexture(4096, 1, kTexFormatRGB, row.data(), messages_);
  EXPECT_NE(widest, 0u);
  DeleteTexture(widest);
}

TEST(TextureSide, TheDriversLimitWinsWhenSmaller) {
  struct Row {
    int32_t driver, limit;
  };
  for (const Row r : {Row{0, 4096}, Row{-1, 4096}, Row{1024, 1024}, Row{2048, 2048},
                      Row{4096, 4096}, Row{16384, 4096}}) {
    EXPECT_EQ(TextureSideLimit(r.driver), r.limit) << r.driver;
  }
}

TEST_F(TextureTest, LoadTextureChoosesFileAndLoader) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  WriteBmp24(d + "only.qvt", 8, 8, Solid(8, 8, 200, 10, 10));
  WriteBmp24(d + "CAPS.JPG", 8, 8, Solid(8, 8, 10, 200, 10));  // a bitmap under .JPG
  WriteBmp24(d + "half.qvt", 8, 4, Solid(8, 4, 10, 10, 200));

  struct Row {
    std::string name;
    bool full;
    bool ok;
    int width, height;
  };
  const Row rows[] = {
      {"only.bmp", true, true, 8, 8},   // falls back to the .qvt beside it
      {"CAPS.JPG", true, true, 8, 8},   // upper-case .JPG is not taken for JPEG
      {"half.qvt", false, true, 4, 2},  // reduced resolution
      {"none.bmp", true, false, 0, 0},
  };
  for (const Row& row : rows) {
    messages_.clear();
    uint32_t texture =
        CreateTexture(1, 1, kTexFormatRGB, std::vector<uint8_t>(3).data(), messages_);
    const uint32_t previous = texture;
    EXPECT_EQ(LoadTexture(d + row.name, texture, row.full, messages_), row.ok) << row.name;
    EXPECT_FALSE(glIsTexture(previous) && previous != texture) << row.name << ": old kept";
    if (!row.ok) {
      EXPECT_EQ(texture, 0u);
      EXPECT_TRUE(messages_.empty()) << row.name;  // a missing file is silent
      continue;
    }
    ASSERT_NE(texture, 0u) << row.name;
    const TexInfo info = Info(texture);
    EXPECT_EQ(info.width, row.width) << row.name;
    EXPECT_EQ(info.height, row.height) << row.name;
  }
}

TEST_F(TextureTest, BitmapLoaderMessages) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  // 8-bit palette bitmap: the direct 24-bit loader refuses it, the half loader reads it.
  std::string pal = "BM";
  auto u32 = [&pal](uint32_t v) {
    for (int i = 0; i < 4; ++i) pal.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [&pal](uint16_t v) {
    pal.push_back(static_cast<char>(v & 0xFF));
    pal.push_back(static_cast<char>(v >> 8));
  };
  u32(54 + 8 + 16);
  u32(0);
  u32(54 + 8);
  u32(40);
  u32(4);
  u32(4);
  u16(1);
  u16(8);
  u32(0);
  u32(16);
  u32(0);
  u32(0);
  u32(2);
  u32(0);
  pal += std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00", 8);
  pal += std::string(16, '\x01');
  WriteFile(d + "pal.qvt", pal);

  uint32_t texture = 0;
  EXPECT_FALSE(LoadTexture(d + "pal.qvt", texture, true, messages_));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, "BMP Unit");
  EXPECT_EQ(messages_[0].text, "Error reading info header");

  messages_.clear();
  EXPECT_TRUE(LoadTexture(d + "pal.qvt", texture, false, messages_));
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Info(texture).width, 2);
  EXPECT_EQ(ReadRgba(texture, 2, 2)[1], 255);  // palette entry 1 is green

  messages_.clear();
  EXPECT_FALSE(LoadBmp24Texture(d + "gone.bmp", texture, messages_));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, "BMP Unit");
  EXPECT_EQ(messages_[0].text, "Error opening \"" + d + "gone.bmp");

  // Appended after what the caller's list already holds, in the order met; nothing is shown
  // (the fixture fails a test that shows a box).
  messages_.clear();
  EXPECT_FALSE(LoadTexture(d + "pal.qvt", texture, true, messages_));
  EXPECT_FALSE(LoadBmp24Texture(d + "gone.bmp", texture, messages_));
  EXPECT_TRUE(LoadTexture(d + "pal.qvt", texture, false, messages_));
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].text, "Error reading info header");
  EXPECT_EQ(messages_[1].text, "Error opening \"" + d + "gone.bmp");
}

TEST_F(TextureTest, AlphaPairAtHalfQualityAveragesFourReds) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  WriteBmp24(d + "c.qvt", 4, 4, Solid(4, 4, 100, 150, 200));
  // Alpha reds, top-down: the top-left 2 x 2 block holds 0, 1, 2, 4 (mean 1.75 -> 1).
  std::vector<uint8_t> alpha = Solid(4, 4, 255, 0, 0);
  const int reds[4][4] = {{0, 1, 10, 10}, {2, 4, 10, 11}, {255, 255, 9, 9}, {255, 254, 9, 9}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) alpha[(y * 4 + x) * 3] = static_cast<uint8_t>(reds[y][x]);
  }
  WriteBmp24(d + "ca.qvt", 4, 4, alpha);

  uint32_t texture = 0;
  ASSERT_TRUE(LoadTextureWithAlpha(d + "c.bmp", d + "ca.qvt", false, texture, messages_));
  EXPECT_EQ(Info(texture).width, 2);
  const std::vector<uint8_t> px = ReadRgba(texture, 2, 2);
  // Rows bottom-up: row 0 is the picture's lower half.
  EXPECT_EQ(px[0 * 4 + 3], 254);  // (255+255+255+254)/4 = 254.75
  EXPECT_EQ(px[1 * 4 + 3], 9);
  EXPECT_EQ(px[2 * 4 + 3], 1);
  EXPECT_EQ(px[3 * 4 + 3], 10);  // (10+10+10+11)/4 = 10.25
  EXPECT_EQ(px[0], 100);
  EXPECT_EQ(px[2], 200);

  ASSERT_TRUE(LoadTextureWithAlpha(d + "c.qvt", d + "ca.qvt", true, texture, messages_));
  EXPECT_EQ(Info(texture).width, 4);
  EXPECT_GT(Info(texture).alphaBits, 0);
  EXPECT_EQ(ReadRgba(texture, 4, 4)[(3 * 4 + 1) * 4 + 3], 1);  // top row, second pixel

  // A missing companion gives an opaque texture; a missing colour file nothing.
  ASSERT_TRUE(LoadTextureWithAlpha(d + "c.qvt", d + "nothere.qvt", true, texture, messages_));
  EXPECT_EQ(ReadRgba(texture, 4, 4)[3], 255);
  EXPECT_FALSE(LoadTextureWithAlpha(d + "x.qvt", d + "ca.qvt", true, texture, messages_));
  EXPECT_EQ(texture, 0u);
}

std::string Tga(uint8_t imageType, uint8_t colourMap, uint8_t bits, int w, int h, size_t bytes) {
  std::string t(18, '\0');
  t[1] = static_cast<char>(colourMap);
  t[2] = static_cast<char>(imageType);
  t[12] = static_cast<char>(w);
  t[14] = static_cast<char>(h);
  t[16] = static_cast<char>(bits);
  for (size_t i = 0; i < bytes; ++i) t.push_back(static_cast<char>(i % 4 == 3 ? 0x80 : 0x40));
  return t;
}

TEST_F(TextureTest, GuiTextureFormatsAndRefusals) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  WriteFile(d + "ok32.tga", Tga(2, 0, 32, 2, 2, 16));
  WriteFile(d + "ok24.TGA", Tga(2, 0, 24, 2, 2, 12));
  WriteFile(d + "rle.tga", Tga(10, 0, 24, 2, 2, 12));
  WriteFile(d + "hi.tga", Tga(2, 0, 16, 2, 2, 8));
  WriteFile(d + "short.tga", Tga(2, 0, 24, 2, 2, 11));
  WriteBmp24(d + "pic.bmp", 4, 4, Solid(4, 4, 1, 2, 3));

  struct Row {
    std::string file;
    bool ok;
    std::string caption;
    std::string textTail;  // the message ends with this
  };
  const Row rows[] = {
      {"ok32.tga", true, "", ""},
      {"ok24.TGA", true, "", ""},
      {"pic.bmp", true, "", ""},
      {"rle.tga", false, "TGA File Error", "\". Compressed TGA files not supported."},
      {"hi.tga", false, "TGA File Error", "\". Only 24 bit TGA files supported."},
      {"short.tga", false, "TGA File Error", "."},
      {"gone.tga", false, "TGA Texture", "File not found  - " + d + "gone.tga"},
      {"gone.bmp", false, "BMP Unit", "Error opening " + d + "gone.bmp"},
      {"picture.png", false, "", ""},
  };
  for (const Row& row : rows) {
    messages_.clear();
    uint32_t texture = 0;
    EXPECT_EQ(LoadGuiTexture(d + row.file, texture, false, messages_), row.ok) << row.file;
    if (row.ok) {
      ASSERT_NE(texture, 0u) << row.file;
      const TexInfo info = Info(texture);
      EXPECT_EQ(info.minFilter, GL_LINEAR) << row.file;
      EXPECT_EQ(info.magFilter, GL_LINEAR) << row.file;
      EXPECT_TRUE(messages_.empty()) << row.file;
      continue;
    }
    EXPECT_EQ(texture, 0u);
    if (row.caption.empty()) {
      EXPECT_TRUE(messages_.empty()) << row.file;
      continue;
    }
    ASSERT_EQ(messages_.size(), 1u) << row.file;
    EXPECT_EQ(messages_[0].caption, row.caption) << row.file;
    const std::string& text = messages_[0].text;
    EXPECT_TRUE(
        text.size() >= row.textTail.size() &&
        text.compare(text.size() - row.textTail.size(), row.textTail.size(), row.textTail) == 0)
        << row.file << ": " << text;
  }
  // The 32-bit file keeps its alpha.
  uint32_t texture = 0;
  ASSERT_TRUE(LoadGuiTexture(d + "ok32.tga", texture, false, messages_));
  EXPECT_EQ(ReadRgba(texture, 2, 2)[3], 0x80);

  messages_.clear();
  EXPECT_FALSE(LoadGuiTexture(d + "ok32.tga", texture, true, messages_));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, "TGA Texture");
}

// A model holding only materials, for the cache.
void AddMaterial(TKTZGL_Model& model, const std::string& name, const std::string& file) {
  ModelMaterial m;
  m.textureFileName = file;
  model.Materials.push_back({name, m});
}

TEST_F(TextureTest, MaterialCacheSharesTexturesAcrossModels) {
  SKIP_WITHOUT_GL();
  ResetTextureCache();
  const std::string d = TempDir();
  WriteBmp24(d + "wood.bmp", 4, 4, Solid(4, 4, 90, 60, 30));
  WriteBmp24(d + "sail.qvt", 4, 4, Solid(4, 4, 250, 250, 250));
  WriteBmp24(d + "sail.qvta", 4, 4, Solid(4, 4, 128, 0, 0));  // name + "a"
  WriteBmp24(d + "flag.qvt", 4, 4, Solid(4, 4, 250, 0, 0));
  WriteBmp24(d + "flag.bqvt", 4, 4, Solid(4, 4, 64, 0, 0));  // last three replaced by "bqvt"
  WriteFile(d + "rope.tga", Tga(2, 0, 24, 2, 2, 12));

  TKTZGL_Model a, b;
  AddMaterial(a, "wood", "wood.bmp");
  AddMaterial(a, "sail", "sail.qvt");
  AddMaterial(a, "flag", "flag.qvt");
  AddMaterial(a, "rope", "rope.tga");
  AddMaterial(a, "missing", "nothing.bmp");
  AddMaterial(a, "plain", "");
  AddMaterial(b, "WoodToo", "WOOD.BMP");
  AddMaterial(b, "missing", "nothing.bmp");

  LoadMaterialTextures(a, d, messages_);
  EXPECT_EQ(TextureCacheHits(), 0);
  for (int i = 0; i < 4; ++i) EXPECT_NE(a.Materials[i].second.texture, 0u) << i;
  EXPECT_EQ(a.Materials[4].second.texture, 0u);
  EXPECT_EQ(a.Materials[5].second.texture, 0u);
  EXPECT_GT(Info(a.Materials[1].second.texture).alphaBits, 0);
  EXPECT_EQ(ReadRgba(a.Materials[1].second.texture, 4, 4)[3], 128);
  EXPECT_EQ(ReadRgba(a.Materials[2].second.texture, 4, 4)[3], 64);
  // The TGA class stores B, G, R, A: 0x40 everywhere, alpha 255 for 24-bit data.
  EXPECT_EQ(ReadRgba(a.Materials[3].second.texture, 2, 2)[3], 255);

  LoadMaterialTextures(b, d, messages_);
  EXPECT_EQ(b.Materials[0].second.texture, a.Materials[0].second.texture);
  EXPECT_EQ(TextureCacheHits(), 1);
  EXPECT_EQ(b.Materials[1].second.texture, 0u);

  int used = 0;
  for (const TextureCacheEntry& e : TextureCache()) used += e.cacheName.empty() ? 0 : 1;
  EXPECT_EQ(used, 4);  // failed loads take no entry
  std::string key = d + "WOOD.BMP";
  for (char& c : key) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(TextureCache()[0].cacheName, key);
  ResetTextureCache();
}

TEST_F(TextureTest, FullCacheAndTableStillGiveTextures) {
  SKIP_WITHOUT_GL();
  ResetTextureCache();
  DeleteRegisteredTextures();
  const std::string d = TempDir();
  TKTZGL_Model model;
  for (int i = 0; i <= kTextureCacheSize; ++i) {
    const std::string file = "t" + std::to_string(i) + ".bmp";
    WriteBmp24(d + file, 4, 1, Solid(4, 1, 5, 6, static_cast<uint8_t>(i)));
    AddMaterial(model, "m" + std::to_string(i), file);
  }
  LoadMaterialTextures(model, d, messages_);
  for (size_t i = 0; i < model.Materials.size(); ++i) {
    ASSERT_NE(model.Materials[i].second.texture, 0u)
        << i << (messages_.empty() ? "" : messages_[0].text);
  }
  for (const TextureCacheEntry& e : TextureCache()) EXPECT_FALSE(e.cacheName.empty());
  EXPECT_EQ(RegisteredTextureCount(), kTextureTableSize - 1);
  // Past the end of the cache the texture is still made, just not shared.
  const uint32_t last = model.Materials.back().second.texture;
  EXPECT_TRUE(glIsTexture(last));
  DeleteRegisteredTextures();
  EXPECT_EQ(RegisteredTextureCount(), 0);
  EXPECT_FALSE(glIsTexture(model.Materials[0].second.texture));
  ResetTextureCache();
}

}  // namespace
}  // namespace skerrow
