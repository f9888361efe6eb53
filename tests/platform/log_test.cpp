// The log file (replaced at each start, std::cerr and messages copied into it) and the crash
// report with its emergency save, in a child process that really crashes.
#include "platform/log.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/crash.h"
#include "platform/messages.h"
#include "support/temp_dir.h"

namespace skerrow::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Log, ReplacedAtOpenAndFedByLogCerrAndMessages) {
  const fs::path dir = test::ScratchDir("log");
  const fs::path file = dir / "skerrow.log";
  // Longer than what this run writes: a log that is not emptied keeps a tail of it.
  std::ofstream(file) << std::string(1000, 'x') << "\n";
  ASSERT_TRUE(OpenLog(file.string()));
  EXPECT_GE(LogFd(), 0);
  Log("entered level 1");
  std::cerr << "skerrow: no sound device; sound and music are off for this run\n";
  const MessageHandler previous = SetMessageHandler([](const std::string&, const std::string&) {});
  ShowMessage("Skerrow", "Picture \"x.qvt\" cannot be loaded: it is not a picture.");
  SetMessageHandler(previous);
  CloseLog();
  std::cerr << "after close\n";  // std::cerr is itself again
  Log("after close");
  EXPECT_EQ(LogFd(), -1);
  EXPECT_EQ(ReadText(file),
            "skerrow: entered level 1\n"
            "skerrow: no sound device; sound and music are off for this run\n"
            "Skerrow: Picture \"x.qvt\" cannot be loaded: it is not a picture.\n");
  EXPECT_FALSE(OpenLog((dir / "no" / "such" / "folder.log").string()));
}

// Runs `body` in a child; returns its wait status.
template <typename F>
int InChild(F body) {
  std::cout.flush();
  std::cerr.flush();
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// Two games on one folder: the second start neither empties the first one's log nor writes
// over its lines (the first game's later lines used to land past the end, behind NUL bytes).
TEST(Log, ASecondGameAppendsToTheLogOfTheFirst) {
  const fs::path dir = test::ScratchDir("log_shared");
  const fs::path file = dir / "skerrow.log";
  std::ofstream(file) << "last run\n";
  ASSERT_TRUE(OpenLog(file.string()));
  EXPECT_FALSE(LogShared());
  Log("first game started");
  const int status = InChild([&] {
    CloseLog();  // the fork's copy of the first game's log
    if (!OpenLog(file.string()) || !LogShared()) ::_exit(3);
    Log("second game started");
    CloseLog();
  });
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  Log("first game saved");
  CloseLog();
  EXPECT_EQ(ReadText(file),
            "skerrow: first game started\n"
            "skerrow: second game started\n"
            "skerrow: first game saved\n");
}

TEST(Crash, ReportAndBacktraceInTheLogAndTheBlockInTheEmergencyFile) {
  const fs::path dir = test::ScratchDir("crash");
  const fs::path log = dir / "skerrow.log";
  const fs::path save = dir / "savegame" / "emergency.qvs";  // its folder is made by the handler
  struct Case {
    int32_t mode;  // the block's mode field; 2 is "a game is running"
    int signal;
    bool saved;
  };
  const Case cases[] = {{2, SIGSEGV, true}, {2, SIGABRT, true}, {1, SIGSEGV, false}};
  for (const Case& c : cases) {
    fs::remove_all(dir / "savegame");
    std::vector<uint8_t> block(100000);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
    std::memcpy(&block[32], &c.mode, sizeof c.mode);
    const int status = InChild([&] {
      ::freopen("/dev/null", "w", stderr);  // the report also goes there
      OpenLog(log.string());
      InstallCrashHandler();
      ArmEmergencySave(block.data(), block.size(), 32, 2, save.string());
      ::raise(c.signal);
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "the signal ends the child as it would have";
    EXPECT_EQ(WTERMSIG(status), c.signal);
    const std::string text = ReadText(log);
    EXPECT_NE(text.find(c.signal == SIGSEGV ? "crash: SIGSEGV" : "crash: SIGABRT"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("backtrace:\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[0x"), std::string::npos) << "a frame's address: " << text;
    EXPECT_EQ(fs::exists(save), c.saved) << c.mode;
    EXPECT_EQ(text.find("emergency save written to " + save.string()) != std::string::npos, c.saved)
        << text;
    if (c.saved) {
      std::ifstream in(save, std::ios::binary);
      EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), block);
      EXPECT_FALSE(fs::exists(save.string() + ".tmp"));
    }
  }
}

}  // namespace
}  // namespace skerrow::platform
