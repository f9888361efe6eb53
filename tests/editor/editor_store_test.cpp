// The editor store: where it lives, a round trip of the six file names, and what a damaged
// or foreign file leaves alone.
#include "editor/editor_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editor/editor_actions.h"
#include "support/temp_dir.h"

namespace skerrow::test {
namespace {

namespace fs = std::filesystem;

TEST(EditorStore, LivesUnderXdgConfigHomeOrHome) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = xdg ? xdg : "";
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(EditorStorePath(), "/cfg/skerrow/editor.ini");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/designer", 1);
  EXPECT_EQ(EditorStorePath(), "/home/designer/.config/skerrow/editor.ini");
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_EQ(EditorStorePath(), "");
  if (xdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  if (home) setenv("HOME", savedHome.c_str(), 1);
}

TEST(EditorStore, RoundTripsTheSixFileNames) {
  const fs::path dir = ScratchDir("editor_store");
  const std::string path = (dir / "new" / "editor.ini").string();  // the folder is made
  EditorControls out;
  out.levelFile = "gdata\\Worlds\\x\\data\\Land1.lan";
  out.unitsFile = "/abs/normal1.unt";
  out.bonusesFile = "b.bon";
  out.bitmapFile = "floor.bmp";
  out.colorsFile = "colours.bmp";
  out.collisionsFile = "collisions.bmp";
  ASSERT_TRUE(SaveEditorStore(path, out));
  EXPECT_FALSE(fs::exists(path + ".part"));
  std::ifstream f(path);
  const std::string text((std::istreambuf_iterator<char>(f)), {});
  EXPECT_EQ(text,
            "[SkerrowEditor settings]\n"
            "levelfilenames_Text=gdata\\Worlds\\x\\data\\Land1.lan\n"
            "unitsfileanmes_Text=/abs/normal1.unt\n"
            "bonusesfilenames_Text=b.bon\n"
            "bitmapfilenames_Text=floor.bmp\n"
            "colorsfilenames_Text=colours.bmp\n"
            "collisionsfilenames_Text=collisions.bmp\n");
  EditorControls in;
  LoadEditorStore(path, in);
  EXPECT_EQ(in.levelFile, out.levelFile);
  EXPECT_EQ(in.unitsFile, out.unitsFile);
  EXPECT_EQ(in.bonusesFile, out.bonusesFile);
  EXPECT_EQ(in.bitmapFile, out.bitmapFile);
  EXPECT_EQ(in.colorsFile, out.colorsFile);
  EXPECT_EQ(in.collisionsFile, out.collisionsFile);
}

TEST(EditorStore, KeysOutsideTheSectionAndDamagedLinesChangeNothing) {
  const fs::path dir = ScratchDir("editor_store_bad");
  const std::string path = (dir / "editor.ini").string();
  {
    std::ofstream f(path);
    f << "levelfilenames_Text=before-section\n[Other]\nunitsfileanmes_Text=other\n"
         "[SkerrowEditor settings]\r\nno equals sign\n  bonusesfilenames_Text =  kept.bon  \r\n";
  }
  EditorControls in;
  in.levelFile = "L";
  in.unitsFile = "U";
  LoadEditorStore(path, in);
  EXPECT_EQ(in.levelFile, "L");
  EXPECT_EQ(in.unitsFile, "U");
  EXPECT_EQ(in.bonusesFile, "kept.bon");
  LoadEditorStore((dir / "missing.ini").string(), in);
  LoadEditorStore(dir.string(), in);  // a folder
  EXPECT_EQ(in.bonusesFile, "kept.bon");
}

}  // namespace
}  // namespace skerrow::test
