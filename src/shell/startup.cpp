// Start-up sequence of the main game object: stored options, display and scene, the three
// movie stages, resource loading with the loading bar, ending in the menu mode; and shutdown.
#include <GL/gl.h>

#include <algorithm>
#include <cfenv>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "audio/audio_device.h"
#include "audio/movie.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "engine/ktzgl.h"
#include "engine/model.h"
#include "engine/picture.h"
#include "engine/textures.h"
#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/log.h"
#include "platform/media.h"
#include "platform/messages.h"
#include "platform/notices.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "render/frame.h"
#include "render/frame_capture.h"
#include "render/game_resources.h"
#include "render/render_state.h"
#include "render/renderer.h"
#include "render/water.h"
#include "shell/form_interface.h"
#include "shell/level_host.h"
#include "shell/music_tracks.h"
#include "shell/skerrow_form.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

using Clock = std::chrono::steady_clock;
// Taken when the program's static data is initialised, before main.
const Clock::time_point kProgramStart = Clock::now();

double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

constexpr uint32_t kGlTexture0 = 0x84C0;  // GL_TEXTURE0_ARB
constexpr uint32_t kGlTexture1 = 0x84C1;  // GL_TEXTURE1_ARB

static_assert(audio::kSoundCount == sound::kCount, "the sound table has a row per sound number");

// The movie files of stages 0, 1 and 2.
constexpr const char* kMovies[3] = {"Pelk.avi", "Orvel.avi", "Dunmar.avi"};

// --bench marks for the movie stages: they are excluded from startup_ms.
Clock::time_point g_movieStageStart;

}  // namespace

void TSkerrowForm::FormCreate() {
  WorldState& w = *world_;
  if (options_.seed) {
    SharedRandom().Seed(*options_.seed);
  } else {
    SharedRandom().Seed(
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  }
  SetTextureQuality(1);
  w.levelNumber = 1;
  std::string root = options_.root.empty() ? ExecutableDirectory() : options_.root;
  if (root.back() != '/' && root.back() != '\\') root += '/';
  w.appPath = root;
  // Listings cached before this form existed (another form's folder, since changed) are stale.
  InvalidatePathCache();

  const std::string settingsFile = UserFilePath(UserFile::kSettings, w.appPath);
  if (std::string problem; !RestoreSettings(settingsFile, settings_, &problem) && !problem.empty()) {
    platform::ReportFailure(platform::Failure::kSettingsRead,
                            "settings: " + Cp1251ToUtf8(settingsFile) + " " + problem +
                                "; the defaults are used");
  }
  keyMap_ = MakeKeyMap(settings_.keys);
  w.textureQuality = settings_.qualityterraintexture ? 1 : 0;
  SetTextureQuality(w.textureQuality);
  w.fourPipelines = settings_.fourpeppelines ? 1 : 0;
  w.hqEffects = settings_.hqeffects ? 1 : 0;
  w.terrainShadows = settings_.tershadows ? 1 : 0;
  w.sound3D = settings_.sound3d ? 1 : 0;
  w.stretchMovies = settings_.stretchmovies ? 1 : 0;
  w.maxShadows = TruncToInt(settings_.maxshadowsnumber);
  w.browseSlot = 1;

  renderer_ = std::make_unique<Renderer>();
  renderer_->state.fastSea = settings_.fastsea;
  levelHost_ = std::make_unique<FormLevelHost>(*this);
  renderer_->state.drawGuiWindows = [this] { DrawInterfaceWindows(*interface_); };
  // One device for effects, music and the movies' sound; --headless keeps audio and movies
  // off, and a machine without a device runs silently (one line on stderr).
  if (!options_.headless && (settings_.sounds || settings_.playmusic)) {
    audioDevice_ = std::make_unique<audio::AudioDevice>();
    audioDeviceOpened_ = audioDevice_->Open();
    if (!audioDeviceOpened_) audioDevice_.reset();
  }
  if (options_.headless) {
    moviePlayer_ = std::make_unique<platform::NullMoviePlayer>();
  } else {
    moviePlayer_ = std::make_unique<audio::MoviePlayerAv>(audioDevice_.get());
  }
  if (settings_.playmusic) musicPlayer_ = MusicInitialize();
  if (options_.headless) {
    platform::Log("sound and music off: --headless");
  } else {
    if (!settings_.sounds) platform::Log("sound off: the sounds option is off");
    if (!settings_.playmusic) platform::Log("music off: the playmusic option is off");
  }
  // Every floating-point exception stays masked (the default environment masks them all).
  std::fesetenv(FE_DFL_ENV);
}

bool TSkerrowForm::ddrawInitialize() {
  const platform::DisplayConfig cfg = DisplayFromSettings(settings_, options_);
  if (!window_->Open(cfg)) {
    if (!options_.headless) {
      std::cerr << "skerrow: cannot open the display: " << window_->Error() << "\n";
      return false;
    }
    std::cerr << "skerrow: no offscreen GL (" << window_->Error()
              << "); running without a display\n";
    window_ = platform::CreateNullWindow();
    window_->Open(cfg);
  }
  WorldState& w = *world_;
  window_->ShowCursor(false);
  w.cameraNumber = 1;
  w.fixedCamera = 1;
  w.gameSpeed = 40;
  const int width = std::max(window_->Width(), 1);
  const int height = std::max(window_->Height(), 1);
  GameResources& res = renderer_->resources;
  res.scene = std::make_unique<TKTZGL_Scene>();
  if (window_->HasGL()) res.scene->InitGL(*window_, width, height, 0.1, 50.0);
  // Hidden switches for tests and measurements: SKERROW_LANDSCAPE_QUALITY=0..5 picks the floor
  // renderer, SKERROW_RENDER_SWITCHES turns passes off (what each costs under --bench),
  // SKERROW_PASS_TIMES=1 under --bench prints each pass's CPU time; SKERROW_FAST_SEA=0 or 1
  // sets the options window's "fast sea" for this run without storing it.
  StartRenderer(w, *renderer_,
                ParseRenderOverrides(std::getenv("SKERROW_LANDSCAPE_QUALITY"),
                                     std::getenv("SKERROW_RENDER_SWITCHES"),
                                     options_.bench ? std::getenv("SKERROW_PASS_TIMES") : nullptr,
                                     std::getenv("SKERROW_FAST_SEA")));
  w.screenAspect = static_cast<double>(width) / height;
  for (auto& model : res.models) model = std::make_unique<TKTZGL_Model>();
  w.playerUnit = 1;
  w.skyFogColour = {180.0f / 255.0f, 180.0f / 255.0f, 120.0f / 255.0f, 1.0f};

  g_movieStageStart = Clock::now();
  PlayMovieStage(0);
  movieStage_ = 1;
  timers_.SetEnabled(timer_, true);
  return true;
}

void TSkerrowForm::PlayMovieStage(int stage) {
  const WorldState& w = *world_;
  if (stage < 0 || stage > 2) return;
  if (!moviePlayer_->Open(w.appPath + "gdata\\movies\\" + kMovies[stage])) return;  // skipped
  const int dw = window_->Width(), dh = window_->Height();
  int left = 0, top = 0, pw = dw, ph = dh;
  if (w.stretchMovies != 1) {
    pw = moviePlayer_->Width();
    ph = moviePlayer_->Height();
    left = TruncToInt((dw - pw) / 2.0);
    top = TruncToInt((dh - ph) / 2.0);
  }
  loadingVisible_ = true;
  movieRect_[0] = left;
  movieRect_[1] = top;
  movieRect_[2] = pw;
  movieRect_[3] = ph;
  moviePlayer_->SetDisplayRect(left, top, pw, ph);
  moviePlayer_->Play();
}

void TSkerrowForm::ShowMoviePicture() {
  const uint8_t* rgba = moviePlayer_->CurrentPicture();
  if (rgba == nullptr || !window_->HasGL()) return;
  const int mw = moviePlayer_->Width(), mh = moviePlayer_->Height();
  const int dw = window_->Width(), dh = window_->Height();
  if (movieTexture_ == 0) glGenTextures(1, &movieTexture_);
  glViewport(0, 0, dw, dh);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, dw, dh, 0, -1, 1);  // window pixels, y down
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_BLEND);
  glClearColor(0, 0, 0, 1);  // the black panel
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, movieTexture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, mw, mh, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  const float l = static_cast<float>(movieRect_[0]), t = static_cast<float>(movieRect_[1]);
  const float r = l + static_cast<float>(movieRect_[2]), b = t + static_cast<float>(movieRect_[3]);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(l, t);
  glTexCoord2f(1, 0);
  glVertex2f(r, t);
  glTexCoord2f(1, 1);
  glVertex2f(r, b);
  glTexCoord2f(0, 1);
  glVertex2f(l, b);
  glEnd();
  glEnable(GL_DEPTH_TEST);
  window_->SwapBuffers();
}

void TSkerrowForm::loadingClick() {
  moviePlayer_->Stop();
}

std::unique_ptr<platform::MusicPlayer> TSkerrowForm::MusicInitialize() {
  if (musicFactory_) return musicFactory_();
  if (options_.headless) return std::make_unique<platform::NullMusicPlayer>();
  if (!audioDevice_) return nullptr;  // no device: music is off for this run
  auto music = std::make_unique<audio::MusicPlayerAl>();
  if (!music->MusicInitialize(*audioDevice_)) return nullptr;
  return music;
}

void TSkerrowForm::dsoundInitialize() {
  // The sound system starts only with the "sounds" option and a device.
  if (!settings_.sounds || !audioDevice_) return;
  sounds_ = std::make_unique<audio::SoundEffects>();
  if (!sounds_->InitSound(*audioDevice_, world_->appPath)) sounds_.reset();
}

void TSkerrowForm::SetListener(double x, double y, double z) {
  if (sounds_) sounds_->SetListener(x, y, z);
}

void TSkerrowForm::PlaySound(int32_t index, double x, double y, double z) {
  if (sounds_) sounds_->PlaySound(index, x, y, z, world_->sound3D == 1);
}

void TSkerrowForm::PlayFlat(int32_t index) {
  if (sounds_) sounds_->PlayFlat(index);
}

void TSkerrowForm::PlayVoice(const std::string& gamePath) {
  if (sounds_ && PathExists(gamePath)) sounds_->PlayVoice(ResolvePath(gamePath));
}

void TSkerrowForm::StopVoice() {
  if (sounds_) sounds_->StopVoice();
}

void TSkerrowForm::TimerTimer() {
  if (moviePlayer_->Playing()) return;
  if (movieStage_ == 1 || movieStage_ == 2) {
    PlayMovieStage(movieStage_);
    ++movieStage_;
    return;
  }
  if (movieStage_ != 3) return;
  movieStage_ = 4;  // the sequence ends here for good
  WorldState& w = *world_;
  movieMs_ = MsSince(g_movieStageStart);
  timers_.SetEnabled(timer_, false);
  loadingVisible_ = false;
  LoadResources(true);
  platform::Log("start-up: display " + std::to_string(window_->Width()) + " x " +
                std::to_string(window_->Height()) + (window_->HasGL() ? "" : " without GL") +
                ", resources loaded " +
                std::to_string(TruncToInt(MsSince(kProgramStart) - movieMs_)) +
                " ms after program start (movies excluded)");
  if (musicPlayer_) {
    musicPlayer_->Play(w.appPath + Utf8ToCp1251(kMusicPrelude));
    musicPlayer_->SetVolume(settings_.t_musicvolume);
  }
  w.GameMode = game_mode::kMenu;
  w.menuScreen = menu_screen::kMain;
  // The title screen opens with the main menu; a direct start (--start) goes past it.
  if (options_.start.empty()) ShowMainMenu(*interface_);
  timers_.SetEnabled(dtimer_, true);
  w.skyFogTarget = {1.0f, 1.0f, 1.0f, 1.0f};
  w.heightBrush = 5;
  w.screenFade = 1.2;
  timers_.SetEnabled(fpsTimer_, true);
  window_->ShowCursor(true);
  startupMs_ = -2;  // taken at the first menu frame
  if (!options_.start.empty()) {
    // No menu frame comes: start-up ends here, before the level loads.
    NoteFrameForBench();
    if (!StartDirect()) {
      exitCode_ = 2;
      quit_ = true;
      return;
    }
  }
  if (options_.load >= 1) LoadDirect();
  ticksSinceStartup_ = 0;
  if (options_.ticks == 0) quit_ = true;
}

void TSkerrowForm::NoteFrameForBench() {
  if (startupMs_ == -2) startupMs_ = MsSince(kProgramStart) - movieMs_;
}

void TSkerrowForm::LoadResources(bool firstTime) {
  WorldState& w = *world_;
  GameResources& res = renderer_->resources;
  const bool gl = window_->HasGL();
  const bool q = w.textureQuality == 1;
  const std::string& app = w.appPath;
  // firstTime: the multitexture entry points were fetched with the scene; the menu interface
  // is built once its window textures are loaded (below).
  if (const std::string refused = LoadKindPack(w); !refused.empty()) {
    platform::ShowMessage("Skerrow", refused);
  }
  // The loaders hand their messages back; start-up shows them after each group of loads.
  TLoaderMessages messages;
  if (gl) {
    const ScopedPictureLimit interfaceSize(kMaxInterfacePictureSide);
    const std::string in = app + "gdata\\textures\\int\\";
    LoadTexture(in + "loading.qvt", res.handles.loadingTexture, q, messages);
    LoadTexture(in + "striper.qvt", res.handles.loadingBarFill, true, messages);
    LoadTexture(in + "stripel.qvt", res.handles.loadingBarFrame, true, messages);
    ShowLoaderMessages(std::exchange(messages, {}));
  }
  // The menu landscape's visible window.
  w.terrainView[0] = 57;
  w.terrainView[1] = 14;
  w.terrainView[2] = 57;
  w.terrainView[3] = 75;
  LoadHeroDefaults(w);
  if (gl) {
    const std::string fx = app + "gdata\\textures\\effects\\";
    LoadTexture(fx + "halo1.qvt", res.handles.haloTexture, q, messages);
    for (int k = 1; k <= 255; ++k) {
      LoadTexture(fx + "sleda" + std::to_string(k) + ".qvt", res.handles.wakeTextures[k], q,
                  messages);
    }
    ShowLoaderMessages(std::exchange(messages, {}));
  }
  ShowLoadingProgress(1);
  EnginePictureReader reader;
  LoadHeightMapBitmap(w, reader, app + "gdata\\ata\\menu.qvt");
  SeedWater(
      renderer_->state.water, SharedRandom(),
      [](void* form, int32_t p) { static_cast<TSkerrowForm*>(form)->ShowLoadingProgress(p); },
      this);
  if (gl) {
    LoadFloorOverlayFrames(w, res, messages);
    ShowLoaderMessages(std::exchange(messages, {}));
    LoadShipAndWeaponModels(res, app, *levelHost_, messages);
    ShowLoaderMessages(std::exchange(messages, {}));
  }
  ShowLoadingProgress(35);
  if (gl) {
    LoadBonusAnimations(w, res, app, messages);
    ShowLoaderMessages(std::exchange(messages, {}));
    {
      const ScopedPictureLimit interfaceSize(kMaxInterfacePictureSide);
      LoadInterfaceTextures(w, res, app, *levelHost_, messages);
    }
    ShowLoaderMessages(std::exchange(messages, {}));
    LoadEffectAnimations(w, res, app, messages);
    ShowLoaderMessages(std::exchange(messages, {}));
  }
  if (firstTime) {
    // The windows' textures are among the interface textures loaded above.
    const ScopedPictureLimit interfaceSize(kMaxInterfacePictureSide);
    BuildInterface(*interface_, w, *menuHost_, res.Texture("params"), res.Texture("window"), gl);
  }
  w.screenFade = 1.5;
  ShowLoadingProgress(100);
}

void TSkerrowForm::ShowLoadingProgress(int32_t target) {
  const int32_t current = loadingTag_;
  if (target < current) return;
  const bool gl = window_->HasGL() && renderer_ && renderer_->resources.scene;
  static const char* shotPath = std::getenv("SKERROW_LOADING_SCREENSHOT");
  for (int32_t v = current; v <= target; ++v) {
    window_->PumpEvents(*this);
    if (gl) {
      TKTZGL_Scene& scene = *renderer_->resources.scene;
      const int dw = window_->Width(), dh = window_->Height();
      glViewport(0, 0, dw, dh);
      scene.Camera.SetProjection(dw, dh);
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      // Texture units back to one plain 2D unit.
      if (Extensions().ActiveTextureARB) {
        Extensions().ActiveTextureARB(kGlTexture1);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
        Extensions().ActiveTextureARB(kGlTexture0);
      }
      glDisable(GL_DEPTH_TEST);
      glDisable(GL_LIGHTING);
      glDisable(GL_FOG);
      glDisable(GL_CULL_FACE);
      glDisable(GL_TEXTURE_GEN_S);
      glDisable(GL_TEXTURE_GEN_T);
      glEnable(GL_TEXTURE_2D);
      glDisable(GL_BLEND);
      glColor4f(1, 1, 1, 1);
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      glBindTexture(GL_TEXTURE_2D, renderer_->resources.handles.loadingTexture);
      scene.DrawRectPercent(0, 0, 100, 100);
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_COLOR, GL_ONE);
      glBindTexture(GL_TEXTURE_2D, renderer_->resources.handles.loadingBarFrame);
      scene.DrawRectPercent(17, 95, 98, 98);
      glBindTexture(GL_TEXTURE_2D, renderer_->resources.handles.loadingBarFill);
      scene.DrawRectPercent(17, 95, 17 + 81.0 * v / 100.0, 98);
      glDisable(GL_BLEND);
      glEnable(GL_DEPTH_TEST);
      if (shotPath != nullptr && v == 50) {
        // A capture of the loading screen half way (SKERROW_LOADING_SCREENSHOT=file.tga).
        std::vector<uint8_t> bgr;
        ReadFrameBgr(dw, dh, bgr);
        WriteTga(shotPath, PixelsFromBgr(dw, dh, bgr));
      }
    }
    loadingTag_ = v;
    window_->SwapBuffers();
  }
}

bool TSkerrowForm::SaveSettingsFile() {
  const std::string file = UserFilePath(UserFile::kSettings, world_->appPath);
  if (SaveSettings(file, settings_)) return true;
  platform::ReportFailure(platform::Failure::kSettingsWrite,
                          "settings: could not write " + Cp1251ToUtf8(file));
  return false;
}

void TSkerrowForm::FormDestroy() {
  FinishSaves();
  ReportSaveFailure();
  if (musicPlayer_) musicPlayer_->Stop();
  // Sources before the device that holds them.
  moviePlayer_.reset();
  sounds_.reset();
  musicPlayer_.reset();
  audioDevice_.reset();
  if (window_->HasGL()) {
    if (renderer_ && renderer_->resources.scene) renderer_->resources.scene->DoneGL();
    DeleteRegisteredTextures();
    if (movieTexture_ != 0) glDeleteTextures(1, &movieTexture_);
  }
  window_->Close();
}

}  // namespace skerrow
