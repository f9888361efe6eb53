// The editor store: the file-name texts in a small INI file, written atomically.
#include "editor/editor_store.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

#include "editor/editor_actions.h"
#include "platform/paths.h"
#include "world/raw_io.h"

namespace skerrow {

namespace {

constexpr const char* kSection = "SkerrowEditor settings";
constexpr size_t kMaxStoreBytes = 64 * 1024;  // six file names; anything larger is not ours

struct Key {
  const char* name;
  std::string EditorControls::*text;
};
constexpr Key kKeys[] = {
    {"levelfilenames_Text", &EditorControls::levelFile},
    {"unitsfileanmes_Text", &EditorControls::unitsFile},
    {"bonusesfilenames_Text", &EditorControls::bonusesFile},
    {"bitmapfilenames_Text", &EditorControls::bitmapFile},
    {"colorsfilenames_Text", &EditorControls::colorsFile},
    {"collisionsfilenames_Text", &EditorControls::collisionsFile},
};

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  const size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

}  // namespace

std::string EditorStorePath() {
  const std::string folder = UserConfigFolder();
  return folder.empty() ? folder : folder + "editor.ini";
}

void LoadEditorStore(const std::string& path, EditorControls& ctl) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return;
  if (std::filesystem::file_size(path, ec) > kMaxStoreBytes || ec) return;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (!line.empty() && line.front() == '[') {
      inSection = line == std::string("[") + kSection + "]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, eq));
    for (const Key& k : kKeys) {
      if (key == k.name) ctl.*k.text = Trim(line.substr(eq + 1));
    }
  }
}

bool SaveEditorStore(const std::string& path, const EditorControls& ctl) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  std::ostringstream out;
  out << "[" << kSection << "]\n";
  for (const Key& k : kKeys) {
    std::string text = ctl.*k.text;
    // One line per key: a line break in a name would start a new key.
    for (char& ch : text)
      if (ch == '\n' || ch == '\r') ch = ' ';
    out << k.name << "=" << text << "\n";
  }
  const std::string bytes = out.str();
  return WriteFileRange(path,
                        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace skerrow
