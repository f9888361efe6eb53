// Path resolution on the hot path: with the listings cached a lookup must not touch the disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/cp1251.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

// A small game-like tree under /tmp, removed when the program ends.
struct Tree {
  Tree() {
    char tmpl[] = "/tmp/skerrow-bench-paths-XXXXXX";
    root = mkdtemp(tmpl) ? tmpl : "/tmp";
    fs::create_directories(root + "/GData/Textures/Effects");
    fs::create_directories(root + "/GData/Music");
    for (int i = 0; i < 200; ++i) {
      std::ofstream(root + "/GData/Textures/Effects/Tex" + std::to_string(i) + ".QVT") << "x";
    }
    std::ofstream(root + "/GData/Music/Прелюдия.mp3") << "x";
  }
  ~Tree() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string root;
};

Tree& TheTree() {
  static Tree tree;
  return tree;
}

void BM_ResolveCachedTexture(benchmark::State& state) {
  const std::string request = TheTree().root + "\\gdata\\textures\\effects\\tex150.qvt";
  skerrow::ResolvePath(request);  // fills the cache
  for (auto _ : state) benchmark::DoNotOptimize(skerrow::ResolvePath(request));
}
BENCHMARK(BM_ResolveCachedTexture);

void BM_ResolveCachedCyrillic(benchmark::State& state) {
  const std::string request =
      TheTree().root + skerrow::Utf8ToCp1251("\\GData\\MUSIC\\ПРЕЛЮДИЯ.MP3");
  skerrow::ResolvePath(request);
  for (auto _ : state) benchmark::DoNotOptimize(skerrow::ResolvePath(request));
}
BENCHMARK(BM_ResolveCachedCyrillic);

void BM_ResolveUncached(benchmark::State& state) {
  const std::string request = TheTree().root + "\\gdata\\textures\\effects\\tex150.qvt";
  for (auto _ : state) {
    skerrow::InvalidatePathCache();
    benchmark::DoNotOptimize(skerrow::ResolvePath(request));
  }
}
BENCHMARK(BM_ResolveUncached);

}  // namespace
