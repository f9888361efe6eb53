// Case-insensitive path resolution on a temporary tree with mixed-case and Cyrillic names.
#include "platform/paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/cp1251.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/skerrow-paths-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    fs::create_directories(root_ + "/GData/Music");
    fs::create_directories(root_ + "/GData/Worlds/Ep1");
    fs::create_directories(root_ + "/GData/SaveGame");
    fs::create_directories(root_ + "/Twins");
    Touch("/GData/Music/Прелюдия.mp3");
    Touch("/GData/Worlds/Ep1/Level1.LAN");
    Touch("/Twins/File.txt");
    Touch("/Twins/file.txt");
    Touch("/Twins/Ёлка.txt");
    InvalidatePathCache();
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
    InvalidatePathCache();
  }
  void Touch(const std::string& rel) { std::ofstream(root_ + rel) << "x"; }
  // The game's form of a path below the tree: Windows-1251, backslashes.
  std::string Game(const std::string& utf8Rel) const {
    std::string p = Utf8ToCp1251(root_ + utf8Rel);
    for (char& c : p) {
      if (c == '/') c = '\\';
    }
    return p;
  }

  std::string root_;
};

TEST_F(PathsTest, ComponentsMatchWithoutRegardToCase) {
  struct Case {
    const char* request;  // UTF-8 here, converted to Windows-1251 by Game()
    const char* real;
  };
  const Case cases[] = {
      {"/gdata/MUSIC/ПРЕЛЮДИЯ.MP3", "/GData/Music/Прелюдия.mp3"},
      {"/GDATA/music/прелюдия.mp3", "/GData/Music/Прелюдия.mp3"},
      {"/GData/Music/Прелюдия.mp3", "/GData/Music/Прелюдия.mp3"},
      {"/gdata/worlds/EP1/level1.lan", "/GData/Worlds/Ep1/Level1.LAN"},
      {"/twins/ЁЛКА.TXT", "/Twins/Ёлка.txt"},
      {"/twins/ёлка.txt", "/Twins/Ёлка.txt"},
      {"/gdata/worlds/", "/GData/Worlds/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolvePath(Game(c.request)), root_ + c.real) << c.request;
  }
  EXPECT_TRUE(PathExists(Game("/gdata/music/прелюдия.MP3")));
  EXPECT_FALSE(DirectoryExists(Game("/gdata/music/прелюдия.MP3")));
  EXPECT_TRUE(DirectoryExists(Game("/GDATA/WORLDS/ep1")));
  EXPECT_FALSE(PathExists(Game("/gdata/music/missing.mp3")));
  EXPECT_FALSE(PathExists(""));
}

TEST_F(PathsTest, MissingTailIsKeptAsGivenBelowTheRealPrefix) {
  struct Case {
    const char* request;
    const char* result;
  };
  const Case cases[] = {
      // A new file in an existing directory of different case lands in that directory.
      {"/gdata/SAVEGAME/slot1.qvs", "/GData/SaveGame/slot1.qvs"},
      {"/gdata/worlds/Ep2/Новый/Level1.LAN", "/GData/Worlds/Ep2/Новый/Level1.LAN"},
      // Below a file nothing exists; the tail is kept.
      {"/gdata/music/прелюдия.mp3/x", "/GData/Music/Прелюдия.mp3/x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolvePath(Game(c.request)), root_ + c.result) << c.request;
  }
}

TEST_F(PathsTest, DotAndDotDotAreResolvedLexically) {
  EXPECT_EQ(ResolvePath(Game("/gdata/./music/../MUSIC/./прелюдия.mp3")),
            root_ + "/GData/Music/Прелюдия.mp3");
  // Stepping back out of a missing directory resumes matching.
  EXPECT_EQ(ResolvePath(Game("/gdata/nothere/../worlds/ep1")), root_ + "/GData/Worlds/Ep1");
  EXPECT_EQ(ResolvePath(Game("//gdata\\\\music")), root_ + "/GData/Music");
  EXPECT_EQ(ResolvePath("/../../"), "/");
}

TEST_F(PathsTest, ExactCaseWinsAmongNamesDifferingOnlyInCase) {
  EXPECT_EQ(ResolvePath(Game("/twins/file.txt")), root_ + "/Twins/file.txt");
  EXPECT_EQ(ResolvePath(Game("/twins/File.txt")), root_ + "/Twins/File.txt");
  // No exact match: the same one of the two every time.
  const std::string first = ResolvePath(Game("/twins/FILE.TXT"));
  EXPECT_TRUE(first == root_ + "/Twins/File.txt" || first == root_ + "/Twins/file.txt");
  InvalidatePathCache();
  EXPECT_EQ(ResolvePath(Game("/twins/FILE.TXT")), first);
}

TEST_F(PathsTest, CachedListingIsStaleUntilInvalidated) {
  const std::string request = Game("/gdata/music/new.mp3");
  EXPECT_EQ(ResolvePath(request), root_ + "/GData/Music/new.mp3");
  Touch("/GData/Music/NEW.MP3");
  EXPECT_EQ(ResolvePath(request), root_ + "/GData/Music/new.mp3");  // listing cached
  InvalidatePathCache();
  EXPECT_EQ(ResolvePath(request), root_ + "/GData/Music/NEW.MP3");
  EXPECT_TRUE(PathExists(request));
}

TEST_F(PathsTest, ManyDistinctRequestsStayCorrect) {
  // More requests than the result memo holds, as the screenshot numbering probes them.
  for (int n = 0; n < 5000; ++n) {
    const std::string name = "/gdata/screen" + std::to_string(n) + ".tga";
    ASSERT_EQ(ResolvePath(Game(name)), root_ + "/GData" + name.substr(6));
  }
  EXPECT_EQ(ResolvePath(Game("/GDATA/MUSIC/прелюдия.mp3")), root_ + "/GData/Music/Прелюдия.mp3");
  Touch("/GData/Screen5000.tga");
  InvalidatePathCache();
  EXPECT_TRUE(PathExists(Game("/gdata/SCREEN5000.TGA")));
}

TEST_F(PathsTest, NamesTheGameCannotSpellAreNotMatched) {
  // A snowman is outside Windows-1251: dropping it must not make "a.txt" match "a☃.txt".
  Touch("/GData/a☃.txt");
  // A name written in raw Windows-1251 bytes (not UTF-8) is still found.
  Touch("/GData/" + Utf8ToCp1251("Старый.txt"));
  InvalidatePathCache();
  EXPECT_EQ(ResolvePath(Game("/gdata/a.txt")), root_ + "/GData/a.txt");
  EXPECT_EQ(ResolvePath(Game("/gdata/СТАРЫЙ.TXT")), root_ + "/GData/" + Utf8ToCp1251("Старый.txt"));
}

TEST_F(PathsTest, RelativePathsResolveAgainstTheCurrentDirectory) {
  const fs::path saved = fs::current_path();
  fs::current_path(root_ + "/GData");
  InvalidatePathCache();
  EXPECT_EQ(ResolvePath(Utf8ToCp1251("music\\прелюдия.mp3")), "Music/Прелюдия.mp3");
  EXPECT_EQ(ResolvePath(Utf8ToCp1251(".\\MUSIC")), "Music");
  EXPECT_EQ(ResolvePath(Utf8ToCp1251("..\\twins\\ёлка.txt")), "../Twins/Ёлка.txt");
  EXPECT_EQ(ResolvePath("."), ".");
  EXPECT_EQ(ResolvePath(""), "");
  fs::current_path(saved);
  InvalidatePathCache();
}

TEST(ExecutableDirectory, HoldsTheRunningProgram) {
  const std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(dir.front(), '/');
  const fs::path exe = fs::read_symlink("/proc/self/exe");
  EXPECT_TRUE(fs::exists(dir + exe.filename().native()));
}

}  // namespace
}  // namespace skerrow
