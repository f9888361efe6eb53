// Which music plays when: the rotation by GameMode, the episode themes, and the form's calls
// with the playmusic option on and off.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/media.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "shell/music_tracks.h"
#include "shell/skerrow_form.h"
#include "support/temp_dir.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

TEST(MusicTracks, TheMenuRepeatsThePreludeAndTheEditorViewStartsNothing) {
  Random random;
  random.Seed(3);
  EXPECT_EQ(TrackAfterEnd(game_mode::kMenu, 2, random), Utf8ToCp1251(kMusicPrelude));
  EXPECT_EQ(TrackAfterEnd(game_mode::kEditorView, 2, random), "");
  EXPECT_EQ(TrackAfterEnd(0, 2, random), "");
}

TEST(MusicTracks, PlayDrawsFromSevenChoicesWithTheEpisodeTheme) {
  Random random;
  random.Seed(11);
  std::set<std::string> seen;
  for (int i = 0; i < 700; ++i) seen.insert(TrackAfterEnd(game_mode::kPlay, 2, random));
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen.count(EpisodeMusic(2)), 1u);
  EXPECT_EQ(seen.count(""), 0u);
  EXPECT_EQ(BattleRotationTrack(0, 1), "");
  EXPECT_EQ(BattleRotationTrack(8, 1), "");
}

TEST(MusicTracks, TheSecretEpisodePlaysTheThirdEpisodesTheme) {
  EXPECT_EQ(BattleRotationTrack(kBattleChoices, 4), EpisodeMusic(3));
  EXPECT_NE(EpisodeMusic(3), EpisodeMusic(2));
}

// Records every call; reports every track ended at once when `ended` is set.
struct MusicLog {
  std::vector<std::string> calls;
  bool ended = false;
  int made = 0;
};

class RecordingMusic final : public platform::MusicPlayer {
 public:
  explicit RecordingMusic(MusicLog& log) : log_(log) {}
  bool Play(const std::string& gamePath) override {
    const size_t slash = gamePath.find_last_of("\\/");
    log_.calls.push_back("play " + gamePath.substr(slash + 1));
    return true;
  }
  void Stop() override { log_.calls.push_back("stop"); }
  void SetVolume(int32_t v) override { log_.calls.push_back("volume " + std::to_string(v)); }
  bool Ended() const override { return log_.ended; }

 private:
  MusicLog& log_;
};

// A headless run of `ticks` 40 ms ticks in the menu: the one-second timer fires every 25.
std::unique_ptr<TSkerrowForm> MakeForm(const std::string& name, const std::string& settings,
                                       int ticks, MusicLog& log) {
  const auto dir = test::ScratchDir("music_" + name);
  std::ofstream(dir / "settings.dat") << "[Skerrow Settings]\n" << settings;
  CommandLine cl;
  cl.headless = true;
  cl.seed = 1;
  cl.ticks = ticks;
  cl.root = dir.string();
  auto form = std::make_unique<TSkerrowForm>(cl, platform::CreateNullWindow());
  form->SetMusicFactory([&log] {
    ++log.made;
    return std::make_unique<RecordingMusic>(log);
  });
  return form;
}

TEST(FormMusic, ThePreludeStartsWithTheMenuAndRepeatsWhenItEnds) {
  const std::string prelude = "play " + Utf8ToCp1251("Прелюдия.mp3");
  {
    MusicLog log;
    ASSERT_EQ(MakeForm("playing", "t_musicvolume_Position=50\n", 60, log)->Run(), 0);
    // Start-up, then two seconds of a track that still plays, then the program's end.
    EXPECT_EQ(log.calls, (std::vector<std::string>{prelude, "volume 50", "stop"}));
  }
  MusicLog log;
  log.ended = true;
  ASSERT_EQ(MakeForm("ended", "t_musicvolume_Position=50\n", 60, log)->Run(), 0);
  EXPECT_EQ(log.calls, (std::vector<std::string>{prelude, "volume 50", prelude, "volume 50",
                                                 prelude, "volume 50", "stop"}));
}

TEST(FormMusic, WithPlaymusicOffNoMusicCallIsMade) {
  MusicLog log;
  log.ended = true;
  auto form = MakeForm("off", "playmusic_Checked=False\n", 60, log);
  ASSERT_EQ(form->Run(), 0);
  EXPECT_EQ(log.made, 0);
  EXPECT_TRUE(log.calls.empty());
  EXPECT_EQ(form->Music(), nullptr);
}

}  // namespace
}  // namespace skerrow
