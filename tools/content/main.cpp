// skerrow-content: writes the free content pack (a complete gdata tree) deterministically.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

#include "content.h"
#include "icon.h"
#include "interface.h"
#include "render_art.h"

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
    // The music is about half of the work and needs nothing else: it is made on a second thread.
    // Every file's bytes are the same whatever the two threads' order.
    std::exception_ptr musicError;
    std::thread music([&] {
      try {
        skerrow::content::GenerateMusic(out);
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
    skerrow::content::GenerateWorld(out);
    skerrow::content::GenerateModels(out);
    skerrow::content::GenerateEffects(out);
    skerrow::content::GenerateHudArt(out);
    skerrow::content::GenerateEditorPreviews(out);
    skerrow::content::GenerateLoadingScreens(out);
    skerrow::content::GenerateRenderArt(out);
    skerrow::content::GenerateInterfaceArt(out);
    skerrow::content::GenerateAudio(out);  // last: it voices every hint text written before
    music.join();
    if (musicError) std::rethrow_exception(musicError);
    std::printf("skerrow-content: %zu files written to %s\n", out.Written().size(), outDir.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skerrow-content: %s\n", e.what());
    return 1;
  }
  return 0;
}
