// The logo movies: a movie of the generated pack decodes to pictures of its size with its
// sound; a missing or damaged one is skipped.
#include "audio/movie.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "audio_fixture.h"
#include "support/temp_dir.h"

namespace skerrow::audio {
namespace {

namespace fs = std::filesystem;

const fs::path kMovies = fs::path(SKERROW_BINARY_DIR) / "gdata" / "movies";

TEST(Movie, APackMovieDecodesToPicturesOfItsSizeWithItsSound) {
  if (!fs::exists(kMovies / "Pelk.avi")) GTEST_SKIP() << "no content pack in the build";
  for (const char* name : {"Pelk.avi", "Orvel.avi", "Dunmar.avi"}) {
    SCOPED_TRACE(name);
    MovieDecoder d;
    std::string error;
    ASSERT_TRUE(d.Open((kMovies / name).string(), error)) << error;
    EXPECT_EQ(d.Width(), 320);
    EXPECT_EQ(d.Height(), 240);
    std::vector<uint8_t> rgba;
    double t = -1, last = -1;
    int pictures = 0;
    uint64_t sum = 0;
    while (d.NextPicture(rgba, t)) {
      ASSERT_EQ(rgba.size(), 320u * 240u * 4u);
      EXPECT_GT(t, last);
      last = t;
      for (size_t i = 0; i < rgba.size(); i += 4) sum += rgba[i] + rgba[i + 1] + rgba[i + 2];
      ++pictures;
    }
    EXPECT_EQ(pictures, 60);  // 2.4 s at 25 pictures a second
    EXPECT_GT(sum, 0u);       // not black throughout
    std::vector<int16_t> sound;
    int32_t rate = 0;
    ASSERT_TRUE(d.ReadSound((kMovies / name).string(), sound, rate));
    EXPECT_EQ(rate, 22050);
    EXPECT_NEAR(static_cast<double>(sound.size()) / rate, 2.4, 0.05);
  }
}

TEST(Movie, MissingAndDamagedMoviesAreSkipped) {
  const fs::path dir = test::ScratchDir("movies");
  test::WriteBytes(dir / "gdata" / "movies" / "garbage.avi", std::vector<uint8_t>(5000, 0x41));
  std::vector<uint8_t> riff = {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0x7F, 'A', 'V', 'I', ' '};
  riff.resize(600, 0xEE);
  test::WriteBytes(dir / "gdata" / "movies" / "header.avi", riff);
  MoviePlayerAv player(nullptr);
  for (const char* name : {"missing.avi", "garbage.avi", "header.avi"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(player.Open(dir.string() + "/gdata\\movies\\" + name));
    player.Play();
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(player.CurrentPicture(), nullptr);
  }
}

TEST(Movie, APlayingMovieShowsItsFirstPictureAndStopsOnRequest) {
  if (!fs::exists(kMovies / "Orvel.avi")) GTEST_SKIP() << "no content pack in the build";
  MoviePlayerAv player(nullptr);
  ASSERT_TRUE(player.Open((kMovies / "Orvel.avi").string()));
  EXPECT_EQ(player.CurrentPicture(), nullptr);  // nothing before Play
  player.Play();
  EXPECT_TRUE(player.Playing());
  EXPECT_NE(player.CurrentPicture(), nullptr);  // the first picture is due at once
  player.Stop();                                // the click on the panel
  EXPECT_FALSE(player.Playing());
  EXPECT_EQ(player.CurrentPicture(), nullptr);
}

}  // namespace
}  // namespace skerrow::audio
