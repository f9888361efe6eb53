// Bounded reads of regular files: a FIFO, a device or a directory in a file's place is refused
// at once (never waited on, never read without end), a file past its budget is refused before
// it is read; and the failure notices, once per kind.
#include "platform/file_read.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/notices.h"
#include "support/temp_dir.h"

namespace skerrow::platform {
namespace {

namespace fs = std::filesystem;

// Runs `read` and says whether it came back within two seconds. A reader stuck on a FIFO is
// released by a writer the test holds open (so the test fails instead of hanging).
template <typename F>
bool ReturnsPromptly(const fs::path& fifo, F read) {
  const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);  // a FIFO with a writer
  auto done = std::async(std::launch::async, read);
  const bool prompt = done.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
  if (!prompt && writer >= 0) (void)::write(writer, "x", 1);
  if (writer >= 0) ::close(writer);
  done.wait();
  return prompt;
}

TEST(FileRead, OnlyRegularFilesWithinTheirBudget) {
  const fs::path dir = test::ScratchDir("file_read");
  std::ofstream(dir / "ten.txt") << "0123456789";
  std::ofstream(dir / "empty.txt");
  fs::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  struct Case {
    const char* name;
    std::string path;
    size_t budget;
    FileRead expected;
    size_t size;    // read whole
    size_t prefix;  // read into four bytes
  };
  const Case cases[] = {
      {"a file", (dir / "ten.txt").string(), 10, FileRead::kOk, 10, 4},
      {"an empty file", (dir / "empty.txt").string(), 10, FileRead::kOk, 0, 0},
      {"one byte past the budget", (dir / "ten.txt").string(), 9, FileRead::kTooLarge, 0, 4},
      {"missing", (dir / "none.txt").string(), 10, FileRead::kMissing, 0, 0},
      {"a directory", (dir / "folder").string(), 10, FileRead::kNotRegular, 0, 0},
      {"a FIFO", (dir / "fifo").string(), 10, FileRead::kNotRegular, 0, 0},
      {"an endless device", "/dev/zero", 1 << 20, FileRead::kNotRegular, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes{1, 2, 3};
    FileRead r = FileRead::kOk;
    EXPECT_TRUE(ReturnsPromptly(dir / "fifo", [&] { r = ReadRegularFile(c.path, c.budget, bytes); }))
        << c.name;
    EXPECT_EQ(r, c.expected) << c.name;
    EXPECT_EQ(bytes.size(), c.size) << c.name;
    uint8_t head[4] = {9, 9, 9, 9};
    size_t got = 99;
    EXPECT_TRUE(ReturnsPromptly(dir / "fifo", [&] { ReadRegularFilePrefix(c.path, head, got); }))
        << c.name;
    EXPECT_EQ(got, c.prefix) << c.name;
    EXPECT_EQ(RegularFile(c.path), c.expected == FileRead::kOk || c.expected == FileRead::kTooLarge)
        << c.name;
  }
  EXPECT_EQ(FileReadText(FileRead::kTooLarge, 9), "is longer than 9 bytes");
}

// A task's budget of whole-file reads: each file's size is taken from it, and from every
// budget around it; a file that would pass what is left is refused unread.
TEST(FileRead, ATaskBudgetRefusesTheFileThatWouldPassIt) {
  const fs::path dir = test::ScratchDir("file_budget");
  const std::string ten = (dir / "ten.txt").string();
  std::ofstream(ten) << "0123456789";
  std::vector<uint8_t> bytes;
  {
    ScopedReadBudget level(25);
    EXPECT_EQ(ReadRegularFile(ten, 100, bytes), FileRead::kOk);
    {
      ScopedReadBudget inner(100);
      EXPECT_EQ(ReadRegularFile(ten, 100, bytes), FileRead::kOk);
      EXPECT_EQ(inner.Left(), 90u);
    }
    EXPECT_EQ(level.Left(), 5u);
    EXPECT_EQ(ReadRegularFile(ten, 100, bytes), FileRead::kTooLarge);
    EXPECT_TRUE(bytes.empty());
  }
  EXPECT_EQ(ReadRegularFile(ten, 100, bytes), FileRead::kOk);  // no budget once it ends
}

TEST(FailureNotices, EachKindIsShownOnceAndEveryOneLogged) {
  ResetFailureNotices();
  std::vector<std::string> shown;
  const MessageHandler previous =
      SetMessageHandler([&](const std::string&, const std::string& text) { shown.push_back(text); });
  EXPECT_TRUE(ReportFailure(Failure::kSave, "could not save the game into slot1.qvs"));
  EXPECT_FALSE(ReportFailure(Failure::kSave, "could not save the game into slot1.qvs"));
  EXPECT_TRUE(ReportFailure(Failure::kScreenshot, "could not write Screen0000.tga"));
  SetMessageHandler(previous);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], FailureNotice(Failure::kSave));
  EXPECT_NE(shown[0].find("Не удалось сохранить игру"), std::string::npos);
  for (int32_t k = 0; k < static_cast<int32_t>(Failure::kCount); ++k) {
    EXPECT_FALSE(FailureNotice(static_cast<Failure>(k)).empty()) << k;
  }
  ResetFailureNotices();
}

}  // namespace
}  // namespace skerrow::platform
