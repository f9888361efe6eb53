// Hints: wrapping a hint text into the window's ten lines, showing and closing the window.
#include "enemies/hints.h"

#include <cstdint>

#include "platform/paths.h"
#include "world/raw_io.h"

namespace skerrow {

HintLines WrapHintText(std::string_view text) {
  HintLines out;
  int32_t count = 0;
  auto emit = [&out, &count](std::string_view line) {
    if (count < kHintLines) out[static_cast<size_t>(count++)] = std::string(line);
  };
  size_t at = 0;
  while (at < text.size() && count < kHintLines) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (line.size() > kHintLineChars && count < kHintLines) {
      // Break at the last space that keeps the line within the width; a word longer than the
      // width is cut.
      const size_t space = line.rfind(' ', kHintLineChars);
      const size_t cut = space == std::string_view::npos || space == 0 ? kHintLineChars : space;
      emit(line.substr(0, cut));
      line.remove_prefix(cut);
      while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    }
    emit(line);
  }
  return out;
}

bool ShowHint(HintWindow& window, HintHost& host, const std::string& textFile,
              const std::string& voiceFile) {
  if (!PathExists(textFile)) return false;
  std::string text(kHintFileLimit, '\0');
  text.resize(ReadFileRange(textFile, {reinterpret_cast<uint8_t*>(text.data()), text.size()}));
  ShowHintText(window, host, text);
  // With the option off or no voice file the hint is silent; a voice still playing goes on.
  if (host.HintVoiceOn() && PathExists(voiceFile)) host.PlayVoice(voiceFile);
  return true;
}

void ShowHintText(HintWindow& window, HintHost& host, std::string_view text) {
  window.lines = WrapHintText(text);
  host.ClearPressedMouse();
}

void CloseHint(HintHost& host) {
  host.StopVoice();
}

}  // namespace skerrow
