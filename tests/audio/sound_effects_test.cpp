// The battle sounds on an in-process loopback device: round-robin channels, the flat copy,
// the silent sounds, stereo placement against the listener, and damaged files.
#include "audio/sound_effects.h"

#include <gtest/gtest.h>

#include "audio/audio_device.h"
#include "audio/pcm_file.h"
#include "audio_fixture.h"
#include "support/temp_dir.h"

namespace skerrow::audio {
namespace {

namespace fs = std::filesystem;
using test::Render;

constexpr int kRate = 44100;

class SoundEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = test::ScratchDir("sounds");
    const fs::path battle = root_ / "gdata" / "sounds" / "battle";
    for (const SoundTableRow& row : kSoundTable) {
      if (row.file != nullptr) test::WriteBytes(battle / row.file, test::SquareWav8(2.0));
    }
    ASSERT_TRUE(device_.OpenLoopback(kRate));
    ASSERT_TRUE(sounds_.InitSound(device_, root_.string() + "/", false));
  }
  void TearDown() override { sounds_.ReleaseSound(); }

  fs::path root_;
  AudioDevice device_;
  SoundEffects sounds_;
};

TEST_F(SoundEffectsTest, TheTwentySeventhShotRestartsTheFirstChannel) {
  for (int i = 0; i < 26; ++i) sounds_.PlaySound(2, 0, 0, 0, true);
  EXPECT_EQ(sounds_.NextChannel(2), 0);
  Render(device_, kRate / 10);
  const int32_t before = sounds_.ChannelSampleOffset(2, 0);
  EXPECT_GT(before, 1000);  // a tenth of a second of the 22,050 Hz file has played
  sounds_.PlaySound(2, 0, 0, 0, true);
  EXPECT_EQ(sounds_.NextChannel(2), 1);
  EXPECT_TRUE(sounds_.ChannelPlaying(2, 0));
  EXPECT_LT(sounds_.ChannelSampleOffset(2, 0), before / 2);  // from the beginning again
  EXPECT_GE(sounds_.ChannelSampleOffset(2, 1), before);      // the second channel plays on
}

TEST_F(SoundEffectsTest, WithoutThreeDTheFlatCopyPlaysAndNoChannelMoves) {
  sounds_.PlaySound(13, 100, 0, 100, false);
  EXPECT_EQ(sounds_.NextChannel(13), 0);
  EXPECT_TRUE(sounds_.FlatPlaying(13));
  for (int c = 0; c < 6; ++c) EXPECT_FALSE(sounds_.ChannelPlaying(13, c));
  EXPECT_GT(Render(device_, kRate / 10).left, 100.0);
}

TEST_F(SoundEffectsTest, SoundsTwentyAndTwentyOneAreSilent) {
  for (int32_t s : {20, 21}) {
    sounds_.PlaySound(s, 0, 0, 0, true);
    sounds_.PlaySound(s, 0, 0, 0, false);
    sounds_.PlayFlat(s);
  }
  sounds_.PlaySound(22, 0, 0, 0, true);  // out of range: nothing
  sounds_.PlaySound(-1, 0, 0, 0, true);
  // The mixer dithers its 16-bit output: silence is a level under 2 (a sound is thousands).
  const test::StereoLevel l = Render(device_, kRate / 10);
  EXPECT_LT(l.left, 2.0);
  EXPECT_LT(l.right, 2.0);
}

TEST_F(SoundEffectsTest, ASoundOnTheListenersSideIsLouderThere) {
  // The play step puts the listener of a ship at world (0, 0, 0) at (500, 500, 500).
  struct Case {
    double x;
    bool leftLouder;
  };
  // Larger world x lies to the listener's left (offset 500 minus x / 5).
  for (const Case c : {Case{600, true}, Case{-600, false}}) {
    SCOPED_TRACE(c.x);
    sounds_.SetListener(500, 500, 500);
    sounds_.PlaySound(3, c.x, 0, 0, true);
    const test::StereoLevel l = Render(device_, kRate / 10);
    if (c.leftLouder) {
      EXPECT_GT(l.left, 1.5 * l.right);
    } else {
      EXPECT_GT(l.right, 1.5 * l.left);
    }
    Render(device_, kRate * 2);  // let it finish
  }
}

TEST(SoundEffects, NothingPlaysWithoutADevice) {
  AudioDevice closed;
  SoundEffects sounds;
  EXPECT_FALSE(sounds.InitSound(closed, "/nonexistent/", false));
  EXPECT_FALSE(sounds.Initialised());
  sounds.PlaySound(2, 0, 0, 0, true);
  sounds.PlayFlat(18);
  sounds.SetListener(1, 2, 3);
  sounds.PlayVoice("/nonexistent.wav");
  sounds.StopVoice();
  EXPECT_EQ(sounds.NextChannel(2), 0);
}

TEST(PcmFile, ClipsAreMonoAndCutAtTheChannelLength) {
  const fs::path dir = test::ScratchDir("pcm_clip");
  // 16-bit stereo at 44,100 Hz, 4 s, left +8000 and right -4000: mono is their mean.
  std::vector<uint8_t> data;
  for (int i = 0; i < 44100 * 4; ++i) {
    test::PutLe(data, static_cast<uint16_t>(int16_t{8000}), 2);
    test::PutLe(data, static_cast<uint16_t>(int16_t{-4000}), 2);
  }
  test::WriteBytes(dir / "long.wav", test::WavBytes(2, 44100, 16, data));
  MonoClip clip;
  std::string error;
  ASSERT_TRUE(ReadMonoClip((dir / "long.wav").string(), 3, clip, error)) << error;
  EXPECT_EQ(clip.rate, 44100);
  ASSERT_EQ(clip.samples.size(), 3u * 44100u);
  EXPECT_EQ(clip.samples[1000], 2000);
}

TEST(PcmFile, DamagedFilesAreRefusedWithAMessage) {
  const fs::path dir = test::ScratchDir("pcm_bad");
  const std::vector<uint8_t> good = test::SquareWav8(0.5);
  std::vector<uint8_t> truncatedHeader(good.begin(), good.begin() + 30);
  std::vector<uint8_t> manyChannels = test::WavBytes(64, 22050, 8, std::vector<uint8_t>(640, 1));
  std::vector<uint8_t> tinyRate = test::WavBytes(1, 10, 8, std::vector<uint8_t>(64, 1));
  std::vector<uint8_t> hugeDataLength = good;
  hugeDataLength[40] = hugeDataLength[41] = hugeDataLength[42] = hugeDataLength[43] = 0xFF;
  std::vector<uint8_t> noData = test::WavBytes(1, 22050, 8, {});
  std::vector<uint8_t> garbage(4000, 0x5A);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool opens;  // a readable remainder is kept, cut to what the file holds
  };
  const Case cases[] = {
      {"empty", {}, false},
      {"truncated header", truncatedHeader, false},
      {"64 channels", manyChannels, false},
      {"10 Hz", tinyRate, false},
      {"data length past the end", hugeDataLength, true},
      {"no samples", noData, false},
      {"garbage", garbage, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path p = dir / (std::string(c.name) + ".wav");
    test::WriteBytes(p, c.bytes);
    MonoClip clip;
    std::string error;
    const bool ok = ReadMonoClip(p.string(), 3, clip, error);
    EXPECT_EQ(ok, c.opens);
    if (ok) {
      EXPECT_LE(clip.samples.size(), 22050u / 2);
    } else {
      EXPECT_FALSE(error.empty());
    }
  }
  MonoClip clip;
  std::string error;
  EXPECT_FALSE(ReadMonoClip((dir / "missing.wav").string(), 3, clip, error));
}

}  // namespace
}  // namespace skerrow::audio
