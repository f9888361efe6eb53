// Shared fixture of the editor tests: a fresh world in the editor view on a flat floor, the
// editor's controls, an undo journal and a fake host that records messages and level changes.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_actions.h"
#include "platform/random.h"
#include "support/temp_dir.h"
#include "world/world_state.h"

namespace skerrow::test {

class FakeEditorHost : public EditorHost {
 public:
  std::vector<std::string> messages;
  std::vector<int32_t> levels;
  std::map<std::string, LevelPicture> pictures;  // by game path

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool EnterLevel(int32_t number) override {
    levels.push_back(number);
    return true;
  }
  bool ReadPicture(const std::string& gamePath, LevelPicture& out) override {
    auto it = pictures.find(gamePath);
    if (it == pictures.end()) return false;
    out = it->second;
    return true;
  }
};

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : world_(std::make_unique<WorldState>()), w(*world_), c{w, ctl, host, undo} {
    SharedRandom().Seed(20261210);
    w.GameMode = 3;
    w.gameSpeed = 40;
    w.playerUnit = 1;
    w.levelSize = 200;
    w.heightBrush = 5;
    std::memset(w.heightMap, 100, sizeof(w.heightMap));
  }

  // A scratch game directory (appPath) with gdata/parameters in it.
  std::string UseScratchRoot(const std::string& name) {
    const auto dir = ScratchDir(name);
    std::filesystem::create_directories(dir / "gdata" / "parameters");
    w.appPath = dir.string() + "/";
    return w.appPath;
  }

  std::unique_ptr<WorldState> world_;
  WorldState& w;
  EditorControls ctl;
  FakeEditorHost host;
  UndoJournal undo;
  EditorContext c;
};

}  // namespace skerrow::test
