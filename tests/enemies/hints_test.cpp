// Hints: wrapping into the window's ten lines, showing with and without text and voice, two
// hints in a row, and closing the window.
#include "enemies/hints.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

TEST(HintText, WrapsIntoTenLines) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;  // the first lines; the rest of the ten are empty
  };
  std::string twelve;
  for (int i = 1; i <= 12; ++i) twelve += "line " + std::to_string(i) + "\r\n";
  const std::string word50(50, 'x');
  const Case cases[] = {
      {"three short lines", "one\r\ntwo\r\nthree\r\n", {"one", "two", "three"}},
      {"LF ends and no end", "one\ntwo", {"one", "two"}},
      {"empty lines stay", "a\r\n\r\nb", {"a", "", "b"}},
      {"twelve cut to ten",
       twelve,
       {"line 1", "line 2", "line 3", "line 4", "line 5", "line 6", "line 7", "line 8", "line 9",
        "line 10"}},
      {"a long word is cut", word50 + " end", {std::string(45, 'x'), "xxxxx end"}},
      {"exactly 45 stays", std::string(45, 'y'), {std::string(45, 'y')}},
  };
  for (const Case& c : cases) {
    const HintLines got = WrapHintText(c.text);
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i], i < c.lines.size() ? c.lines[i] : "") << c.name << " line " << i;
    }
  }
  // A 100-character line (Windows-1251: one byte a letter) fills about three lines, each
  // broken at a space within 45 characters.
  std::string cp(100, 'a');
  for (size_t i = 6; i < cp.size(); i += 7) cp[i] = ' ';
  const HintLines wrapped = WrapHintText(cp);
  int used = 0;
  for (const std::string& l : wrapped) {
    EXPECT_LE(l.size(), kHintLineChars);
    used += l.empty() ? 0 : 1;
  }
  EXPECT_EQ(used, 3);
  EXPECT_EQ(wrapped[0] + " " + wrapped[1] + " " + wrapped[2], cp);  // broken at spaces only
}

class RecordingHints : public HintHost {
 public:
  void ClearPressedMouse() override { calls.push_back("clear mouse"); }
  bool HintVoiceOn() override { return voiceOn; }
  void PlayVoice(const std::string& file) override {
    calls.push_back("play " + fs::path(file).filename().string());
  }
  void StopVoice() override { calls.push_back("stop"); }
  bool voiceOn = true;
  std::vector<std::string> calls;
};

class HintShow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::ScratchDir("hints");
    Write("hint1.txt", "Первая подсказка\r\nвторая строка\r\n");
    Write("hint1.wav", "RIFF");
    Write("hint2.txt", "Вторая подсказка");
    Write("voice_only.wav", "RIFF");
    InvalidatePathCache();
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(HintShow, ShowsTheTextAndPlaysTheVoiceWhenTheOptionIsOn) {
  HintWindow win;
  RecordingHints host;
  ASSERT_TRUE(ShowHint(win, host, P("hint1.txt"), P("hint1.wav")));
  EXPECT_EQ(win.lines[1], "вторая строка");
  EXPECT_EQ(win.lines[2], "");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"clear mouse", "play hint1.wav"}));
  // Closed: the voice stopped.
  CloseHint(host);
  EXPECT_EQ(host.calls.back(), "stop");
}

TEST_F(HintShow, AVoiceWithoutTextPlaysNothingAndTheOptionSilencesIt) {
  HintWindow win;
  RecordingHints host;
  EXPECT_FALSE(ShowHint(win, host, P("missing.txt"), P("voice_only.wav")));
  EXPECT_EQ(win.lines[0], "");
  EXPECT_TRUE(host.calls.empty());
  host.voiceOn = false;
  EXPECT_TRUE(ShowHint(win, host, P("hint1.txt"), P("hint1.wav")));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"clear mouse"}));
  // A missing voice file leaves the hint silent too.
  host.voiceOn = true;
  host.calls.clear();
  EXPECT_TRUE(ShowHint(win, host, P("hint2.txt"), P("hint2.wav")));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"clear mouse"}));
}

TEST_F(HintShow, TwoHintsInOneStepKeepTheSecond) {
  HintWindow win;
  RecordingHints host;
  ASSERT_TRUE(ShowHint(win, host, P("hint1.txt"), P("hint1.wav")));
  ASSERT_TRUE(ShowHint(win, host, P("hint2.txt"), P("hint2.wav")));
  EXPECT_EQ(win.lines[0], "Вторая подсказка");
  EXPECT_EQ(win.lines[1], "");  // nothing of the first is left
}

}  // namespace
}  // namespace skerrow
