// settings.dat: reading and writing the stored options as INI text.
#include "shell/settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

#include "platform/file_read.h"
#include "platform/paths.h"
#include "world/raw_io.h"

namespace skerrow {
namespace {

constexpr std::string_view kSection = "Skerrow Settings";
constexpr std::string_view kKeysSection = "Skerrow Keys";
// settings.dat is some 40 short lines; a file past this is not one (40 MB of line ends took a
// gigabyte of line records).
constexpr size_t kMaxSettingsBytes = size_t{1} << 20;

constexpr const char* kOptionNames[kDisplayOptionCount] = {
    "doFullScreen",   "doNoWindowChange", "doAllowReboot",  "doWaitVBlank", "doAllowPalette256",
    "doSystemMemory", "doStretch",        "doCenter",       "doFlip",       "do3D",
    "doRetainedMode", "doHardware",       "doSelectDriver", "doZBuffer"};

enum class KeyType { kInt, kBool, kNumber, kSet };

// One key of the section: its name, how its value converts, where it lives and which values
// it takes. An integer or number outside lo..hi is brought into the range when the key is a
// control that clamps its own value (a spin edit, a scroll bar), and does not convert
// otherwise.
struct KeyDef {
  const char* name;
  KeyType type;
  int32_t StoredSettings::*intField = nullptr;
  bool StoredSettings::*boolField = nullptr;
  double StoredSettings::*numberField = nullptr;
  uint32_t StoredSettings::*setField = nullptr;
  double lo = 0;
  double hi = 0;
  bool clamps = false;
};

KeyDef IntKey(const char* name, int32_t StoredSettings::*f, double lo, double hi) {
  KeyDef k{name, KeyType::kInt};
  k.intField = f;
  k.lo = lo;
  k.hi = hi;
  return k;
}
KeyDef BoolKey(const char* name, bool StoredSettings::*f) {
  KeyDef k{name, KeyType::kBool};
  k.boolField = f;
  return k;
}

// In the order the file is written. FormVersion is handled apart (always written as 0).
const std::vector<KeyDef>& Keys() {
  static const std::vector<KeyDef> keys = [] {
    std::vector<KeyDef> k;
    k.push_back(IntKey("ddraw_DisplayBitCount", &StoredSettings::ddraw_DisplayBitCount, 1, 32));
    k.push_back(BoolKey("ddraw_DisplayFixedBitCount", &StoredSettings::ddraw_DisplayFixedBitCount));
    k.push_back(BoolKey("ddraw_DisplayFixedRatio", &StoredSettings::ddraw_DisplayFixedRatio));
    k.push_back(BoolKey("ddraw_DisplayFixedSize", &StoredSettings::ddraw_DisplayFixedSize));
    // Display sizes: anything a window can have.
    k.push_back(IntKey("ddraw_DisplayHeight", &StoredSettings::ddraw_DisplayHeight, 1, 16384));
    k.push_back(IntKey("ddraw_DisplayWidth", &StoredSettings::ddraw_DisplayWidth, 1, 16384));
    KeyDef set{"ddraw_Options", KeyType::kSet};
    set.setField = &StoredSettings::ddraw_Options;
    k.push_back(set);
    k.push_back(BoolKey("qualityterraintexture_Checked", &StoredSettings::qualityterraintexture));
    k.push_back(BoolKey("fourpeppelines_Checked", &StoredSettings::fourpeppelines));
    k.push_back(BoolKey("terrainreflections_Checked", &StoredSettings::terrainreflections));
    KeyDef shadows{"maxshadowsnumber_Value", KeyType::kNumber};
    shadows.numberField = &StoredSettings::maxshadowsnumber;
    shadows.lo = 0;
    shadows.hi = 50;
    shadows.clamps = true;  // spin edit
    k.push_back(shadows);
    k.push_back(BoolKey("playmusic_Checked", &StoredSettings::playmusic));
    KeyDef volume = IntKey("t_musicvolume_Position", &StoredSettings::t_musicvolume, 0, 100);
    volume.clamps = true;  // scroll bar
    k.push_back(volume);
    k.push_back(BoolKey("stretchmovies_Checked", &StoredSettings::stretchmovies));
    k.push_back(BoolKey("sounds_Checked", &StoredSettings::sounds));
    k.push_back(BoolKey("sound3d_Checked", &StoredSettings::sound3d));
    k.push_back(BoolKey("tershadows_Checked", &StoredSettings::tershadows));
    k.push_back(BoolKey("hintssound_Checked", &StoredSettings::hintssound));
    k.push_back(BoolKey("hqeffects_Checked", &StoredSettings::hqeffects));
    k.push_back(BoolKey("fastsea_Checked", &StoredSettings::fastsea));
    return k;
  }();
  return keys;
}

std::string_view Trim(std::string_view s) {
  const char* blanks = " \t\r\n";
  const size_t b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(blanks);
  return s.substr(b, e - b + 1);
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool ParseInt(std::string_view text, int32_t& v) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (n < INT32_MIN || n > INT32_MAX) return false;
  v = static_cast<int32_t>(n);
  return true;
}

bool ParseBool(std::string_view text, bool& v) {
  if (SameText(text, "True")) {
    v = true;
    return true;
  }
  if (SameText(text, "False")) {
    v = false;
    return true;
  }
  return false;
}

// Splits INI text into lines (any of \r\n, \n, \r). A UTF-8 byte-order mark that an editor
// put before the first line is not part of it, nor are repeated ones: the rewrite drops them
// all, so a mark left in front would give the rewritten file another first line.
std::vector<std::string_view> Lines(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  while (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      out.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) out.push_back(text.substr(start));
  return out;
}

// "[name]" gives name; anything else nothing.
bool SectionHeader(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return false;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return !key.empty();
}

void ApplyValue(const KeyDef& k, std::string_view value, StoredSettings& s) {
  switch (k.type) {
    case KeyType::kInt: {
      int32_t v = 0;
      if (!ParseInt(value, v)) break;
      if (k.clamps) {
        s.*k.intField = static_cast<int32_t>(std::clamp<double>(v, k.lo, k.hi));
      } else if (v >= k.lo && v <= k.hi) {
        s.*k.intField = v;
      }
      break;
    }
    case KeyType::kBool: {
      bool v = false;
      if (ParseBool(value, v)) s.*k.boolField = v;
      break;
    }
    case KeyType::kNumber: {
      double v = 0;
      if (!ParseSettingsNumber(std::string(value), v)) break;
      if (k.clamps) {
        s.*k.numberField = std::clamp(v, k.lo, k.hi);
      } else if (v >= k.lo && v <= k.hi) {
        s.*k.numberField = v;
      }
      break;
    }
    case KeyType::kSet: {
      uint32_t v = 0;
      if (ParseDisplayOptions(std::string(value), v)) s.*k.setField = v;
      break;
    }
  }
}

std::string FormatValue(const KeyDef& k, const StoredSettings& s) {
  switch (k.type) {
    case KeyType::kInt:
      return std::to_string(s.*k.intField);
    case KeyType::kBool:
      return s.*k.boolField ? "True" : "False";
    case KeyType::kNumber:
      return FormatSettingsNumber(s.*k.numberField);
    case KeyType::kSet:
      return FormatDisplayOptions(s.*k.setField);
  }
  return {};
}

const KeyDef* FindKey(std::string_view name) {
  for (const KeyDef& k : Keys()) {
    if (SameText(name, k.name)) return &k;
  }
  return nullptr;
}

int32_t KeyActionByName(std::string_view name) {
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    if (SameText(name, KeyActionRow(a).storedName)) return a;
  }
  return -1;
}

// The "Skerrow Keys" section: the first value of each action that names a bindable key.
void ParseKeys(const std::vector<std::string_view>& lines, KeyBindings& bindings) {
  KeyBindings read = bindings;
  std::array<bool, kKeyActionCount> seen{};
  bool inSection = false;
  for (std::string_view line : lines) {
    std::string_view name, key, value;
    if (SectionHeader(line, name)) {
      inSection = SameText(name, kKeysSection);
      continue;
    }
    if (!inSection || !KeyValue(line, key, value)) continue;
    const int32_t action = KeyActionByName(key);
    if (action < 0 || seen[action]) continue;
    seen[action] = true;
    int32_t vk = 0;
    if (ParseInt(value, vk) && BindableKey(vk)) read.keys[action] = vk;
  }
  if (KeysDistinct(read)) bindings = read;
}

// `existing` with section `section` replaced by `ours` (a header and its keys). Lines of the
// section whose key `owned` names are dropped, its other non-blank lines follow `ours`; with no
// such section `ours` is appended.
std::string ReplaceSection(const std::string& existing, std::string_view section,
                           const std::string& ours, bool (*owned)(std::string_view key)) {
  std::string out;
  std::string keptInSection;
  bool inSection = false;
  bool placed = false;
  for (std::string_view line : Lines(existing)) {
    std::string_view name;
    if (SectionHeader(line, name)) {
      if (inSection && !placed) {
        out += ours + keptInSection;
        placed = true;
      }
      inSection = SameText(name, section);
      if (inSection) continue;
    }
    if (inSection) {
      std::string_view key, value;
      if (KeyValue(line, key, value) && owned(key)) continue;
      if (!Trim(line).empty()) keptInSection += std::string(line) + "\r\n";
      continue;
    }
    out += std::string(line) + "\r\n";
  }
  if (!placed) out += ours + keptInSection;
  return out;
}

bool OwnedSettingsKey(std::string_view key) {
  return SameText(key, "FormVersion") || FindKey(key) != nullptr;
}

bool OwnedKeysKey(std::string_view key) {
  return KeyActionByName(key) >= 0;
}

}  // namespace

std::string FormatDisplayOptions(uint32_t set) {
  std::string out = "[";
  bool first = true;
  for (uint32_t i = 0; i < kDisplayOptionCount; ++i) {
    if ((set & (1u << i)) == 0) continue;
    if (!first) out += ',';
    out += kOptionNames[i];
    first = false;
  }
  return out + "]";
}

bool ParseDisplayOptions(const std::string& text, uint32_t& set) {
  std::string_view t = Trim(text);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  t = Trim(t.substr(1, t.size() - 2));
  uint32_t result = 0;
  while (!t.empty()) {
    const size_t comma = t.find(',');
    const std::string_view member = Trim(t.substr(0, comma));
    bool found = false;
    for (uint32_t i = 0; i < kDisplayOptionCount; ++i) {
      if (SameText(member, kOptionNames[i])) {
        result |= 1u << i;
        found = true;
      }
    }
    if (!found) return false;
    if (comma == std::string_view::npos) break;
    t = t.substr(comma + 1);
    if (Trim(t).empty()) return false;  // "[a,]"
  }
  set = result;
  return true;
}

std::string FormatSettingsNumber(double v) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof(buf), v);
  if (ec != std::errc()) return "0";
  return std::string(buf, end);
}

bool ParseSettingsNumber(const std::string& text, double& v) {
  std::string_view t = Trim(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double n = 0;
  const auto [end, ec] =
      std::from_chars(t.data(), t.data() + t.size(), n, std::chars_format::general);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(n)) {
    return false;
  }
  v = n;
  return true;
}

void ParseSettings(const std::string& text, StoredSettings& settings) {
  // The stored set is restored only when its FormVersion is at least the form's, 0: a file
  // without one counts as 0, a negative one leaves every property as it is.
  const std::vector<std::string_view> lines = Lines(text);
  bool inSection = false;
  bool versionSeen = false;
  int32_t version = 0;
  for (std::string_view line : lines) {
    std::string_view name, key, value;
    if (SectionHeader(line, name)) {
      inSection = SameText(name, kSection);
    } else if (inSection && !versionSeen && KeyValue(line, key, value) &&
               SameText(key, "FormVersion")) {
      versionSeen = true;
      if (!ParseInt(value, version)) version = 0;
    }
  }
  if (version < 0) return;
  settings.FormVersion = 0;

  inSection = false;
  std::vector<bool> seen(Keys().size(), false);
  for (std::string_view line : lines) {
    std::string_view name;
    if (SectionHeader(line, name)) {
      inSection = SameText(name, kSection);
      continue;
    }
    std::string_view key, value;
    if (!inSection || !KeyValue(line, key, value)) continue;
    const KeyDef* k = FindKey(key);
    if (k == nullptr) continue;
    const size_t index = static_cast<size_t>(k - Keys().data());
    if (seen[index]) continue;  // the first of repeated keys counts, as INI readers do
    seen[index] = true;
    ApplyValue(*k, value, settings);
  }
  ParseKeys(lines, settings.keys);
}

bool RestoreSettings(const std::string& path, StoredSettings& settings, std::string* problem) {
  std::vector<uint8_t> bytes;
  const platform::FileRead r = platform::ReadRegularFile(ResolvePath(path), kMaxSettingsBytes, bytes);
  if (r != platform::FileRead::kOk) {
    if (problem != nullptr && r != platform::FileRead::kMissing) {
      *problem = platform::FileReadText(r, kMaxSettingsBytes);
    }
    return false;
  }
  ParseSettings(std::string(bytes.begin(), bytes.end()), settings);
  return true;
}

std::string FormatSettings(const StoredSettings& settings, const std::string& existing) {
  std::string ours = "[" + std::string(kSection) + "]\r\nFormVersion=0\r\n";
  for (const KeyDef& k : Keys())
    ours += std::string(k.name) + "=" + FormatValue(k, settings) + "\r\n";
  std::string keys = "[" + std::string(kKeysSection) + "]\r\n";
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    keys += std::string(KeyActionRow(a).storedName) + "=" + std::to_string(settings.keys.keys[a]) +
            "\r\n";
  }
  const std::string withSettings = ReplaceSection(existing, kSection, ours, OwnedSettingsKey);
  return ReplaceSection(withSettings, kKeysSection, keys, OwnedKeysKey);
}

platform::DisplayConfig DisplayFromSettings(const StoredSettings& settings,
                                            const CommandLine& options) {
  platform::DisplayConfig cfg;
  cfg.headless = options.headless;
  const bool sizeGiven = options.width > 0 && options.height > 0;
  if (options.headless) {
    cfg.fullscreen = false;
    if (sizeGiven) {
      cfg.width = options.width;
      cfg.height = options.height;
    }
    return cfg;
  }
  cfg.fullscreen = options.fullscreen.value_or(sizeGiven ? false : settings.FullScreen());
  cfg.width = sizeGiven ? options.width : settings.ddraw_DisplayWidth;
  cfg.height = sizeGiven ? options.height : settings.ddraw_DisplayHeight;
  // A stored size may be anything up to 16384: the window is fitted to the desktop.
  cfg.fitToDesktop = !sizeGiven && !cfg.fullscreen;
  return cfg;
}

bool SaveSettings(const std::string& path, const StoredSettings& settings) {
  // The old file's other sections and keys are kept; one that is there but cannot be read is
  // not replaced (its content would be lost, and a directory or device is not ours to replace).
  std::vector<uint8_t> old;
  const platform::FileRead r = platform::ReadRegularFile(ResolvePath(path), kMaxSettingsBytes, old);
  if (r != platform::FileRead::kOk && r != platform::FileRead::kMissing) return false;
  const std::string existing(old.begin(), old.end());
  const std::string text = FormatSettings(settings, existing);
  return WriteFileRange(
      path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace skerrow
