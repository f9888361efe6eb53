// Where the data is looked for and where the player's files go: the search order, portable
// against per-user folders, the XDG variables and their fallbacks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

// Sets (or unsets, with nullopt) an environment variable for the test's scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The player's folders back to portable after each test: other tests of the program build
// their paths beside gdata.
class GameFoldersTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetUserFolders(GameFolders{});
    InvalidatePathCache();
  }
};

TEST_F(GameFoldersTest, SearchOrderIsRootAloneOrExecutableThenShareThenInstalledPrefix) {
  struct Case {
    const char* root;
    const char* exe;
    const char* installed;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"",
       "/opt/sk/bin/",
       "/usr/share/skerrow",
       {"/opt/sk/bin/", "/opt/sk/share/skerrow/", "/usr/share/skerrow/"}},
      // The compiled-in prefix is where the executable's own tree points: tried once.
      {"", "/usr/bin/", "/usr/share/skerrow", {"/usr/bin/", "/usr/share/skerrow/"}},
      {"", "/usr/games/", "", {"/usr/games/", "/usr/share/skerrow/"}},
      // --root wins: nothing else is tried, with or without its separator.
      {"/data/sk", "/usr/bin/", "/usr/share/skerrow", {"/data/sk/"}},
      {"rel\\dir\\", "/usr/bin/", "/usr/share/skerrow", {"rel\\dir\\"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DataSearchOrder(c.root, c.exe, c.installed), c.order) << c.root << " " << c.exe;
  }
}

TEST_F(GameFoldersTest, XdgFoldersFallBackToHomeAndIgnoreRelativeValues) {
  struct Case {
    std::optional<std::string> xdgConfig, xdgData, home;
    const char* config;
    const char* data;
  };
  const Case cases[] = {
      {"/x/cfg", "/x/data/", "/home/p", "/x/cfg/skerrow/", "/x/data/skerrow/"},
      {std::nullopt, std::nullopt, "/home/p", "/home/p/.config/skerrow/",
       "/home/p/.local/share/skerrow/"},
      {"relative", "", "/home/p/", "/home/p/.config/skerrow/", "/home/p/.local/share/skerrow/"},
      {std::nullopt, std::nullopt, std::nullopt, "", ""},
      {"/x/cfg", std::nullopt, "", "/x/cfg/skerrow/", ""},
  };
  for (const Case& c : cases) {
    ScopedEnv a("XDG_CONFIG_HOME", c.xdgConfig), b("XDG_DATA_HOME", c.xdgData), h("HOME", c.home);
    EXPECT_EQ(UserConfigFolder(), c.config);
    EXPECT_EQ(UserDataFolder(), c.data);
  }
}

TEST_F(GameFoldersTest, FirstFolderHoldingGdataWinsAndDecidesPortableOrPerUser) {
  const fs::path dir = test::ScratchDir("game_folders");
  const std::string empty = (dir / "empty").string() + "/";
  const std::string beside = (dir / "bin").string() + "/";
  const std::string share = (dir / "share" / "skerrow").string() + "/";
  fs::create_directories(empty);
  fs::create_directories(beside + "GDATA");  // any letter case
  fs::create_directories(share + "gdata");
  InvalidatePathCache();
  ScopedEnv a("XDG_CONFIG_HOME", (dir / "cfg").string()), b("XDG_DATA_HOME", std::nullopt),
      h("HOME", (dir / "home").string());
  const std::string cfg = (dir / "cfg" / "skerrow").string() + "/";
  const std::string data = (dir / "home" / ".local" / "share" / "skerrow").string() + "/";
  struct Case {
    std::vector<std::string> searched;
    bool writable;
    std::string root;
    bool portable;
  };
  const Case cases[] = {
      {{beside, share}, true, beside, true},    // a writable game folder: portable
      {{beside, share}, false, beside, false},  // read-only: the player's folders
      {{empty, share}, true, share, false},     // installed data is never written
      {{empty}, true, "", true},                // nothing found
  };
  for (const Case& c : cases) {
    const GameFolders f =
        FindGameFolders(c.searched, [&](const std::string&) { return c.writable; });
    EXPECT_EQ(f.root, c.root) << c.searched.front() << " " << c.writable;
    EXPECT_EQ(f.portable, c.portable) << c.searched.front() << " " << c.writable;
    EXPECT_EQ(f.searched, c.searched);
    EXPECT_EQ(f.configDir, c.portable ? c.root : cfg);
    EXPECT_EQ(f.dataDir, c.portable ? c.root : data);
  }
  // No home to write to: the files stay beside the data even when it cannot be written.
  ScopedEnv noCfg("XDG_CONFIG_HOME", std::nullopt), noHome("HOME", std::nullopt);
  const GameFolders f = FindGameFolders({empty, share}, [](const std::string&) { return false; });
  EXPECT_TRUE(f.portable);
  EXPECT_EQ(f.dataDir, share);
}

TEST_F(GameFoldersTest, EachPlayerFileBesideGdataOrInThePlayersFolders) {
  const std::string app = "/games/sk/";
  struct Case {
    UserFile file;
    const char* portable;
    const char* perUser;
  };
  const Case cases[] = {
      {UserFile::kSettings, "/games/sk/settings.dat", "/c/skerrow/settings.dat"},
      {UserFile::kSaveFolder, "/games/sk/gdata\\savegame", "/d/skerrow/savegame"},
      {UserFile::kScreenshots, "/games/sk/", "/d/skerrow/screenshots/"},
      {UserFile::kLog, "/games/sk/skerrow.log", "/d/skerrow/skerrow.log"},
      {UserFile::kEmergencySave, "/games/sk/gdata\\savegame\\emergency.qvs",
       "/d/skerrow/savegame/emergency.qvs"},
  };
  GameFolders perUser;
  perUser.root = app;
  perUser.portable = false;
  perUser.configDir = "/c/skerrow/";
  perUser.dataDir = "/d/skerrow/";
  for (const Case& c : cases) {
    SetUserFolders(GameFolders{});  // the default before start-up settles it: portable
    EXPECT_EQ(UserFilePath(c.file, app), c.portable);
    SetUserFolders(perUser);
    EXPECT_EQ(UserFilePath(c.file, app), c.perUser);
  }
}

TEST_F(GameFoldersTest, ReadOnlyFolderIsNotWritable) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  const fs::path dir = test::ScratchDir("read_only");
  EXPECT_TRUE(FolderWritable(dir.string()));
  ::chmod(dir.c_str(), 0555);
  EXPECT_FALSE(FolderWritable(dir.string()));
  ::chmod(dir.c_str(), 0755);
  EXPECT_FALSE(FolderWritable((dir / "missing").string()));
}

}  // namespace
}  // namespace skerrow
