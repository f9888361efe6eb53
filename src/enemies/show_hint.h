// Hints raised by play: the hint file names (text under gdata\ata\hints\, voice under
// gdata\sounds\hints\) and ShowHint, which hands an existing text file to the host's window.
#pragma once

#include <cstdint>
#include <string>

namespace skerrow {

struct WorldState;
class PlayHost;

// appPath + "gdata\ata\hints\" + name + ".txt" and appPath + "gdata\sounds\hints\" + name +
// ".wav". `name` is built by the callers from fixed words and decimal numbers only.
std::string HintTextFile(const WorldState& w, const std::string& name);
std::string HintVoiceFile(const WorldState& w, const std::string& name);

// Shows the hint: nothing at all when `textFile` does not exist; otherwise the host's hint
// window with the text and (when it exists and the voice option is on) the voice.
void ShowHint(PlayHost& host, const std::string& textFile, const std::string& voiceFile);

}  // namespace skerrow
