// The music player on a loopback device: the volume scale, a track from its beginning to its
// end, a missing or damaged track.
#include "audio/music.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "audio/audio_device.h"
#include "audio/audio_stream.h"
#include "audio_fixture.h"
#include "support/temp_dir.h"

namespace skerrow::audio {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;

// A short MP3 (0.6 s of a 300 Hz tone, 22,050 Hz mono) written through libsndfile.
void WriteMp3(const fs::path& path) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  std::vector<int16_t> s(22050 * 6 / 10);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(9000 * std::sin(i * 0.0855));
  sf_writef_short(f, s.data(), static_cast<sf_count_t>(s.size()));
  sf_close(f);
}

TEST(Music, VolumeIsLinearInDecibels) {
  struct Case {
    int32_t volume;
    int32_t hundredths;
    double decibels;
  };
  for (const Case c : {Case{100, 0, 0.0}, Case{50, -2250, -22.5}, Case{0, -4500, -45.0},
                       Case{150, 0, 0.0}, Case{-5, -4500, -45.0}}) {
    SCOPED_TRACE(c.volume);
    EXPECT_EQ(MusicVolumeHundredths(c.volume), c.hundredths);
    EXPECT_NEAR(20.0 * std::log10(GainFromHundredths(MusicVolumeHundredths(c.volume))), c.decibels,
                1e-4);
  }
}

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::ScratchDir("music");
    WriteMp3(dir_ / "track.mp3");
    ASSERT_TRUE(device_.OpenLoopback(kRate));
    ASSERT_TRUE(music_.MusicInitialize(device_));
  }
  // Renders and decodes in turns until the track ends; false if it has not after `seconds`.
  bool PlayToEnd(double seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
      music_.Stream().Pump();
      if (music_.Ended()) return true;
      test::Render(device_, kRate / 20);
    }
    return false;
  }

  fs::path dir_;
  AudioDevice device_;
  MusicPlayerAl music_{false};
};

TEST_F(MusicTest, TheStreamCarriesTheVolumeAsGain) {
  for (int32_t v : {100, 50, 0}) {
    music_.SetVolume(v);
    EXPECT_NEAR(20.0 * std::log10(music_.Stream().Gain()), (v - 100) * 0.45, 1e-3);
  }
}

TEST_F(MusicTest, ATrackPlaysToItsEndAndStartsAgainFromTheBeginning) {
  ASSERT_TRUE(music_.Play((dir_ / "track.mp3").string()));
  EXPECT_FALSE(music_.Ended());
  music_.Stream().Pump();
  EXPECT_GT(test::Render(device_, kRate / 10).left, 500.0);
  EXPECT_TRUE(PlayToEnd(3.0));
  ASSERT_TRUE(music_.Play((dir_ / "track.mp3").string()));
  EXPECT_FALSE(music_.Ended());
  music_.Stream().Pump();
  EXPECT_TRUE(music_.Stream().Playing());
  music_.Stop();
  music_.Stream().Pump();
  EXPECT_FALSE(music_.Stream().Playing());
  EXPECT_FALSE(music_.Ended());  // a stopped track has not ended: the rotation waits
}

TEST_F(MusicTest, AMissingTrackChangesNothingAndADamagedOneEndsAtOnce) {
  ASSERT_TRUE(music_.Play((dir_ / "track.mp3").string()));
  music_.Stream().Pump();
  EXPECT_FALSE(music_.Play((dir_ / "missing.mp3").string()));
  music_.Stream().Pump();
  EXPECT_TRUE(music_.Stream().Playing());
  test::WriteBytes(dir_ / "bad.mp3", std::vector<uint8_t>(3000, 0xFF));
  testing::internal::CaptureStderr();
  for (int again = 0; again < 3; ++again) {  // the rotation asks again every second
    EXPECT_TRUE(music_.Play((dir_ / "bad.mp3").string()));
    music_.Stream().Pump();
    EXPECT_FALSE(music_.Stream().Playing());
    EXPECT_TRUE(music_.Ended());
  }
  const std::string said = testing::internal::GetCapturedStderr();
  const std::string line = "skerrow: music: cannot open " + (dir_ / "bad.mp3").string() +
                           ": it is not a sound file the game can read\n";
  const size_t first = said.find(line);
  EXPECT_NE(first, std::string::npos) << said;
  EXPECT_EQ(said.find(line, first + 1), std::string::npos) << "said more than once:\n" << said;
  EXPECT_EQ(said.find("pipe"), std::string::npos) << said;
}

TEST(Music, AThreadedStreamEndsByItself) {
  const fs::path dir = test::ScratchDir("music_thread");
  WriteMp3(dir / "track.mp3");
  AudioDevice device;
  ASSERT_TRUE(device.OpenLoopback(kRate));
  MusicPlayerAl music;
  ASSERT_TRUE(music.MusicInitialize(device));
  ASSERT_TRUE(music.Play((dir / "track.mp3").string()));
  // The decoder thread queues and refills while the mix is pulled; bounded by 200 rounds.
  for (int i = 0; i < 200 && !music.Ended(); ++i) {
    test::Render(device, kRate / 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(music.Ended());
}

}  // namespace
}  // namespace skerrow::audio
