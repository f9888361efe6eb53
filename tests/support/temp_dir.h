// Empty scratch directories for tests that run the game on a folder of their own; every one
// made is removed with its content when the test program ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace skerrow::test {

// `<temp>/skerrow_<name><pid>`, emptied now and removed at exit.
inline std::filesystem::path ScratchDir(const std::string& name) {
  struct Made {
    std::vector<std::filesystem::path> paths;
    ~Made() {
      std::error_code ec;
      for (const auto& p : paths) std::filesystem::remove_all(p, ec);
    }
  };
  static Made made;
  const std::filesystem::path p =
      std::filesystem::temp_directory_path() / ("skerrow_" + name + std::to_string(::getpid()));
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  made.paths.push_back(p);
  return p;
}

}  // namespace skerrow::test
