// Shared test fixture of the play simulation: a fresh world with a player ship in open water,
// a recording fake host and a seeded random generator.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/random.h"
#include "simulation/play_host.h"
#include "support/play_world.h"
#include "world/world_state.h"

namespace skerrow::test {

struct SoundCall {
  int32_t sound;
  double x, y, z;
};

class FakeHost : public PlayHost {
 public:
  std::set<int> keysDown;
  bool windowOpen = false;
  std::vector<SoundCall> sounds;
  std::vector<int32_t> levelsEntered;
  int refreshes = 0, dispatches = 0, saves = 0, thumbnailSaves = 0, musicStops = 0;
  std::vector<std::string> musicPlayed;
  std::vector<std::pair<std::string, std::string>> hints;  // text file, voice file
  // Called by EnterLevel, e.g. to place the player in the new level.
  std::function<void(int32_t)> onEnterLevel;
  std::function<void()> onDispatch;

  void RefreshKeyboard() override { ++refreshes; }
  bool KeyDown(int vk) override { return keysDown.count(vk) != 0; }
  void PlaySound(int32_t s, double x, double y, double z) override {
    sounds.push_back({s, x, y, z});
  }
  bool PlayWindowOpen() override { return windowOpen; }
  bool EnterLevel(int32_t level) override {
    levelsEntered.push_back(level);
    if (onEnterLevel) onEnterLevel(level);
    return true;
  }
  void UpdateDispatch() override {
    ++dispatches;
    if (onDispatch) onDispatch();
  }
  void SaveToCurrentSlot() override { ++saves; }
  void SaveToCurrentSlotWithThumbnail() override { ++thumbnailSaves; }
  void StopMusic() override { ++musicStops; }
  void PlayMusic(const std::string& file) override { musicPlayed.push_back(file); }
  void ShowHint(const std::string& text, const std::string& voice) override {
    hints.emplace_back(text, voice);
  }
  int CountSound(int32_t s) const {
    int n = 0;
    for (const SoundCall& c : sounds) n += c.sound == s;
    return n;
  }
};

class SimTest : public ::testing::Test {
 protected:
  SimTest() : world_(std::make_unique<WorldState>()), w(*world_) {
    SharedRandom().Seed(20261210);
    SetPlayDefaults(w);
    w.levelSize = 200;
    // Kind classes: heroes 1..3 full ships, 6 small craft, 10 enemy ship, 4 class-4 ship.
    w.kindTable[1].kindClass = 1;
    w.kindTable[2].kindClass = 1;
    w.kindTable[3].kindClass = 1;
    w.kindTable[4].kindClass = 4;
    w.kindTable[6].kindClass = 2;
    w.kindTable[10].kindClass = 5;
    w.kindTable[133].kindClass = 1;
    MakeShip(1, 1, 100.0, 100.0);
    w.cameraPos = {100.0, 8.8, 90.0, 0.0};
  }

  UnitRecord& MakeShip(int32_t i, int32_t kind, double x, double z) {
    UnitRecord& u = w.units[i];
    u = UnitRecord{};
    u.alive = 1;
    u.unitKind = kind;
    u.posX = x;
    u.posZ = z;
    SetShipStats(u);
    return u;
  }

  UnitRecord& P() { return w.units[w.playerUnit]; }

  std::unique_ptr<WorldState> world_;
  WorldState& w;
  FakeHost host;
};

}  // namespace skerrow::test
