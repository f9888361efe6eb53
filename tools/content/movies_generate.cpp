// The three logo movies: short AVI files (Motion-JPEG pictures, 16-bit PCM sound) drawn and
// written through FFmpeg.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "audio_generate.h"
#include "content.h"
#include "noise.h"

namespace skerrow::content {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFps = 25;
constexpr double kSeconds = 2.4;
constexpr int kAudioFrame = kAudioRate / kFps;  // samples of sound per picture

// Frame `f` of logo `k` in RGB: a coloured field, a growing emblem and a sweep of light.
Image LogoFrame(int k, int f) {
  Image img(kWidth, kHeight);
  const double t = static_cast<double>(f) / (kSeconds * kFps);
  static const double kTint[3][3] = {{0.1, 0.3, 0.6}, {0.5, 0.15, 0.1}, {0.1, 0.45, 0.25}};
  const double grow = SmoothStep(0.0, 0.5, t);
  const double fade = SmoothStep(1.0, 0.8, t) * SmoothStep(0.0, 0.1, t);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double dx = (x - kWidth / 2.0) / kHeight, dy = (y - kHeight / 2.0) / kHeight;
      const double r = std::sqrt(dx * dx + dy * dy);
      const double a = std::atan2(dy, dx);
      double v = 0.25 + 0.2 * (1 - r);
      double emblem = 0;
      switch (k) {
        case 0:  // rings
          emblem = std::fabs(std::sin(r * 40 - t * 6)) > 0.7 && r < 0.35 * grow ? 1 : 0;
          break;
        case 1:  // a star of eight points
          emblem = r < 0.3 * grow * (0.6 + 0.4 * std::fabs(std::cos(a * 4 + t * 3))) ? 1 : 0;
          break;
        default:  // a wave over a disc
          emblem = (r < 0.28 * grow) ? 1 : 0;
          if (std::fabs(dy - 0.05 * std::sin(dx * 25 + t * 10)) < 0.02 && std::fabs(dx) < 0.4)
            emblem = 1;
          break;
      }
      const double sweep = std::exp(-std::pow((dx + dy) * 3 - (t * 8 - 3), 2) * 4) * 0.5;
      uint8_t* p = img.At(x, y);
      for (int c = 0; c < 3; ++c) {
        const double col = (v * kTint[k][c] * 2 + emblem * (0.6 + 0.4 * kTint[k][c]) + sweep);
        p[c] = static_cast<uint8_t>(std::lround(255 * Clamp01(col * fade)));
      }
    }
  }
  return img;
}

void Check(int rc, const char* what) {
  if (rc < 0) throw std::runtime_error(std::string("movie encoder: ") + what);
}

struct Writer {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* vs = nullptr;
  AVStream* as = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  ~Writer() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    if (fmt != nullptr) {
      if (fmt->pb != nullptr) avio_closep(&fmt->pb);
      avformat_free_context(fmt);
    }
  }
  void Drain(AVCodecContext* codec, AVStream* stream) {
    while (avcodec_receive_packet(codec, packet) == 0) {
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      Check(av_interleaved_write_frame(fmt, packet), "write");
    }
  }
};

void WriteMovie(const std::filesystem::path& path, int k) {
  Writer w;
  Check(avformat_alloc_output_context2(&w.fmt, nullptr, "avi", path.c_str()), "avi");
  const AVCodec* vc = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  const AVCodec* ac = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
  if (vc == nullptr || ac == nullptr) throw std::runtime_error("movie encoder: no MJPEG or PCM");
  w.vs = avformat_new_stream(w.fmt, nullptr);
  w.as = avformat_new_stream(w.fmt, nullptr);
  w.video = avcodec_alloc_context3(vc);
  w.video->width = kWidth;
  w.video->height = kHeight;
  w.video->pix_fmt = AV_PIX_FMT_YUVJ420P;
  w.video->time_base = {1, kFps};
  w.video->bit_rate = 1500000;
  w.video->flags |= AV_CODEC_FLAG_QSCALE;
  w.video->global_quality = FF_QP2LAMBDA * 4;
  Check(avcodec_open2(w.video, vc, nullptr), "open video");
  Check(avcodec_parameters_from_context(w.vs->codecpar, w.video), "video parameters");
  w.vs->time_base = w.video->time_base;
  w.audio = avcodec_alloc_context3(ac);
  w.audio->sample_fmt = AV_SAMPLE_FMT_S16;
  w.audio->sample_rate = kAudioRate;
  av_channel_layout_default(&w.audio->ch_layout, 1);
  w.audio->time_base = {1, kAudioRate};
  Check(avcodec_open2(w.audio, ac, nullptr), "open audio");
  Check(avcodec_parameters_from_context(w.as->codecpar, w.audio), "audio parameters");
  w.as->time_base = w.audio->time_base;
  Check(avio_open(&w.fmt->pb, path.c_str(), AVIO_FLAG_WRITE), "open file");
  Check(avformat_write_header(w.fmt, nullptr), "header");
  w.frame = av_frame_alloc();
  w.packet = av_packet_alloc();
  const std::vector<int16_t> chime = ToPcm16(LogoChime(k, kSeconds));
  const int frames = static_cast<int>(kSeconds * kFps);
  for (int f = 0; f < frames; ++f) {
    const Image img = LogoFrame(k, f);
    // Pictures: RGB to full-range YUV 4:2:0.
    av_frame_unref(w.frame);
    w.frame->format = AV_PIX_FMT_YUVJ420P;
    w.frame->width = kWidth;
    w.frame->height = kHeight;
    Check(av_frame_get_buffer(w.frame, 0), "frame");
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint8_t* p = img.At(x, y);
        const double yy = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
        w.frame->data[0][y * w.frame->linesize[0] + x] = static_cast<uint8_t>(std::lround(yy));
        if (x % 2 == 0 && y % 2 == 0) {
          const double cb = 128 - 0.168736 * p[0] - 0.331264 * p[1] + 0.5 * p[2];
          const double cr = 128 + 0.5 * p[0] - 0.418688 * p[1] - 0.081312 * p[2];
          w.frame->data[1][(y / 2) * w.frame->linesize[1] + x / 2] =
              static_cast<uint8_t>(std::lround(std::clamp(cb, 0.0, 255.0)));
          w.frame->data[2][(y / 2) * w.frame->linesize[2] + x / 2] =
              static_cast<uint8_t>(std::lround(std::clamp(cr, 0.0, 255.0)));
        }
      }
    }
    w.frame->pts = f;
    Check(avcodec_send_frame(w.video, w.frame), "encode picture");
    w.Drain(w.video, w.vs);
    // Sound: the stretch of the chime under this picture.
    av_frame_unref(w.frame);
    w.frame->format = AV_SAMPLE_FMT_S16;
    w.frame->sample_rate = kAudioRate;
    av_channel_layout_default(&w.frame->ch_layout, 1);
    w.frame->nb_samples = kAudioFrame;
    Check(av_frame_get_buffer(w.frame, 0), "sound frame");
    std::memcpy(w.frame->data[0], chime.data() + static_cast<size_t>(f) * kAudioFrame,
                kAudioFrame * sizeof(int16_t));
    w.frame->pts = static_cast<int64_t>(f) * kAudioFrame;
    Check(avcodec_send_frame(w.audio, w.frame), "encode sound");
    w.Drain(w.audio, w.as);
  }
  avcodec_send_frame(w.video, nullptr);
  w.Drain(w.video, w.vs);
  avcodec_send_frame(w.audio, nullptr);
  w.Drain(w.audio, w.as);
  Check(av_write_trailer(w.fmt), "trailer");
}

}  // namespace

void GenerateMovies(Output& out) {
  static const char* kNames[3] = {"Pelk.avi", "Orvel.avi", "Dunmar.avi"};
  for (int k = 0; k < 3; ++k) {
    // FFmpeg writes the file itself; write a placeholder first so the tree records it.
    const std::string rel = std::string("movies/") + kNames[k];
    out.Write(rel, std::vector<uint8_t>{});
    WriteMovie(out.Root() / rel, k);
  }
}

}  // namespace skerrow::content
