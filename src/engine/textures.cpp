// Texture loaders on top of the picture decoders: GL texture creation, the engine's texture
// table, the reduced-resolution switch and the material texture cache.
#include "engine/textures.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <span>

#include "engine/model.h"
#include "engine/picture.h"
#include "platform/cp1251.h"
#include "platform/paths.h"

namespace skerrow {

namespace {

uint8_t g_textureQuality = 1;

std::array<uint32_t, kTextureTableSize> g_textureTable{};  // slot 0 never used; 0 = empty

std::array<TextureCacheEntry, kTextureCacheSize> g_cache;
int32_t g_cacheHits = 0;

void RegisterTexture(uint32_t texture) {
  if (texture == 0) return;
  for (int i = 1; i < kTextureTableSize; ++i) {
    if (g_textureTable[i] == 0) {
      g_textureTable[i] = texture;
      return;
    }
  }
}

// Names in the messages are shown as UTF-8; the game forms them in Windows-1251.
std::string Shown(const std::string& name) {
  return Cp1251ToUtf8(name);
}

void Report(const TPictureError& error, TLoaderMessages& out) {
  if (!error.text.empty()) out.push_back(error);
}

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return r;
}

std::string WithLast3Replaced(const std::string& name, std::string_view with) {
  if (name.size() < 3) return std::string(with);
  return name.substr(0, name.size() - 3) + std::string(with);
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// GL_MAX_TEXTURE_SIZE of the current context (0 when it cannot be asked).
int32_t DriverTextureSide() {
  GLint side = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
  return side;
}

bool UsableSize(int32_t width, int32_t height) {
  const int32_t side = TextureSideLimit(DriverTextureSide());
  return width > 0 && height > 0 && width <= side && height <= side;
}

// A decoded picture the driver cannot take is refused with the loader's message.
bool FitsOrReport(const TPixels& pixels, const TPictureError& refusal, TLoaderMessages& out) {
  if (UsableSize(pixels.width, pixels.height)) return true;
  Report(refusal, out);
  return false;
}

uint32_t GenAndBind(TLoaderMessages& out) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  if (name == 0) out.push_back({"Skerrow", "Warning : Texture could not be loaded"});
  return name;
}

uint32_t CreateGuiTexture(const TPixels& pixels, TLoaderMessages& out) {
  if (!UsableSize(pixels.width, pixels.height)) return 0;
  const GLenum format = pixels.channels == 4 ? GL_RGBA : GL_RGB;
  const uint32_t name = GenAndBind(out);
  if (name == 0) return 0;
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, pixels.channels, pixels.width, pixels.height, format,
                    GL_UNSIGNED_BYTE, pixels.data.data());
  RegisterTexture(name);
  return name;
}

// The TGA texture class of the material loader: B, G, R, A pixels, repeat, linear filters.
uint32_t CreateBgraTexture(const TPixels& pixels, TLoaderMessages& out) {
  if (!UsableSize(pixels.width, pixels.height) || pixels.channels != 4) return 0;
  const uint32_t name = GenAndBind(out);
  if (name == 0) return 0;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, pixels.width, pixels.height, GL_BGRA_EXT,
                    GL_UNSIGNED_BYTE, pixels.data.data());
  RegisterTexture(name);
  return name;
}

uint32_t CreateTextureTo(int32_t width, int32_t height, uint32_t format, const uint8_t* pixels,
                         TLoaderMessages& out) {
  if (!UsableSize(width, height) || pixels == nullptr) return 0;
  if (format != kTexFormatRGB && format != kTexFormatRGBA) return 0;
  const uint32_t name = GenAndBind(out);
  if (name == 0) return 0;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are packed, whatever the width
  gluBuild2DMipmaps(GL_TEXTURE_2D, format == kTexFormatRGBA ? 4 : 3, width, height, format,
                    GL_UNSIGNED_BYTE, pixels);
  RegisterTexture(name);
  return name;
}

uint32_t CreateFromPixels(const TPixels& pixels, TLoaderMessages& out) {
  if (pixels.channels != 3 && pixels.channels != 4) return 0;
  if (pixels.data.size() < static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height) *
                               static_cast<size_t>(pixels.channels)) {
    return 0;
  }
  return CreateTextureTo(pixels.width, pixels.height,
                         pixels.channels == 4 ? kTexFormatRGBA : kTexFormatRGB, pixels.data.data(),
                         out);
}

// Reads the whole file of a game path; false when it cannot be opened.
bool ReadGameFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
  return ReadFileBytes(ResolvePath(fileName), bytes);
}

bool DecodeBitmapFile(const std::string& fileName, TPixels& out, TPictureError* error) {
  std::vector<uint8_t> bytes;
  if (!ReadGameFile(fileName, bytes)) {
    if (error) *error = TPictureError{"BMP Unit", "Error opening \"" + Shown(fileName)};
    return false;
  }
  return DecodeBitmap(bytes, out, error);
}

// Release a texture held in an in/out field.
void ReleaseField(uint32_t& texture) {
  DeleteTexture(texture);
  texture = 0;
}

// The colour file, or the same name ending in "qvt"; empty when neither exists.
std::string ExistingColourFile(const std::string& fileName) {
  if (PathExists(fileName)) return fileName;
  const std::string qvt = WithLast3Replaced(fileName, "qvt");
  if (PathExists(qvt)) return qvt;
  return {};
}

}  // namespace

void SetTextureQuality(uint8_t quality) {
  g_textureQuality = quality;
}
uint8_t TextureQuality() {
  return g_textureQuality;
}

int32_t TextureSideLimit(int32_t driverMax) {
  return driverMax > 0 ? std::min(driverMax, kMaxPictureSide) : kMaxPictureSide;
}

namespace {

// Each loader with its messages collected in `out` instead of shown.
bool LoadJpegTextureTo(const std::string& fileName, uint32_t& texture, TLoaderMessages& out);
bool LoadBmp24TextureTo(const std::string& fileName, uint32_t& texture, TLoaderMessages& out);
bool LoadBmpHalfTextureTo(const std::string& fileName, uint32_t& texture, TLoaderMessages& out);

bool LoadTextureTo(const std::string& fileName, uint32_t& texture, bool fullResolution,
                   TLoaderMessages& out) {
  ReleaseField(texture);
  const std::string name = ExistingColourFile(fileName);
  if (name.empty()) return false;
  if (EndsWith(name, ".jpg")) return LoadJpegTextureTo(name, texture, out);
  if (fullResolution) return LoadBmp24TextureTo(name, texture, out);
  return LoadBmpHalfTextureTo(name, texture, out);
}

bool LoadTextureWithAlphaTo(const std::string& colourFile, const std::string& alphaFile,
                            bool fullQuality, uint32_t& texture, TLoaderMessages& out) {
  ReleaseField(texture);
  const std::string name = ExistingColourFile(colourFile);
  if (name.empty()) return false;
  // A companion that is missing or unreadable leaves the texture opaque.
  TPixels alpha;
  if (!DecodeBitmapFile(alphaFile, alpha, nullptr)) alpha = TPixels{};
  TPixels colour;
  if (!DecodeBitmapFile(name, colour, nullptr)) return false;
  const TPixels merged = MergeAlpha(colour, alpha, fullQuality);
  texture = CreateFromPixels(merged, out);
  return texture != 0;
}

bool LoadJpegTextureTo(const std::string& fileName, uint32_t& texture, TLoaderMessages& out) {
  std::vector<uint8_t> bytes;
  TPixels pixels;
  TPictureError error;
  if (!ReadGameFile(fileName, bytes)) {
    out.push_back({"BMP Unit", "Couldn't load JPG - \"" + Shown(fileName) + "\""});
    return false;
  }
  if (!DecodeJpeg(bytes, Shown(fileName), pixels, &error)) {
    Report(error, out);
    return false;
  }
  if (!FitsOrReport(pixels, {"BMP Unit", "Couldn't load JPG - \"" + Shown(fileName) + "\""}, out)) {
    return false;
  }
  texture = CreateFromPixels(pixels, out);
  return texture != 0;
}

bool LoadBmp24TextureTo(const std::string& fileName, uint32_t& texture, TLoaderMessages& out) {
  std::vector<uint8_t> bytes;
  if (!ReadGameFile(fileName, bytes)) {
    out.push_back({"BMP Unit", "Error opening \"" + Shown(fileName)});
    return false;
  }
  TPixels pixels;
  TPictureError error;
  if (!DecodeBmp24(bytes, pixels, &error)) {
    Report(error, out);
    return false;
  }
  if (!FitsOrReport(pixels, {"BMP Unit", "Error reading info header"}, out)) return false;
  texture = CreateFromPixels(pixels, out);
  return texture != 0;
}

bool LoadBmpHalfTextureTo(const std::string& fileName, uint32_t& texture, TLoaderMessages& out) {
  TPixels pixels;
  TPictureError error;
  if (!DecodeBitmapFile(fileName, pixels, &error)) {
    Report(error, out);
    return false;
  }
  const TPixels half = HalvePixels(pixels);
  if (!FitsOrReport(half, {"BMP Unit", "Error reading info header"}, out)) return false;
  texture = CreateFromPixels(half, out);
  return texture != 0;
}

bool LoadGuiTextureTo(const std::string& fileName, uint32_t& texture, bool fromResource,
                      TLoaderMessages& out) {
  const std::string ext = Upper(fileName.size() >= 4 ? fileName.substr(fileName.size() - 4) : "");
  const bool bmp = ext == ".BMP", jpg = ext == ".JPG", tga = ext == ".TGA";
  if (!bmp && !jpg && !tga) return false;
  if (fromResource) {
    // This build embeds no resources.
    const char* caption = bmp ? "BMP Texture" : (jpg ? "JPG Texture" : "TGA Texture");
    out.push_back({caption, "File not found in resource - " + Shown(fileName)});
    return false;
  }
  std::vector<uint8_t> bytes;
  TPixels pixels;
  TPictureError error;
  const bool read = ReadGameFile(fileName, bytes);
  bool ok = false;
  if (bmp) {
    if (!read) {
      out.push_back({"BMP Unit", "Error opening " + Shown(fileName)});
      return false;
    }
    ok = DecodeBmp24(bytes, pixels, &error);
  } else if (jpg) {
    if (!read) {
      out.push_back({"BMP Unit", "Couldn't load JPG - \"" + Shown(fileName) + "\""});
      return false;
    }
    ok = DecodeJpeg(bytes, Shown(fileName), pixels, &error);
  } else {
    if (!read) {
      out.push_back({"TGA Texture", "File not found  - " + Shown(fileName)});
      return false;
    }
    ok = DecodeTga(bytes, Shown(fileName), pixels, &error);
  }
  if (!ok) {
    Report(error, out);
    return false;
  }
  const TPictureError refusal =
      bmp ? TPictureError{"BMP Unit", "Error reading info header"}
          : (jpg ? TPictureError{"BMP Unit", "Couldn't load JPG - \"" + Shown(fileName) + "\""}
                 : TPictureError{"TGA File Error",
                                 "Couldn't read file \"" + Shown(fileName) + "\"."});
  if (!FitsOrReport(pixels, refusal, out)) return false;
  const uint32_t name = CreateGuiTexture(pixels, out);
  if (name == 0) return false;
  texture = name;
  return true;
}

void LoadMaterialTexturesTo(TKTZGL_Model& model, const std::string& directory,
                            TLoaderMessages& out) {
  for (auto& entry : model.Materials) {
    ModelMaterial& material = entry.second;
    if (material.textureFileName.empty()) continue;
    const std::string file = directory + material.textureFileName;
    const std::string key = Upper(file);

    bool found = false;
    for (const TextureCacheEntry& e : g_cache) {
      if (e.cacheTexture != 0 && e.cacheName == key) {
        material.texture = e.cacheTexture;
        ++g_cacheHits;
        found = true;
        break;
      }
    }
    if (found) continue;

    uint32_t texture = 0;
    const std::string alphaA = file + "a";
    const std::string alphaB = WithLast3Replaced(file, "bqvt");
    if (EndsWith(key, ".TGA") && PathExists(file)) {
      std::vector<uint8_t> bytes;
      TPixels pixels;
      TPictureError error;
      if (ReadGameFile(file, bytes) && LoadTgaBgra(bytes, Shown(file), pixels, &error)) {
        if (FitsOrReport(pixels, {"TGA File Error", "Couldn't read file \"" + Shown(file) + "\"."},
                         out)) {
          texture = CreateBgraTexture(pixels, out);
        }
      } else {
        Report(error, out);
      }
    } else if (PathExists(alphaA)) {
      LoadTextureWithAlphaTo(file, alphaA, g_textureQuality == 1, texture, out);
    } else if (PathExists(alphaB)) {
      LoadTextureWithAlphaTo(file, alphaB, g_textureQuality == 1, texture, out);
    } else {
      LoadTextureTo(file, texture, g_textureQuality == 1, out);
    }
    material.texture = texture;

    // A failed load is not cached (the next material naming the file tries again), and a full
    // cache leaves the texture uncached.
    if (texture == 0) continue;
    for (TextureCacheEntry& e : g_cache) {
      if (e.cacheName.empty()) {
        e.cacheName = key;
        e.cacheTexture = texture;
        break;
      }
    }
  }
}

}  // namespace

uint32_t CreateTexture(int32_t width, int32_t height, uint32_t format, const uint8_t* pixels,
                       TLoaderMessages& messages) {
  return CreateTextureTo(width, height, format, pixels, messages);
}

namespace {

// Runs `load` and names `file` in each message it added.
template <typename Load>
bool NamingTheFile(const std::string& file, TLoaderMessages& messages, Load load) {
  const size_t before = messages.size();
  const bool loaded = load();
  for (size_t k = before; k < messages.size(); ++k) {
    if (messages[k].file.empty()) messages[k].file = file;
  }
  return loaded;
}

}  // namespace

bool LoadTexture(const std::string& fileName, uint32_t& texture, bool fullResolution,
                 TLoaderMessages& messages) {
  return NamingTheFile(fileName, messages,
                       [&] { return LoadTextureTo(fileName, texture, fullResolution, messages); });
}

bool LoadTextureWithAlpha(const std::string& colourFile, const std::string& alphaFile,
                          bool fullQuality, uint32_t& texture, TLoaderMessages& messages) {
  return NamingTheFile(colourFile, messages, [&] {
    return LoadTextureWithAlphaTo(colourFile, alphaFile, fullQuality, texture, messages);
  });
}

bool LoadJpegTexture(const std::string& fileName, uint32_t& texture, TLoaderMessages& messages) {
  return NamingTheFile(fileName, messages,
                       [&] { return LoadJpegTextureTo(fileName, texture, messages); });
}

bool LoadBmp24Texture(const std::string& fileName, uint32_t& texture, TLoaderMessages& messages) {
  return NamingTheFile(fileName, messages,
                       [&] { return LoadBmp24TextureTo(fileName, texture, messages); });
}

bool LoadBmpHalfTexture(const std::string& fileName, uint32_t& texture, TLoaderMessages& messages) {
  return NamingTheFile(fileName, messages,
                       [&] { return LoadBmpHalfTextureTo(fileName, texture, messages); });
}

bool LoadGuiTexture(const std::string& fileName, uint32_t& texture, bool fromResource,
                    TLoaderMessages& messages) {
  return NamingTheFile(fileName, messages,
                       [&] { return LoadGuiTextureTo(fileName, texture, fromResource, messages); });
}

void LoadMaterialTextures(TKTZGL_Model& model, const std::string& directory,
                          TLoaderMessages& messages) {
  LoadMaterialTexturesTo(model, directory, messages);
}

const std::array<TextureCacheEntry, kTextureCacheSize>& TextureCache() {
  return g_cache;
}

int32_t TextureCacheHits() {
  return g_cacheHits;
}

void ResetTextureCache() {
  for (TextureCacheEntry& e : g_cache) e = TextureCacheEntry{};
  g_cacheHits = 0;
}

int RegisteredTextureCount() {
  return static_cast<int>(std::count_if(g_textureTable.begin() + 1, g_textureTable.end(),
                                        [](uint32_t t) { return t; }));
}

void DeleteRegisteredTextures() {
  for (int i = 1; i < kTextureTableSize; ++i) {
    if (g_textureTable[i] != 0) {
      const GLuint name = g_textureTable[i];
      glDeleteTextures(1, &name);
      g_textureTable[i] = 0;
    }
  }
}

void DeleteTexture(uint32_t texture) {
  if (texture == 0) return;
  const GLuint name = texture;
  glDeleteTextures(1, &name);
  for (int i = 1; i < kTextureTableSize; ++i) {
    if (g_textureTable[i] == texture) g_textureTable[i] = 0;
  }
}

}  // namespace skerrow
