// FFmpeg decoding of the logo movies and their playback by the wall clock.
#include "audio/movie.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <AL/al.h>

#include <algorithm>
#include <cstdarg>
#include <iostream>
#include <string>

#include "audio/audio_device.h"
#include "platform/file_read.h"
#include "platform/log.h"
#include "platform/paths.h"

namespace skerrow::audio {

struct MovieDecoder::Impl {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* codec = nullptr;
  SwsContext* sws = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  int stream = -1;
  double timeBase = 0;
  bool flushed = false;
  ~Impl() {
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&fmt);
  }
};

namespace {

// Opens the best stream of `type` with its decoder; -1 when there is none.
int OpenStream(AVFormatContext* fmt, AVMediaType type, AVCodecContext*& codec) {
  const AVCodec* decoder = nullptr;
  const int s = av_find_best_stream(fmt, type, -1, -1, &decoder, 0);
  if (s < 0 || decoder == nullptr) return -1;
  codec = avcodec_alloc_context3(decoder);
  if (codec == nullptr || avcodec_parameters_to_context(codec, fmt->streams[s]->codecpar) < 0) {
    avcodec_free_context(&codec);
    return -1;
  }
  // Every picture's own size is checked by the decoder before it is allocated: the container's
  // header may say 320 x 240 over pictures of 16,000 x 16,000.
  codec->max_pixels = kMaxMoviePixels;
  if (avcodec_open2(codec, decoder, nullptr) < 0) {
    avcodec_free_context(&codec);
    return -1;
  }
  return s;
}

}  // namespace

namespace {

// FFmpeg's own lines go to the log file, never onto the player's terminal: a damaged movie is
// told by the game's own line.
void FfmpegToLog(void* context, int level, const char* format, va_list args) {
  if (level > av_log_get_level()) return;
  char line[1024];
  int printPrefix = 1;
  av_log_format_line2(context, level, format, args, line, sizeof line, &printPrefix);
  std::string text = std::string("FFmpeg: ") + line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  platform::LogFileOnly(text);
}

}  // namespace

MovieDecoder::MovieDecoder() {
  // FFmpeg's notes (a JPEG range warning on every picture) are not the game's: errors only.
  av_log_set_level(AV_LOG_ERROR);
  av_log_set_callback(FfmpegToLog);
}
MovieDecoder::~MovieDecoder() = default;

bool MovieDecoder::IsOpen() const {
  return impl_ != nullptr;
}

void MovieDecoder::Close() {
  impl_.reset();
  width_ = height_ = 0;
}

bool MovieDecoder::Open(const std::string& diskPath, std::string& error) {
  Close();
  auto d = std::make_unique<Impl>();
  // A FIFO or device would hold the open (and the main loop) for good.
  if (!platform::RegularFile(diskPath) ||
      avformat_open_input(&d->fmt, diskPath.c_str(), nullptr, nullptr) < 0) {
    error = "cannot open movie " + diskPath;
    return false;
  }
  if (avformat_find_stream_info(d->fmt, nullptr) < 0 ||
      (d->stream = OpenStream(d->fmt, AVMEDIA_TYPE_VIDEO, d->codec)) < 0) {
    error = "no picture stream in " + diskPath;
    return false;
  }
  const int w = d->codec->width, h = d->codec->height;
  if (w < 1 || h < 1 || w > kMaxMovieSide || h > kMaxMovieSide ||
      int64_t{w} * h > kMaxMoviePixels) {
    error = "movie " + diskPath + " is " + std::to_string(w) + " x " + std::to_string(h);
    return false;
  }
  const AVRational tb = d->fmt->streams[d->stream]->time_base;
  d->timeBase = tb.den != 0 ? av_q2d(tb) : 0.0;
  d->frame = av_frame_alloc();
  d->packet = av_packet_alloc();
  if (d->frame == nullptr || d->packet == nullptr) {
    error = "out of memory for movie " + diskPath;
    return false;
  }
  width_ = w;
  height_ = h;
  impl_ = std::move(d);
  return true;
}

bool MovieDecoder::NextPicture(std::vector<uint8_t>& rgba, double& seconds) {
  return NextPicture(rgba, seconds, std::chrono::steady_clock::time_point::max()) ==
         MovieStep::kPicture;
}

MovieStep MovieDecoder::NextPicture(std::vector<uint8_t>& rgba, double& seconds,
                                    std::chrono::steady_clock::time_point deadline) {
  if (!impl_) return MovieStep::kEnd;
  Impl& d = *impl_;
  // Checked after each piece of work (a picture dropped, a packet sent), so that every call
  // makes progress and none runs far past its deadline.
  const auto late = [&] { return std::chrono::steady_clock::now() >= deadline; };
  for (;;) {
    const int got = avcodec_receive_frame(d.codec, d.frame);
    if (got == 0) {
      // A stream may change size midway: only pictures of the opened size are shown.
      if (d.frame->width != width_ || d.frame->height != height_) {
        if (late()) return MovieStep::kLater;
        continue;
      }
      d.sws = sws_getCachedContext(d.sws, width_, height_,
                                   static_cast<AVPixelFormat>(d.frame->format), width_, height_,
                                   AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
      if (d.sws == nullptr) return MovieStep::kEnd;
      rgba.resize(static_cast<size_t>(width_) * height_ * 4);
      uint8_t* dst[4] = {rgba.data(), nullptr, nullptr, nullptr};
      int lines[4] = {width_ * 4, 0, 0, 0};
      sws_scale(d.sws, d.frame->data, d.frame->linesize, 0, height_, dst, lines);
      const int64_t pts = d.frame->best_effort_timestamp;
      seconds = pts == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(pts) * d.timeBase;
      return seconds <= kMaxMovieSeconds ? MovieStep::kPicture : MovieStep::kEnd;
    }
    if (got == AVERROR_EOF) return MovieStep::kEnd;
    if (got != AVERROR(EAGAIN)) return MovieStep::kEnd;
    // Feed the decoder the next packet of the picture stream.
    for (;;) {
      if (d.flushed) return MovieStep::kEnd;
      if (av_read_frame(d.fmt, d.packet) < 0) {
        avcodec_send_packet(d.codec, nullptr);
        d.flushed = true;
        break;
      }
      const bool ours = d.packet->stream_index == d.stream;
      const int sent = ours ? avcodec_send_packet(d.codec, d.packet) : 0;
      av_packet_unref(d.packet);
      if (sent < 0 && sent != AVERROR(EAGAIN)) return MovieStep::kEnd;
      if (ours) break;
      if (late()) return MovieStep::kLater;
    }
    if (late()) return MovieStep::kLater;
  }
}

bool MovieDecoder::ReadSound(const std::string& diskPath, std::vector<int16_t>& mono,
                             int32_t& rate) {
  mono.clear();
  rate = 0;
  AVFormatContext* fmt = nullptr;
  if (!platform::RegularFile(diskPath) ||
      avformat_open_input(&fmt, diskPath.c_str(), nullptr, nullptr) < 0) {
    return false;
  }
  AVCodecContext* codec = nullptr;
  SwrContext* swr = nullptr;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  int s = -1;
  bool ok = avformat_find_stream_info(fmt, nullptr) >= 0 &&
            (s = OpenStream(fmt, AVMEDIA_TYPE_AUDIO, codec)) >= 0 && frame && packet &&
            codec->sample_rate >= 1000 && codec->sample_rate <= 192000;
  if (ok) {
    AVChannelLayout monoLayout;
    av_channel_layout_default(&monoLayout, 1);
    ok = swr_alloc_set_opts2(&swr, &monoLayout, AV_SAMPLE_FMT_S16, codec->sample_rate,
                             &codec->ch_layout, codec->sample_fmt, codec->sample_rate, 0,
                             nullptr) >= 0 &&
         swr_init(swr) >= 0;
  }
  if (ok) {
    rate = codec->sample_rate;
    const size_t limit = static_cast<size_t>(rate) * kMaxMovieSeconds;
    bool flushed = false;
    while (mono.size() < limit) {
      const int got = avcodec_receive_frame(codec, frame);
      if (got == 0) {
        const size_t at = mono.size();
        mono.resize(at + static_cast<size_t>(frame->nb_samples) + 256);
        uint8_t* out = reinterpret_cast<uint8_t*>(mono.data() + at);
        const int n =
            swr_convert(swr, &out, frame->nb_samples + 256,
                        const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        mono.resize(at + static_cast<size_t>(std::max(n, 0)));
        continue;
      }
      if (got != AVERROR(EAGAIN) || flushed) break;
      if (av_read_frame(fmt, packet) < 0) {
        avcodec_send_packet(codec, nullptr);
        flushed = true;
        continue;
      }
      if (packet->stream_index == s) avcodec_send_packet(codec, packet);
      av_packet_unref(packet);
    }
    if (mono.size() > limit) mono.resize(limit);
  }
  swr_free(&swr);
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&codec);
  avformat_close_input(&fmt);
  return ok && !mono.empty();
}

// ---- The player ----

MoviePlayerAv::MoviePlayerAv(AudioDevice* device) : device_(device) {}

MoviePlayerAv::~MoviePlayerAv() {
  StopSound();
}

void MoviePlayerAv::StopSound() {
  if (source_ != 0) {
    alSourceStop(source_);
    alDeleteSources(1, &source_);
    source_ = 0;
  }
  if (buffer_ != 0) {
    alDeleteBuffers(1, &buffer_);
    buffer_ = 0;
  }
}

bool MoviePlayerAv::Open(const std::string& gamePath) {
  Stop();
  if (!PathExists(gamePath)) return false;
  const std::string disk = ResolvePath(gamePath);
  std::string error;
  if (!decoder_.Open(disk, error)) {
    std::cerr << "skerrow: " << error << "\n";
    return false;
  }
  // The first picture is decoded by CurrentPicture, within its time.
  haveNext_ = false;
  pending_ = true;
  if (device_ != nullptr && device_->IsOpen()) {
    std::vector<int16_t> mono;
    int32_t rate = 0;
    if (decoder_.ReadSound(disk, mono, rate)) {
      TakeAlError();
      alGenSources(1, &source_);
      alGenBuffers(1, &buffer_);
      if (!TakeAlError()) {
        alBufferData(buffer_, AL_FORMAT_MONO16, mono.data(),
                     static_cast<ALsizei>(mono.size() * sizeof(int16_t)), rate);
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
      }
      if (TakeAlError()) StopSound();
    }
  }
  return true;
}

void MoviePlayerAv::SetDisplayRect(int, int, int, int) {
  // The shell keeps the panel's rectangle and draws the pictures there.
}

void MoviePlayerAv::Play() {
  if (!decoder_.IsOpen()) return;
  playing_ = true;
  start_ = std::chrono::steady_clock::now();
  if (source_ != 0) alSourcePlay(source_);
}

void MoviePlayerAv::Stop() {
  playing_ = false;
  StopSound();
  decoder_.Close();
  haveNext_ = false;
  pending_ = false;
}

const uint8_t* MoviePlayerAv::CurrentPicture() {
  if (!playing_) return nullptr;
  const double now =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  // Pictures whose time has come replace the one shown; the last one ends the movie. Decoding
  // takes at most one frame's time per call, so that the loop goes on answering clicks however
  // large or slow the movie (a late movie plays slower).
  const auto deadline = std::chrono::steady_clock::now() + kDecodeBudget;
  bool changed = false;
  for (;;) {
    if (pending_) {
      const MovieStep step = decoder_.NextPicture(next_, nextSeconds_, deadline);
      if (step == MovieStep::kLater) break;
      pending_ = false;
      haveNext_ = step == MovieStep::kPicture;
    }
    if (!haveNext_ || nextSeconds_ > now) break;
    shown_.swap(next_);
    changed = true;
    pending_ = true;
    if (std::chrono::steady_clock::now() >= deadline) break;
  }
  if (!haveNext_ && !pending_) {
    const bool soundLeft = [&] {
      if (source_ == 0) return false;
      ALint state = 0;
      alGetSourcei(source_, AL_SOURCE_STATE, &state);
      return state == AL_PLAYING;
    }();
    if (!soundLeft) playing_ = false;
  }
  return changed ? shown_.data() : nullptr;
}

}  // namespace skerrow::audio
