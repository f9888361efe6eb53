// The play step's link to the main form (keyboard snapshot, level changes, update dispatch),
// and the form's frames for screenshots.
#pragma once

#include "shell/input.h"
#include "simulation/play_host.h"

namespace skerrow {

class TSkerrowForm;

class FormPlayHost : public PlayHost {
 public:
  explicit FormPlayHost(TSkerrowForm& form) : form_(form) {}

  void RefreshKeyboard() override;
  bool KeyDown(int vk) override;
  bool PlayWindowOpen() override;
  void PlaceListener(double x, double y, double z) override;
  void PlaySound(int32_t sound, double x, double y, double z) override;
  bool EnterLevel(int32_t level) override;
  void UpdateDispatch() override;
  void SaveToCurrentSlot() override;
  bool ReloadCurrentSlot() override;
  void ShowNotice(const std::string& text) override;
  void SaveToCurrentSlotWithThumbnail() override;
  void StopMusic() override;
  void PlayMusic(const std::string& file) override;
  void ShowHint(const std::string& textFile, const std::string& voiceFile) override;

 private:
  TSkerrowForm& form_;
};

// Frames of the form's current GameMode, read back for the screenshot keys.
class FormFrameSource : public FrameSource {
 public:
  explicit FormFrameSource(TSkerrowForm& form) : form_(form) {}

  bool RenderFrame(int32_t width, int32_t height, std::vector<uint8_t>& bgr) override;

 private:
  TSkerrowForm& form_;
};

}  // namespace skerrow
