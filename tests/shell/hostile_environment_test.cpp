// The game in a hostile environment, through the executable (headless, a game folder of its
// own): special files in place of the player's and the game's files, a parameter file of NaNs,
// a save folder that cannot be made, bad command lines, a hang-up. Each run must end by itself
// within 30 s and 500 MB, with the message the case expects.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/notices.h"
#include "support/file_bytes.h"
#include "support/pack_root.h"
#include "world/records.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const fs::path kGame = fs::path(SKERROW_BINARY_DIR) / "skerrow";

constexpr int kSecondsBudget = 30;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's shadow memory and freed-block quarantine take about twice the game's own.
constexpr long kMemoryBudgetKb = 1500 * 1024;
#else
constexpr long kMemoryBudgetKb = 500 * 1024;
#endif

struct GameRun {
  int exitCode = -1;  // -1: killed by a signal (the time budget included)
  double seconds = 0;
  long maxRssKb = 0;
  std::string err;  // stderr: the headless game's messages
};

// Runs the game with `args` (after --headless --size 160x120 --root `root`); `during` is
// called with its process id while it runs. Killed when it takes longer than the budget.
GameRun RunGame(const fs::path& root, const std::vector<std::string>& args,
            const std::function<void(pid_t)>& during = {}) {
  const fs::path err = root / "stderr.txt";
  std::vector<std::string> all = {kGame.string(), "--headless", "--size", "160x120", "--root",
                                  root.string()};
  all.insert(all.end(), args.begin(), args.end());
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open("/dev/null", O_WRONLY);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(e, STDERR_FILENO);
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  GameRun r;
  if (during) during(pid);
  int status = 0;
  rusage usage{};
  for (;;) {
    const pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(kSecondsBudget)) {
      ::kill(pid, SIGKILL);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.maxRssKb = usage.ru_maxrss;
  std::ifstream in(err);
  r.err.assign(std::istreambuf_iterator<char>(in), {});
  return r;
}

// Makes `rel` (a folder below the root, through gdata's links to the pack) a real folder whose
// entries link to the pack's, so that one file in it can be replaced.
void Detach(const fs::path& root, const fs::path& rel) {
  fs::path at = root;
  for (const fs::path& part : rel) {
    at /= part;
    if (!fs::is_symlink(at)) continue;
    const fs::path target = fs::read_symlink(at);
    fs::remove(at);
    fs::create_directory(at);
    for (const fs::directory_entry& e : fs::directory_iterator(target)) {
      fs::create_symlink(e.path(), at / e.path().filename());
    }
  }
}

// Replaces the file `rel` below the root with what `make` puts there.
void Replace(const fs::path& root, const fs::path& rel,
             const std::function<void(const fs::path&)>& make) {
  Detach(root, rel.parent_path());
  fs::remove(root / rel);
  make(root / rel);
}

void Fifo(const fs::path& p) {
  ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string kEpisode1 = "Заманчивые тропики";

TEST(HostileEnvironment, EveryRunEndsWithinItsBudgetAndSaysWhatFailed) {
  if (!test::HavePack() || !fs::exists(kGame)) GTEST_SKIP() << "no executable or content pack";
  const std::string settingsNotice = platform::FailureNotice(platform::Failure::kSettingsRead);
  const std::string saveNotice = platform::FailureNotice(platform::Failure::kSave);
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> setUp;
    std::vector<std::string> args;
    int exitCode;
    std::vector<std::string> said;  // each exactly once on stderr
    std::function<void(const fs::path&, const GameRun&)> check = {};
  };
  const Case cases[] = {
      {"FIFOs in place of the settings, a picture, a hint text; a NaN ship; a save folder that "
       "is a file",
       [](const fs::path& root) {
         Fifo(root / "settings.dat");
         Replace(root, "gdata/textures/int/cross.qvt", Fifo);
         Replace(root, "gdata/ata/hints/Whint1.txt", Fifo);
         Replace(root, "gdata/parameters/unit1.par", [](const fs::path& p) {
           std::vector<uint8_t> par = test::ReadFileBytes(test::kPackGdata / "parameters" /
                                                          "unit1.par");
           ASSERT_EQ(par.size(), sizeof(UnitRecord));
           const float nan = std::nanf("");
           std::memcpy(par.data() + offsetof(UnitRecord, turnRate), &nan, 4);
           std::memcpy(par.data() + offsetof(UnitRecord, mass), &nan, 4);
           test::WriteFileBytes(p, par);
         });
         test::WriteFileBytes(root / "gdata" / "savegame", std::vector<uint8_t>(3, 1));
       },
       {"--start", "1:1", "--slot", "1", "--ticks", "30", "--input", "keys.txt"},
       0,
       {settingsNotice, saveNotice},
       [](const fs::path& root, const GameRun&) {
         const std::vector<uint8_t> dump = test::ReadFileBytes(root / "dump.qvs");
         ASSERT_EQ(dump.size(), sizeof(SavedState));
         auto s = std::make_unique<SavedState>();
         std::memcpy(s.get(), dump.data(), sizeof(SavedState));
         ASSERT_GE(s->playerUnit, 1);
         const UnitRecord& p = s->units[s->playerUnit];
         EXPECT_TRUE(std::isfinite(p.posX) && std::isfinite(p.posZ) && std::isfinite(p.rotY));
       }},
      {"an endless device as the settings, a FIFO as the level's units",
       [](const fs::path& root) {
         fs::create_symlink("/dev/zero", root / "settings.dat");
         Replace(root, "gdata/Worlds/" + kEpisode1 + "/Data/normal1.unt", Fifo);
       },
       {"--start", "1:1", "--ticks", "5"},
       2,
       {settingsNotice, "normal1.unt» содержит 0 байт"}},
      {"a directory as the settings",
       [](const fs::path& root) { fs::create_directory(root / "settings.dat"); },
       {"--ticks", "3"},
       0,
       {settingsNotice}},
      {"a directory as the input script",
       [](const fs::path& root) { fs::create_directory(root / "script"); },
       {"--input", "script", "--ticks", "3"},
       2,
       {"cannot read input script 'script': it is not a regular file"}},
      {"--slot without --start", [](const fs::path&) {}, {"--slot", "4"}, 2, {"--slot needs --start"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path root = test::GameRoot("env");
    std::ofstream(root / "keys.txt") << "1 key-down 38\n";  // ahead: the ship moves
    c.setUp(root);
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
      if (a == "keys.txt") a = (root / a).string();
    }
    args.insert(args.end(), {"--dump-state", (root / "dump.qvs").string()});
    const fs::path cwd = fs::current_path();
    fs::current_path(root);  // "script" above is named relative to the game's folder
    GameRun r = RunGame(root, args);
    fs::current_path(cwd);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_LT(r.seconds, kSecondsBudget);
    EXPECT_LT(r.maxRssKb, kMemoryBudgetKb);
    for (const std::string& s : c.said) EXPECT_EQ(Count(r.err, s), 1u) << s << "\n" << r.err;
    if (c.check) c.check(root, r);
  }
}

// A hang-up (the terminal closed) ends the game as SIGTERM does: its closing log line written.
TEST(HostileEnvironment, AHangUpEndsTheRunCleanly) {
  if (!test::HavePack() || !fs::exists(kGame)) GTEST_SKIP() << "no executable or content pack";
  const fs::path root = test::GameRoot("hangup");
  const GameRun r = RunGame(root, {"--ticks", "100000"}, [&](pid_t pid) {
    // The log's start-up line comes when the menu is up.
    for (int i = 0; i < 500; ++i) {
      std::ifstream log(root / "skerrow.log");
      const std::string text((std::istreambuf_iterator<char>(log)), {});
      if (text.find("start-up: display") != std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    ::kill(pid, SIGHUP);
  });
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::ifstream log(root / "skerrow.log");
  const std::string text((std::istreambuf_iterator<char>(log)), {});
  EXPECT_NE(text.find("skerrow: exit code 0"), std::string::npos) << text;
}

}  // namespace
}  // namespace skerrow
