// OpenAL Soft device and context: the default device or a loopback device for tests.
#include "audio/audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>

#include "platform/log.h"

namespace skerrow::audio {
namespace {

// 22 sounds with 188 channels and their 22 flat copies, the voice, the music and the movie
// sound: OpenAL Soft's default of 256 mono sources would only just hold them, so ask for more.
constexpr ALCint kMonoSources = 384;
constexpr ALCint kStereoSources = 8;

LPALCLOOPBACKOPENDEVICESOFT g_loopbackOpen = nullptr;
LPALCRENDERSAMPLESSOFT g_renderSamples = nullptr;

bool FindLoopback() {
  if (g_loopbackOpen != nullptr && g_renderSamples != nullptr) return true;
  if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") != ALC_TRUE) return false;
  g_loopbackOpen = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  g_renderSamples =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  return g_loopbackOpen != nullptr && g_renderSamples != nullptr;
}

// ALSA's and JACK's error printers: into the log file, never onto the player's terminal.
void AlsaErrorToLog(const char* file, int line, const char* function, int err, const char* fmt,
                    ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  platform::LogFileOnly(std::string("ALSA ") + (file ? file : "") + ":" + std::to_string(line) +
                        " " + (function ? function : "") + ": " + text +
                        (err != 0 ? " (error " + std::to_string(err) + ")" : ""));
}

void JackMessageToLog(const char* text) {
  platform::LogFileOnly(std::string("JACK: ") + (text ? text : ""));
}

// Sets `symbol`, a setter of a message printer, in the shared library `soname` when it is
// installed. OpenAL Soft opens the same library later and gets the same instance, printer set.
template <typename Result, typename Printer>
void SetPrinter(const char* soname, const char* symbol, Printer printer) {
  void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);  // kept open for the process
  if (library == nullptr) return;
  using Setter = Result (*)(Printer);
  if (void* set = dlsym(library, symbol)) reinterpret_cast<Setter>(set)(printer);
}

}  // namespace

void QuietSoundLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    // OpenAL Soft reads its log level once, at the process's first ALC call; 0 prints nothing.
    // A level the player set himself wins.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // OpenAL Soft's ALSA and JACK back-ends print pages of their own when there is no card or
    // no server: "ALSA lib confmisc.c:855:(parse_card) cannot find card '0'" and the like.
    using AlsaPrinter = void (*)(const char*, int, const char*, int, const char*, ...);
    SetPrinter<int, AlsaPrinter>("libasound.so.2", "snd_lib_error_set_handler", AlsaErrorToLog);
    using JackPrinter = void (*)(const char*);
    SetPrinter<void, JackPrinter>("libjack.so.0", "jack_set_error_function", JackMessageToLog);
    SetPrinter<void, JackPrinter>("libjack.so.0", "jack_set_info_function", JackMessageToLog);
  });
}

bool TakeAlError() {
  return alGetError() != AL_NO_ERROR;
}

bool AudioDevice::Open() {
  Close();
  QuietSoundLibraries();
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device == nullptr) {
    std::cerr << "skerrow: no sound device; sound and music are off for this run\n";
    return false;
  }
  device_ = device;
  loopback_ = false;
  return MakeContext();
}

bool AudioDevice::OpenLoopback(int32_t frequency) {
  Close();
  QuietSoundLibraries();
  if (!FindLoopback()) {
    std::cerr << "skerrow: OpenAL has no loopback device\n";
    return false;
  }
  ALCdevice* device = g_loopbackOpen(nullptr);
  if (device == nullptr) return false;
  device_ = device;
  loopback_ = true;
  loopbackFrequency_ = frequency;
  return MakeContext();
}

bool AudioDevice::MakeContext() {
  ALCdevice* device = static_cast<ALCdevice*>(device_);
  // Loopback contexts name their format; both ask for plain stereo panning (no HRTF) so that
  // left and right are the device's own channels.
  ALCint attrs[16];
  int n = 0;
  if (loopback_) {
    attrs[n++] = ALC_FORMAT_CHANNELS_SOFT;
    attrs[n++] = ALC_STEREO_SOFT;
    attrs[n++] = ALC_FORMAT_TYPE_SOFT;
    attrs[n++] = ALC_SHORT_SOFT;
    attrs[n++] = ALC_FREQUENCY;
    attrs[n++] = loopbackFrequency_;
  }
  attrs[n++] = ALC_MONO_SOURCES;
  attrs[n++] = kMonoSources;
  attrs[n++] = ALC_STEREO_SOURCES;
  attrs[n++] = kStereoSources;
  attrs[n++] = ALC_HRTF_SOFT;
  attrs[n++] = ALC_FALSE;
  attrs[n++] = 0;
  ALCcontext* context = alcCreateContext(device, attrs);
  if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
    std::cerr << "skerrow: the sound device refused a context; sound and music are off for this "
                 "run\n";
    if (context != nullptr) alcDestroyContext(context);
    alcCloseDevice(device);
    device_ = nullptr;
    return false;
  }
  context_ = context;
  alGetError();
  return true;
}

void AudioDevice::RenderLoopback(int16_t* stereo, int32_t frames) {
  if (!loopback_ || device_ == nullptr || frames <= 0) return;
  g_renderSamples(static_cast<ALCdevice*>(device_), stereo, frames);
}

void AudioDevice::Close() {
  if (context_ != nullptr) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    context_ = nullptr;
  }
  if (device_ != nullptr) {
    alcCloseDevice(static_cast<ALCdevice*>(device_));
    device_ = nullptr;
  }
}

}  // namespace skerrow::audio
