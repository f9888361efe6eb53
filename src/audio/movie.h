// The logo movie player on FFmpeg: AVI (or any container FFmpeg reads) decoded into RGBA
// pictures that the shell draws on the loading panel, with the movie's sound on the device.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"

namespace skerrow::audio {

class AudioDevice;

// Larger pictures, and movies longer than this, are refused or cut: a logo is small and short.
inline constexpr int32_t kMaxMovieSide = 4096;
inline constexpr int64_t kMaxMoviePixels = int64_t{2048} * 2048;  // a picture, as the decoder sees it
inline constexpr int32_t kMaxMovieSeconds = 60;
// What one call of the player may spend decoding: one 40 ms frame of the main loop.
inline constexpr std::chrono::milliseconds kDecodeBudget{40};

// What a bounded decode came to: a picture, the end of the movie, or the deadline first.
enum class MovieStep { kPicture, kEnd, kLater };

// Decodes one movie file picture by picture.
class MovieDecoder {
 public:
  MovieDecoder();
  ~MovieDecoder();
  MovieDecoder(const MovieDecoder&) = delete;
  MovieDecoder& operator=(const MovieDecoder&) = delete;

  // False with `error` set when the file is missing, not a movie, or its pictures are larger
  // than kMaxMovieSide.
  bool Open(const std::string& diskPath, std::string& error);
  void Close();
  bool IsOpen() const;
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The next picture as RGBA rows top to bottom (Width() x Height() x 4 bytes) and its time
  // in seconds from the start. False at the end (or kMaxMovieSeconds) or on a damaged stream (a
  // picture larger than kMaxMoviePixels among them).
  bool NextPicture(std::vector<uint8_t>& rgba, double& seconds);
  // The same, but kLater once `deadline` has passed before a picture came (pictures of another
  // size are dropped meanwhile); the next call goes on from there. Each call makes progress.
  MovieStep NextPicture(std::vector<uint8_t>& rgba, double& seconds,
                        std::chrono::steady_clock::time_point deadline);
  // The whole sound track as 16-bit mono at `rate` (0 when the movie has no sound); read once
  // after Open, before the pictures, from a second reader of the file.
  bool ReadSound(const std::string& diskPath, std::vector<int16_t>& mono, int32_t& rate);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

class MoviePlayerAv final : public platform::MoviePlayer {
 public:
  // `device` may be null or closed: the movies then play without sound.
  explicit MoviePlayerAv(AudioDevice* device);
  ~MoviePlayerAv() override;

  bool Open(const std::string& gamePath) override;
  int Width() const override { return decoder_.Width(); }
  int Height() const override { return decoder_.Height(); }
  void SetDisplayRect(int left, int top, int width, int height) override;
  void Play() override;
  bool Playing() const override { return playing_; }
  void Stop() override;
  const uint8_t* CurrentPicture() override;

 private:
  void StopSound();
  AudioDevice* device_;
  MovieDecoder decoder_;
  bool playing_ = false;
  std::chrono::steady_clock::time_point start_;
  std::vector<uint8_t> shown_, next_;
  double nextSeconds_ = 0;
  bool haveNext_ = false;
  bool pending_ = false;  // the next picture is still to be decoded
  uint32_t source_ = 0, buffer_ = 0;  // the movie's sound on the device
};

}  // namespace skerrow::audio
