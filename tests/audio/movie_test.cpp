// The logo movies: a movie of the generated pack decodes to pictures of its size with its
// sound; a missing or damaged one is skipped.
#include "audio/movie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include <filesystem>

#include "audio_fixture.h"
#include "support/file_bytes.h"
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

// The pack's movie with every picture's own size (its JPEG frame header) set to `w` x `h`, and
// with `headerToo` the container's picture size as well.
std::vector<uint8_t> Resized(const fs::path& movie, uint16_t w, uint16_t h, bool headerToo) {
  std::vector<uint8_t> bytes = test::ReadFileBytes(movie);
  // Start of frame 0: FF C0, length 17, 8 bits, height 240, width 320.
  const uint8_t sof[] = {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0xF0, 0x01, 0x40};
  int frames = 0;
  for (auto at = bytes.begin();
       (at = std::search(at, bytes.end(), std::begin(sof), std::end(sof))) != bytes.end(); ++at) {
    at[5] = static_cast<uint8_t>(h >> 8);
    at[6] = static_cast<uint8_t>(h);
    at[7] = static_cast<uint8_t>(w >> 8);
    at[8] = static_cast<uint8_t>(w);
    ++frames;
  }
  EXPECT_EQ(frames, 60);
  // The AVI headers' width and height, 32-bit each (the main header and the stream format).
  const uint8_t size[] = {0x40, 0x01, 0, 0, 0xF0, 0, 0, 0};
  int headers = 0;
  for (auto at = bytes.begin(); headerToo && (at = std::search(at, bytes.begin() + 4096,
                                                                std::begin(size), std::end(size))) !=
                                                 bytes.begin() + 4096;
       ++at) {
    at[0] = static_cast<uint8_t>(w);
    at[1] = static_cast<uint8_t>(w >> 8);
    at[4] = static_cast<uint8_t>(h);
    at[5] = static_cast<uint8_t>(h >> 8);
    ++headers;
  }
  EXPECT_TRUE(!headerToo || headers >= 2) << headers;
  return bytes;
}

// A movie of 4000 x 4000 pictures is within the side limit but not the pixel limit: refused
// when opened (such a logo took 0.5 s a picture). Pictures larger than the header says are
// refused by the decoder, which checks every picture's own size: the movie ends.
TEST(Movie, PicturesLargerThanThePixelLimitAreRefused) {
  if (!fs::exists(kMovies / "Pelk.avi")) GTEST_SKIP() << "no content pack in the build";
  const fs::path dir = test::ScratchDir("movie_sizes");
  test::WriteBytes(dir / "large.avi", Resized(kMovies / "Pelk.avi", 4000, 4000, true));
  test::WriteBytes(dir / "huge.avi", Resized(kMovies / "Pelk.avi", 16000, 16000, false));
  MovieDecoder d;
  std::string error;
  EXPECT_FALSE(d.Open((dir / "large.avi").string(), error));
  ASSERT_TRUE(d.Open((dir / "huge.avi").string(), error)) << error;
  EXPECT_EQ(d.Width(), 320);
  std::vector<uint8_t> rgba;
  double t = 0;
  EXPECT_FALSE(d.NextPicture(rgba, t));
}

// Each bounded call stops at its deadline (here one already passed) after one piece of work;
// the calls together still deliver every picture, in order.
TEST(Movie, DecodingStopsAtItsDeadlineAndGoesOnFromThere) {
  if (!fs::exists(kMovies / "Pelk.avi")) GTEST_SKIP() << "no content pack in the build";
  struct Case {
    fs::path file;
    int pictures;
  };
  for (const Case& c : {Case{kMovies / "Pelk.avi", 60}}) {
    SCOPED_TRACE(c.file.string());
    MovieDecoder d;
    std::string error;
    ASSERT_TRUE(d.Open(c.file.string(), error)) << error;
    std::vector<uint8_t> rgba;
    double t = -1, last = -1;
    int pictures = 0, later = 0, calls = 0;
    for (MovieStep step = MovieStep::kLater; step != MovieStep::kEnd && calls < 10000; ++calls) {
      step = d.NextPicture(rgba, t, std::chrono::steady_clock::now());
      if (step == MovieStep::kLater) ++later;
      if (step == MovieStep::kPicture) {
        EXPECT_GT(t, last);
        last = t;
        ++pictures;
      }
    }
    EXPECT_EQ(pictures, c.pictures);
    EXPECT_GE(later, c.pictures) << "a call went past its deadline";
  }
}

}  // namespace
}  // namespace skerrow::audio
