// The stored options of settings.dat: an INI file whose section "Skerrow Settings" holds the
// option controls' names and properties ("sounds_Checked", "ddraw_DisplayWidth"), and whose
// section "Skerrow Keys" holds the key of each rebindable action ("ctlForward=38"). A reader
// that knows only the first section skips the second, and keeps it when it rewrites the file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/key_bindings.h"
#include "platform/platform.h"
#include "shell/command_line.h"

namespace skerrow {

// Members of the display option set (ddraw_Options), by ordinal; bit i of the set is member i.
enum DisplayOption : uint32_t {
  doFullScreen = 0,
  doNoWindowChange,
  doAllowReboot,
  doWaitVBlank,
  doAllowPalette256,
  doSystemMemory,
  doStretch,
  doCenter,
  doFlip,
  do3D,
  doRetainedMode,
  doHardware,
  doSelectDriver,
  doZBuffer,
  kDisplayOptionCount
};

constexpr uint32_t DisplayOptionBit(DisplayOption o) {
  return 1u << static_cast<uint32_t>(o);
}

// The option controls' values; the initialisers are the defaults that hold whenever the file
// or a key is missing.
struct StoredSettings {
  int32_t FormVersion = 0;
  // ddraw.Display: the full-screen display mode.
  int32_t ddraw_DisplayBitCount = 32;
  bool ddraw_DisplayFixedBitCount = true;
  bool ddraw_DisplayFixedRatio = true;
  bool ddraw_DisplayFixedSize = false;
  int32_t ddraw_DisplayHeight = 1024;
  int32_t ddraw_DisplayWidth = 1280;
  uint32_t ddraw_Options = DisplayOptionBit(doFullScreen) | DisplayOptionBit(doAllowReboot) |
                           DisplayOptionBit(doWaitVBlank) | DisplayOptionBit(doCenter) |
                           DisplayOptionBit(doRetainedMode) | DisplayOptionBit(doHardware) |
                           DisplayOptionBit(doSelectDriver);
  bool qualityterraintexture = true;
  bool fourpeppelines = true;
  bool terrainreflections = true;
  double maxshadowsnumber = 1;  // 0..50
  bool playmusic = true;
  int32_t t_musicvolume = 100;  // 0..100
  bool stretchmovies = false;
  bool sounds = true;
  bool sound3d = true;
  bool tershadows = true;
  bool hintssound = true;
  bool hqeffects = true;
  // The cheaper sea for machines that draw without a graphics card (render_state.h).
  bool fastsea = false;
  // "Skerrow Keys": virtual-key codes, the game keys by default.
  KeyBindings keys;

  bool FullScreen() const { return (ddraw_Options & DisplayOptionBit(doFullScreen)) != 0; }
};

// Reads every key of the section into `settings`. A missing file, section or key leaves the
// value it has; a value that does not convert leaves that one value and the rest are still
// read. Blanks around values are removed. `text` is the file's content. A key of "Skerrow Keys"
// takes a bindable virtual-key code (BindableKey); when the keys read give one key to two
// actions, the whole section is refused and the bindings stay as they were.
void ParseSettings(const std::string& text, StoredSettings& settings);
// RestoreSettings: the file at `path` (a game path, any letter case); false when it is missing
// or cannot be read, and `settings` keeps its values. A file that is there but cannot be read (a
// directory, FIFO or device, a read error, longer than 1 MiB) sets `problem` to why.
bool RestoreSettings(const std::string& path, StoredSettings& settings,
                     std::string* problem = nullptr);

// The file content with FormVersion = 0 and every key from `settings`, in both sections. Lines
// of `existing` outside the two sections, and keys in them that are not ours, are kept.
std::string FormatSettings(const StoredSettings& settings, const std::string& existing = {});
// SaveSettings: writes to a temporary file beside `path` and renames it over the file, so an
// interrupted write never leaves a half-written settings file. False when it cannot be written,
// or when the old file is there but cannot be read (it is then left as it is).
bool SaveSettings(const std::string& path, const StoredSettings& settings);

// The display of a run: with doFullScreen the whole desktop at whatever size it has (the size
// the window reports is the display size), otherwise a window of the stored width and height.
// --windowed, --fullscreen and --size override for this run only (--size alone means a window
// of that size); a headless run is never full screen and is 800 x 600 unless --size is given.
// A window of the stored size is fitted to the desktop when it opens (fitToDesktop).
platform::DisplayConfig DisplayFromSettings(const StoredSettings& settings,
                                            const CommandLine& options);

// Value conversions as the file holds them.
std::string FormatDisplayOptions(uint32_t set);  // "[doFullScreen,doCenter]"
bool ParseDisplayOptions(const std::string& text, uint32_t& set);
std::string FormatSettingsNumber(double v);  // shortest form, "." as the decimal point
bool ParseSettingsNumber(const std::string& text, double& v);

}  // namespace skerrow
