// Fixture of the enemy, destruction and trigger tests: the simulation fixture with every kind's
// movement class from the role table, the player's ship at (100, 0, 100) heading -z, the
// camera over it, and a scratch game folder for hint and parameter files.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "simulation/sim_fixture.h"
#include "support/temp_dir.h"
#include "world/vocabulary.h"

namespace skerrow::test {

class EnemiesTest : public SimTest {
 protected:
  EnemiesTest() {
    for (int32_t k = 0; k < kKindCount; ++k) w.kindTable[k].kindClass = kKindRoles[k].kindClass;
    w.cameraPos = {100.0, 8.8, 106.0, 0.0};
    w.episode = 1;
    w.levelNumber = 1;
  }

  // A computer-controlled unit of `kind` in slot i.
  UnitRecord& Enemy(int32_t i, int32_t kind, double x, double z, double heading = 0.0) {
    UnitRecord& u = MakeShip(i, kind, x, z);
    u.haveAI = 1;
    u.rotY = heading;
    return u;
  }

  // appPath on a fresh scratch folder; files are created under it by game path.
  std::filesystem::path UseGameFolder(const std::string& name) {
    root_ = ScratchDir(name);
    w.appPath = root_.string() + "/";
    return root_;
  }
  void WriteGameFile(const std::string& relative, const std::string& bytes) {
    const std::filesystem::path p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }

  std::filesystem::path root_;
};

}  // namespace skerrow::test
