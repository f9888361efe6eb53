// The run on the desktop: the first-run check, the log of a run, the crash report with its
// emergency save, and the game installed into a prefix of its own and run from there.
#include "shell/session.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "world/records.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = SKERROW_BINARY_DIR;
const std::string kEnv =
    "env -u DISPLAY SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null LP_NUM_THREADS=0 ";

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool HavePack() {
  return fs::exists(kBuild / "gdata" / "Skerrow.qvp") && fs::exists(kBuild / "skerrow");
}

// Runs a shell command; its exit code, or 128 + the signal that ended it.
int Shell(const std::string& cmd) {
  const int rc = std::system(cmd.c_str());
  if (WIFEXITED(rc)) return WEXITSTATUS(rc);
  return WIFSIGNALED(rc) ? 128 + WTERMSIG(rc) : -1;
}

// A game folder whose gdata links to the build's pack entry by entry, without the movies
// (seconds of real time) and `without`; `pathsToReal` are made as real folders of links so a
// file inside can be replaced.
fs::path LinkedPack(const std::string& name, const std::vector<std::string>& pathsToReal = {}) {
  const fs::path root = test::ScratchDir(name);
  const fs::path pack = kBuild / "gdata";
  fs::create_directories(root / "gdata");
  for (const auto& e : fs::directory_iterator(pack)) {
    const std::string n = e.path().filename().string();
    if (n != "movies" && n != "savegame") fs::create_symlink(e.path(), root / "gdata" / n);
  }
  for (const std::string& rel : pathsToReal) {
    fs::path at = root / "gdata";
    for (const auto& part : fs::path(rel)) {
      at /= part;
      if (!fs::is_symlink(at)) continue;
      const fs::path target = fs::read_symlink(at);
      fs::remove(at);
      fs::create_directory(at);
      for (const auto& e : fs::directory_iterator(target)) {
        fs::create_symlink(e.path(), at / e.path().filename());
      }
    }
  }
  return root;
}

TEST(Session, MissingKeyFileNamesTheFirstOneAbsent) {
  const fs::path root = test::ScratchDir("key_files");
  for (const std::string& file : kKeyDataFiles) {
    std::string rel = file;
    for (char& c : rel) {
      if (c == '\\') c = '/';
    }
    fs::create_directories((root / rel).parent_path());
    std::ofstream(root / rel) << "x";
  }
  InvalidatePathCache();
  const std::string dir = root.string() + "/";
  EXPECT_EQ(MissingKeyFile(dir), "");
  for (const std::string& file : kKeyDataFiles) {
    std::string rel = file;
    for (char& c : rel) {
      if (c == '\\') c = '/';
    }
    fs::rename(root / rel, root / (rel + ".away"));
    InvalidatePathCache();
    EXPECT_EQ(MissingKeyFile(dir), file);
    fs::rename(root / (rel + ".away"), root / rel);
  }
  InvalidatePathCache();
}

TEST(Session, FirstRunSaysWhereItLookedWhatIsMissingAndHowToGetThePack) {
  if (!HavePack()) GTEST_SKIP() << "no executable or content pack in " << kBuild;
  const fs::path empty = test::ScratchDir("first_run_empty");
  const fs::path partial = test::ScratchDir("first_run_partial");
  fs::create_directories(partial / "gdata" / "ata");
  struct Case {
    fs::path root;
    const char* mode;
    int code;  // the headless harness goes on without data
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {empty,
       "--windowed",
       1,
       {"Данные игры (папка gdata) не найдены. Где искали:\n  " + empty.string() + "/\n",
        "skerrow-content --out " + empty.string() + "/gdata"}},
      {partial,
       "--windowed",
       1,
       {"в " + partial.string() + "/gdata неполны: нет файла gdata/Skerrow.qvp",
        "skerrow-content --out " + partial.string() + "/gdata"}},
      {partial, "--headless", 0, {"нет файла gdata/Skerrow.qvp"}},
  };
  for (const Case& c : cases) {
    const fs::path out = c.root / "stderr.txt";
    // No display here: the message box cannot show, and the text is on stderr.
    EXPECT_EQ(Shell(kEnv + (kBuild / "skerrow").string() + " " + c.mode + " --ticks 1 --root " +
                    c.root.string() + " 2> " + out.string()),
              c.code)
        << c.mode;
    const std::string text = ReadText(out);
    for (const std::string& s : c.said) EXPECT_NE(text.find(s), std::string::npos) << text;
  }
}

// One run for the log beside gdata (portable mode, replaced at start, a refused picture named)
// and the crash in play with its report and emergency save.
TEST(Session, CrashInPlayLeavesItsLogReportAndAnEmergencySave) {
  if (!HavePack()) GTEST_SKIP() << "no executable or content pack in " << kBuild;
  const fs::path root = LinkedPack("crash_run", {"textures/effects"});
  const fs::path halo = root / "gdata" / "textures" / "effects" / "halo1.qvt";
  fs::remove(halo);
  std::ofstream(halo) << "not a picture";
  std::ofstream(root / "skerrow.log") << "the previous run\n";
  const int code =
      Shell(kEnv + "SKERROW_CRASH_TEST=1 " + (kBuild / "skerrow").string() +
            " --headless --start 1:1 --ticks 5 --root " + root.string() + " 2>/dev/null");
  EXPECT_EQ(code, 128 + SIGSEGV);
  const std::string log = ReadText(root / "skerrow.log");
  const fs::path save = root / "gdata" / "savegame" / "emergency.qvs";
  EXPECT_EQ(log.find("the previous run"), std::string::npos) << "replaced at each start";
  for (const std::string& s :
       {std::string("skerrow: starting skerrow "), std::string("portable mode"),
        std::string("sound and music off: --headless"), std::string("skerrow: start-up: display"),
        std::string("skerrow: refused " + root.string() +
                    "/gdata\\textures\\effects\\halo1.qvt\n"
                    "BMP Unit: Error reading file header\n"),
        std::string("entered level 1 of episode"), std::string("skerrow: crash: SIGSEGV"),
        std::string("skerrow: backtrace:\n"), std::string("EnterLevel"),
        "emergency save written to " + save.string()}) {
    EXPECT_NE(log.find(s), std::string::npos) << s << " in:\n" << log;
  }
  const std::string bytes = ReadText(save);
  ASSERT_EQ(bytes.size(), kSavedBlockSize);
  int32_t mode = 0;
  std::memcpy(&mode, bytes.data() + offsetof(SavedState, GameMode), sizeof mode);
  EXPECT_EQ(mode, 2);
  // Never a slot's name: no slot file is written.
  for (const auto& e : fs::directory_iterator(save.parent_path())) {
    EXPECT_EQ(e.path().filename(), "emergency.qvs");
  }
}

TEST(Session, InstalledGameRunsFromItsPrefixAndWritesOnlyToThePlayersFolders) {
  if (!HavePack() || !fs::exists(kBuild / "icons" / "hicolor")) {
    GTEST_SKIP() << "no executable, content pack or icons in " << kBuild;
  }
  const fs::path dir = test::ScratchDir("install");
  const fs::path prefix = dir / "prefix";
  ASSERT_EQ(
      Shell("cmake --install " + kBuild.string() + " --prefix " + prefix.string() + " > /dev/null"),
      0);
  for (const char* file :
       {"bin/skerrow", "bin/skerrow-content", "bin/skerrow-asset",
        "share/skerrow/gdata/Skerrow.qvp", "share/applications/org.skerrow.Skerrow.desktop",
        "share/metainfo/org.skerrow.Skerrow.metainfo.xml", "share/man/man6/skerrow.6",
        "share/icons/hicolor/16x16/apps/skerrow.png",
        "share/icons/hicolor/256x256/apps/skerrow.png"}) {
    EXPECT_TRUE(fs::exists(prefix / file)) << file;
  }
  const fs::path cfg = dir / "cfg", data = dir / "data";
  const std::string env = kEnv + "XDG_CONFIG_HOME=" + cfg.string() +
                          " XDG_DATA_HOME=" + data.string() + " HOME=" + (dir / "home").string() +
                          " ";
  // From another working directory, through the prefix's own share/skerrow.
  ASSERT_EQ(Shell("cd " + dir.string() + " && " + env + (prefix / "bin" / "skerrow").string() +
                  " --headless --start 1:1 --slot 3 --ticks 20 2>/dev/null"),
            0);
  const std::string log = ReadText(data / "skerrow" / "skerrow.log");
  EXPECT_NE(log.find("game data: " + (prefix / "share" / "skerrow").string() + "/gdata"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("per-user files"), std::string::npos) << log;
  EXPECT_NE(
      log.find("saved the game into " + (data / "skerrow" / "savegame").string() + "/slot3.qvs"),
      std::string::npos)
      << log;
  EXPECT_EQ(fs::file_size(data / "skerrow" / "savegame" / "slot3.qvs"), kSavedBlockSize);
  EXPECT_TRUE(fs::is_directory(data / "skerrow" / "screenshots"));
  EXPECT_TRUE(fs::is_directory(cfg / "skerrow"));
  EXPECT_FALSE(fs::exists(prefix / "share" / "skerrow" / "gdata" / "savegame"));
  EXPECT_FALSE(fs::exists(prefix / "share" / "skerrow" / "skerrow.log"));
  // The desktop files pass their validators where those are installed.
  if (Shell("command -v desktop-file-validate > /dev/null") == 0) {
    EXPECT_EQ(Shell("desktop-file-validate " +
                    (prefix / "share/applications/org.skerrow.Skerrow.desktop").string()),
              0);
  }
  if (Shell("command -v appstreamcli > /dev/null") == 0) {
    EXPECT_EQ(Shell("appstreamcli validate --no-net " +
                    (prefix / "share/metainfo/org.skerrow.Skerrow.metainfo.xml").string() +
                    " > /dev/null"),
              0);
  }
}

}  // namespace
}  // namespace skerrow
