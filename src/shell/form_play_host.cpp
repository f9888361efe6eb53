// The main form as the play step's host and as the frame source of screenshots: keyboard,
// sound and listener, the in-play windows, level changes, saves and hints.
#include "shell/form_play_host.h"

#include "gui/interface.h"
#include "platform/media.h"
#include "render/frame.h"
#include "render/frame_capture.h"
#include "render/renderer.h"
#include "shell/skerrow_form.h"
#include "world/world_state.h"

namespace skerrow {

void FormPlayHost::RefreshKeyboard() {
  form_.RefreshKeyboard();
}

bool FormPlayHost::PlayWindowOpen() {
  return skerrow::PlayWindowOpen(form_.Interface());
}

bool FormPlayHost::KeyDown(int vk) {
  return form_.KeyDown(vk);
}

void FormPlayHost::PlaceListener(double x, double y, double z) {
  form_.SetListener(x, y, z);
}

void FormPlayHost::PlaySound(int32_t sound, double x, double y, double z) {
  form_.PlaySound(sound, x, y, z);
}

bool FormPlayHost::EnterLevel(int32_t level) {
  return form_.EnterLevelFromPlay(level);
}

void FormPlayHost::UpdateDispatch() {
  form_.UpdateDispatch();
}

void FormPlayHost::SaveToCurrentSlot() {
  form_.SaveGame(false);
}

bool FormPlayHost::ReloadCurrentSlot() {
  return form_.RestartFromSave();
}

void FormPlayHost::ShowNotice(const std::string& text) {
  form_.ShowNotice(text);
}

void FormPlayHost::SaveToCurrentSlotWithThumbnail() {
  form_.SaveGame(true);
}

void FormPlayHost::StopMusic() {
  if (platform::MusicPlayer* music = form_.Music()) music->Stop();
}

void FormPlayHost::PlayMusic(const std::string& file) {
  platform::MusicPlayer* music = form_.Music();
  if (music == nullptr) return;  // playmusic off: no music call at all
  music->Play(file);
  music->SetVolume(form_.Settings().t_musicvolume);
}

void FormPlayHost::ShowHint(const std::string& textFile, const std::string& voiceFile) {
  form_.ShowHint(textFile, voiceFile);
}

bool FormFrameSource::RenderFrame(int32_t width, int32_t height, std::vector<uint8_t>& bgr) {
  platform::Window& display = form_.Display();
  if (!display.HasGL()) return false;
  BeginFrameCapture(width, height);
  form_.DrawModeFrame();
  EndFrameCapture(width, height, bgr, display.Width(), display.Height());
  return true;
}

}  // namespace skerrow
