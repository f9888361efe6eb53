// Fuzz target: settings.dat through the settings reader, the display it asks for, and the
// writer's round trip (what the game writes back reads as the same options).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "shell/command_line.h"
#include "shell/settings.h"

namespace {

using namespace skerrow;

bool SameSettings(const StoredSettings& a, const StoredSettings& b) {
  return a.ddraw_DisplayBitCount == b.ddraw_DisplayBitCount &&
         a.ddraw_DisplayFixedBitCount == b.ddraw_DisplayFixedBitCount &&
         a.ddraw_DisplayFixedRatio == b.ddraw_DisplayFixedRatio &&
         a.ddraw_DisplayFixedSize == b.ddraw_DisplayFixedSize &&
         a.ddraw_DisplayHeight == b.ddraw_DisplayHeight &&
         a.ddraw_DisplayWidth == b.ddraw_DisplayWidth && a.ddraw_Options == b.ddraw_Options &&
         a.qualityterraintexture == b.qualityterraintexture &&
         a.fourpeppelines == b.fourpeppelines && a.terrainreflections == b.terrainreflections &&
         a.maxshadowsnumber == b.maxshadowsnumber && a.playmusic == b.playmusic &&
         a.t_musicvolume == b.t_musicvolume && a.stretchmovies == b.stretchmovies &&
         a.sounds == b.sounds && a.sound3d == b.sound3d && a.tershadows == b.tershadows &&
         a.hintssound == b.hintssound && a.hqeffects == b.hqeffects;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  // The reader takes a path: the input lives in an anonymous memory file.
  static const int fd = memfd_create("settings.dat", 0);
  if (fd < 0) return 0;
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  StoredSettings s;
  if (!RestoreSettings("/proc/self/fd/" + std::to_string(fd), s)) __builtin_trap();
  // The two clamped options stay in their ranges whatever the file says.
  if (!(s.maxshadowsnumber >= 0 && s.maxshadowsnumber <= 50)) __builtin_trap();
  if (s.t_musicvolume < 0 || s.t_musicvolume > 100) __builtin_trap();

  CommandLine options;
  DisplayFromSettings(s, options);
  options.headless = true;
  const platform::DisplayConfig headless = DisplayFromSettings(s, options);
  if (headless.fullscreen) __builtin_trap();

  // Written back over the same file and read again: the same options. (The bytes of a second
  // write may still differ: each write drops a leading byte-order mark.)
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string written = FormatSettings(s, text);
  StoredSettings again;
  ParseSettings(written, again);
  if (!SameSettings(s, again)) __builtin_trap();
  return 0;
}
