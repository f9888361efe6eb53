// The pack's sounds, music, voices and movies: every file the game plays exists and reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "audio/pcm_file.h"
#include "audio/sound_effects.h"
#include "audio_generate.h"
#include "content.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "shell/music_tracks.h"
#include "support/temp_dir.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

const std::string kRoot = std::string(SKERROW_BINARY_DIR) + "/";

bool HavePack() {
  return fs::exists(kRoot + "gdata/sounds/battle");
}

TEST(ContentAudio, EverySoundOfTheTableIsEightBitMonoAt22050) {
  if (!HavePack()) GTEST_SKIP() << "no content pack in the build";
  for (const audio::SoundTableRow& row : audio::kSoundTable) {
    if (row.file == nullptr) continue;
    SCOPED_TRACE(row.file);
    const std::string path = ResolvePath(kRoot + "gdata\\sounds\\battle\\" + row.file);
    audio::MonoClip clip;
    std::string error;
    ASSERT_TRUE(audio::ReadMonoClip(path, row.seconds, clip, error)) << error;
    EXPECT_EQ(clip.rate, 22050);
    // The channel holds the whole sound: 22,050 bytes a second, 8-bit mono.
    EXPECT_LE(fs::file_size(path), 44u + 22050u * row.seconds);
  }
}

TEST(ContentAudio, EveryMusicTrackAndMovieExistsAndTheTracksDecode) {
  if (!HavePack()) GTEST_SKIP() << "no content pack in the build";
  std::vector<std::string> tracks;
  for (const char* t : {kMusicPrelude, kMusicCredits, kMusicIntro, kMusicVictory, kMusicBoss}) {
    tracks.push_back(Utf8ToCp1251(t));
  }
  for (int32_t episode = 1; episode <= 4; ++episode) {
    for (int32_t c = 1; c <= kBattleChoices; ++c) tracks.push_back(BattleRotationTrack(c, episode));
  }
  for (const std::string& t : tracks) {
    SCOPED_TRACE(Cp1251ToUtf8(t));
    ASSERT_TRUE(PathExists(kRoot + t));
    audio::PcmFile f;
    std::string error;
    ASSERT_TRUE(f.Open(ResolvePath(kRoot + t), error)) << error;
    std::vector<int16_t> s(22050);
    EXPECT_EQ(f.Read(s.data(), 22050, true), 22050);  // at least a second
  }
  for (const char* m : {"Pelk.avi", "Orvel.avi", "Dunmar.avi"}) {
    EXPECT_TRUE(PathExists(kRoot + "gdata\\movies\\" + m)) << m;
  }
}

TEST(ContentAudio, EveryHintTextWrittenBeforeGetsItsVoice) {
  const fs::path dir = test::ScratchDir("voices");
  content::Output out(dir);
  const std::string text = Utf8ToCp1251("Полный вперёд!\r\nОгонь по готовности.");
  out.Write("ata/hints/hint7.txt", std::vector<uint8_t>(text.begin(), text.end()));
  out.Write("ata/hints/Get3.txt", std::vector<uint8_t>(text.begin(), text.end()));
  out.Write("ata/hints/Get1-2-3.txt", std::vector<uint8_t>(text.begin(), text.end()));
  content::GenerateVoices(out);
  for (const char* voice :
       {"sounds/hints/hint7.wav", "ata/hints/get3.wav", "sounds/hints/Get1-2-3.wav"}) {
    SCOPED_TRACE(voice);
    audio::MonoClip clip;
    std::string error;
    ASSERT_TRUE(audio::ReadMonoClip((dir / voice).string(), 30, clip, error)) << error;
    EXPECT_GT(clip.samples.size(), static_cast<size_t>(clip.rate));  // more than a second spoken
  }
}

}  // namespace
}  // namespace skerrow
