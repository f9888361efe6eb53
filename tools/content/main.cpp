// skerrow-content: writes the free content pack (a complete gdata tree) deterministically.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "content.h"
#include "icon.h"
#include "interface.h"
#include "render_art.h"

namespace {

// One line a stage, at its start, on stdout (flushed: the build shows it as it comes). The music
// stage runs on its own thread beside the others, so the lines come from two threads.
class Progress {
 public:
  explicit Progress(int stages) : stages_(stages) {}
  void Stage(const char* what) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++done_;
    Print("%d/%d %s", done_, stages_, what);
  }
  void Note(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex_);
    Print("%s", what.c_str());
  }

 private:
  template <typename... Args>
  void Print(const char* format, Args... args) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::printf("skerrow-content: %5.1f s  ", seconds);
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
  }
  std::mutex mutex_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  int stages_;
  int done_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string outDir = "./gdata";
  std::string iconDir;  // --icons DIR: only the desktop icons, as DIR/<n>x<n>/apps/skerrow.png
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      outDir = argv[++i];
    } else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc) {
      iconDir = argv[++i];
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "usage: skerrow-content [--out DIR]   (default ./gdata)\n"
          "       skerrow-content --icons DIR   (the desktop icons alone)\n");
      return 0;
    } else {
      std::fprintf(stderr, "skerrow-content: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  try {
    if (!iconDir.empty()) {
      skerrow::content::GenerateIcons(iconDir);
      return 0;
    }
    skerrow::content::Output out(outDir);
    Progress progress(11);
    std::printf("skerrow-content: writing the content pack into %s\n", outDir.c_str());
    // The levels are most of the world's time: a line as each level's land file is written
    // ("Worlds/<episode>/Data/Land<N>.lan").
    out.SetWriteWatcher([&progress](const std::string& rel) {
      const std::string worlds = "Worlds/", land = "/Data/Land";
      const size_t at = rel.find(land);
      if (rel.rfind(worlds, 0) != 0 || at == std::string::npos) return;
      const std::string episode = rel.substr(worlds.size(), at - worlds.size());
      const std::string level = rel.substr(at + land.size(), rel.find('.', at) - at - land.size());
      progress.Note("  level " + level + " of \"" + episode + "\" done");
    });
    // The music is about half of the work and needs nothing else: it is made on a second thread.
    // Every file's bytes are the same whatever the two threads' order.
    std::exception_ptr musicError;
    progress.Stage("music and logo movies (beside the rest)");
    std::thread music([&] {
      try {
        skerrow::content::GenerateMusic(out);
        progress.Note("music and logo movies done");
      } catch (...) {
        musicError = std::current_exception();
      }
    });
    struct Join {
      std::thread& t;
      ~Join() {
        if (t.joinable()) t.join();
      }
    } join{music};
    progress.Stage("unit kinds, episodes, levels and islands");
    skerrow::content::GenerateWorld(out);
    progress.Stage("ship and object models");
    skerrow::content::GenerateModels(out);
    progress.Stage("effects, explosions and pickups");
    skerrow::content::GenerateEffects(out);
    progress.Stage("HUD pictures and the large font");
    skerrow::content::GenerateHudArt(out);
    progress.Stage("editor previews");
    skerrow::content::GenerateEditorPreviews(out);
    progress.Stage("loading screens");
    skerrow::content::GenerateLoadingScreens(out);
    progress.Stage("sky, water and terrain pictures");
    skerrow::content::GenerateRenderArt(out);
    progress.Stage("menus, heroes, intro, outro and credits");
    skerrow::content::GenerateInterfaceArt(out);
    progress.Stage("sounds and hint voices");
    skerrow::content::GenerateAudio(out);  // last: it voices every hint text written before
    progress.Stage("waiting for the music");
    music.join();
    if (musicError) std::rethrow_exception(musicError);
    std::printf("skerrow-content: %zu files written to %s\n", out.Written().size(), outDir.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skerrow-content: %s\n", e.what());
    return 1;
  }
  return 0;
}
