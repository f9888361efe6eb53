// Shared pieces of the content generator: the output tree and the picture type every
// generator writes through.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace skerrow::content {

// 24-bit picture, rows top to bottom, 3 bytes per pixel (R, G, B).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  Image() = default;
  Image(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}
  uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// The gdata tree being written. Relative paths use '/' and the exact letter case the files
// get on disk; the game looks names up without regard to case.
class Output {
 public:
  explicit Output(std::filesystem::path root);
  const std::filesystem::path& Root() const { return root_; }
  // Writes bytes to root/rel, creating directories; throws std::runtime_error on failure.
  void Write(const std::string& rel, std::span<const uint8_t> bytes);
  // Uncompressed 24-bit BMP (the .qvt / .pct / .bmp picture format), rows bottom-up.
  void WriteBmp(const std::string& rel, const Image& image);
  // An alpha companion: a 24-bit BMP whose red (and green, blue) channel is `alpha`
  // (width x height bytes, rows top to bottom).
  void WriteAlphaBmp(const std::string& rel, int width, int height, std::span<const uint8_t> alpha);
  // Files written so far (relative paths), in writing order. Writes may come from more than
  // one thread (the music is made beside the rest), so this is a copy taken under the lock.
  std::vector<std::string> Written() const;
  // Called with each file's relative path once it is written, from the writing thread: the
  // program's progress lines. Set it before the generators start.
  void SetWriteWatcher(std::function<void(const std::string& rel)> watcher);

 private:
  std::filesystem::path root_;
  mutable std::mutex mutex_;
  std::vector<std::string> written_;
  std::function<void(const std::string&)> watcher_;
};

// BMP bytes of an image (24-bit, BITMAPFILEHEADER + BITMAPINFOHEADER, rows bottom-up, padded).
std::vector<uint8_t> EncodeBmp24(const Image& image);

// The generators, each writing its share of the tree. Everything is deterministic: no clock,
// no unseeded randomness.
void GenerateWorld(Output& out);         // kind pack, unit parameters, episode 1 levels, terrain
void GenerateModels(Output& out);        // ship, weapon, debris, flag and object models
void GenerateEffects(Output& out);       // effect, wake, bonus and explosion animations
void GenerateHudArt(Output& out);        // HUD panels, bars, icons, cursor, smoke, the large font
void GenerateInterfaceArt(Output& out);  // GUI atlas, fonts, menu, heroes, intro, outro, credits
// Sounds, the voices of every hint text written before it, and the logo movies.
void GenerateAudio(Output& out);
// The music tracks (MP3). They depend on nothing else written, so they may be made on a thread
// of their own beside the other generators.
void GenerateMusic(Output& out);
void GenerateMovies(Output& out);  // the three logo movies (AVI)
// The level editor's unit and trigger previews.
void GenerateEditorPreviews(Output& out);

}  // namespace skerrow::content
