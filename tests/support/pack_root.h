// A game folder of a test's own on the built content pack: its gdata links every entry of the
// pack's but savegame, so that saves land in the test's own gdata/savegame.
#pragma once

#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace skerrow::test {

inline const std::filesystem::path kPackGdata = std::filesystem::path(SKERROW_BINARY_DIR) / "gdata";

inline bool HavePack() {
  return std::filesystem::exists(kPackGdata / "Skerrow.qvp");
}

inline std::filesystem::path GameRoot(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path root = ScratchDir("saves_" + name);
  fs::create_directories(root / "gdata");
  for (const fs::directory_entry& e : fs::directory_iterator(kPackGdata)) {
    if (e.path().filename() == "savegame") continue;
    fs::create_directory_symlink(e.path(), root / "gdata" / e.path().filename());
  }
  InvalidatePathCache();
  return root;
}

}  // namespace skerrow::test
