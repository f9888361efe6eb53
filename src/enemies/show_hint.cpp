// Hint file names and the existence test before the host shows a hint.
#include "enemies/show_hint.h"

#include "platform/paths.h"
#include "simulation/play_host.h"
#include "world/world_state.h"

namespace skerrow {

std::string HintTextFile(const WorldState& w, const std::string& name) {
  return w.appPath + "gdata\\ata\\hints\\" + name + ".txt";
}

std::string HintVoiceFile(const WorldState& w, const std::string& name) {
  return w.appPath + "gdata\\sounds\\hints\\" + name + ".wav";
}

void ShowHint(PlayHost& host, const std::string& textFile, const std::string& voiceFile) {
  if (!PathExists(textFile)) return;
  host.ShowHint(textFile, voiceFile);
}

}  // namespace skerrow
