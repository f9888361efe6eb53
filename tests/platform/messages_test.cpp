// Message handler replacement and the stderr default; the real clock.
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace skerrow::platform {
namespace {

TEST(Messages, HandlerReceivesMessagesAndEmptyRestoresStderr) {
  std::vector<std::string> seen;
  const MessageHandler before =
      SetMessageHandler([&](const std::string& caption, const std::string& text) {
        seen.push_back(caption + "|" + text);
      });
  EXPECT_TRUE(static_cast<bool>(before));
  ShowMessage("Ошибка", "Файл не найден");
  EXPECT_EQ(seen, std::vector<std::string>{"Ошибка|Файл не найден"});

  // An empty handler brings back the default, which writes "caption: text" to stderr.
  const MessageHandler mine = SetMessageHandler(nullptr);
  EXPECT_TRUE(static_cast<bool>(mine));
  testing::internal::CaptureStderr();
  ShowMessage("Loader", "bad file");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Loader: bad file\n");
  EXPECT_EQ(seen.size(), 1u);
  SetMessageHandler(before);
}

TEST(Messages, HandlerMayReplaceItselfWhileShowing) {
  int calls = 0;
  const MessageHandler before = SetMessageHandler([&](const std::string&, const std::string&) {
    ++calls;
    SetMessageHandler([&](const std::string&, const std::string&) { calls += 100; });
  });
  ShowMessage("a", "b");
  ShowMessage("a", "b");
  EXPECT_EQ(calls, 101);
  SetMessageHandler(before);
}

TEST(RealClock, NeverRunsBackwards) {
  uint64_t last = RealMilliseconds();
  for (int i = 0; i < 1000; ++i) {
    const uint64_t now = RealMilliseconds();
    ASSERT_GE(now, last);
    last = now;
  }
}

}  // namespace
}  // namespace skerrow::platform
