// Texture loaders: QVT/BMP, colour + alpha pairs, JPEG, TGA, the GUI loader and the material
// texture cache shared by all models. A texture is its GL name (0 = none, drawn untextured).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/picture.h"

namespace skerrow {

class TKTZGL_Model;

inline constexpr uint32_t kTexFormatRGB = 0x1907;   // GL_RGB, 3 bytes per pixel
inline constexpr uint32_t kTexFormatRGBA = 0x1908;  // GL_RGBA, 4 bytes per pixel

// textureQuality: 1 full resolution (the default), 0 the half-resolution paths.
void SetTextureQuality(uint8_t quality);
uint8_t TextureQuality();

// What a loader has to say, in the order it met it: one message box (caption, text) each. The
// loaders show nothing themselves; every one appends its messages to the caller's list and the
// caller decides whether and when they are shown.
using TLoaderMessages = std::vector<TPictureError>;

// Longest side a texture may have: the decoders' limit, or the driver's GL_MAX_TEXTURE_SIZE
// (`driverMax`, 0 when unknown) when that is smaller. The loaders refuse larger pictures with
// their own message.
int32_t TextureSideLimit(int32_t driverMax);

// Mipmapped texture from bottom-up pixel rows; linear / linear-mipmap-nearest filtering.
// Returns 0 (with the warning message) when no name could be made or the size is unusable.
uint32_t CreateTexture(int32_t width, int32_t height, uint32_t format, const uint8_t* pixels,
                       TLoaderMessages& messages);

// `texture` is in/out: the texture it names is deleted first, so a field reloads in place.
// A missing name falls back to the same name ending in "qvt"; ".jpg" (exact case) is JPEG,
// anything else a bitmap, full or half resolution.
bool LoadTexture(const std::string& fileName, uint32_t& texture, bool fullResolution,
                 TLoaderMessages& messages);
// RGBA texture: colour from colourFile, alpha from the red channel of alphaFile.
bool LoadTextureWithAlpha(const std::string& colourFile, const std::string& alphaFile,
                          bool fullQuality, uint32_t& texture, TLoaderMessages& messages);
bool LoadJpegTexture(const std::string& fileName, uint32_t& texture, TLoaderMessages& messages);
// Uncompressed 24-bit bitmap read straight from the file (no palette, unpadded rows).
bool LoadBmp24Texture(const std::string& fileName, uint32_t& texture, TLoaderMessages& messages);
// Any bitmap at half width and height, each pixel the truncated mean of four.
bool LoadBmpHalfTexture(const std::string& fileName, uint32_t& texture, TLoaderMessages& messages);
// BMP, JPEG or TGA by extension, with linear filters and GL_MODULATE. Resources are not
// embedded in this build: fromResource = true reports the file as not found in resource.
bool LoadGuiTexture(const std::string& fileName, uint32_t& texture, bool fromResource,
                    TLoaderMessages& messages);

// Gives every material of the model that names a texture file its texture through the cache.
void LoadMaterialTextures(TKTZGL_Model& model, const std::string& directory,
                          TLoaderMessages& messages);

// The material texture cache: 3001 entries keyed by the upper-cased full path.
inline constexpr int kTextureCacheSize = 3001;
struct TextureCacheEntry {
  std::string cacheName;  // empty = free
  uint32_t cacheTexture = 0;
};
const std::array<TextureCacheEntry, kTextureCacheSize>& TextureCache();
int32_t TextureCacheHits();
// Forgets every cache entry without deleting textures (for a new GL context).
void ResetTextureCache();

// The engine's texture table: every texture made by the loaders is registered here and
// deleted by DeleteRegisteredTextures at shutdown. Slot 0 is never used; a full table just
// stops registering.
inline constexpr int kTextureTableSize = 3000;
int RegisteredTextureCount();
void DeleteRegisteredTextures();
// Deletes one texture and drops it from the table (0 is ignored).
void DeleteTexture(uint32_t texture);

}  // namespace skerrow
