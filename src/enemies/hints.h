// Hints: a text of up to ten window lines, word-wrapped from a Windows-1251 file, optionally
// spoken, that pauses play until the hint window is closed. ShowHint fills the lines of a plain
// model of the hint window; the GUI's window shows them and its flag alone says whether the
// hint is shown; the voice goes through HintHost.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace skerrow {

inline constexpr int32_t kHintLines = 10;        // text lines of the hint window
inline constexpr size_t kHintLineChars = 45;     // about 271 pixels of the dialog font
inline constexpr size_t kHintFileLimit = 65536;  // bytes read of a text file: ten lines need less

using HintLines = std::array<std::string, kHintLines>;

// The hint window's ten lines (Windows-1251).
struct HintWindow {
  HintLines lines;
};

// What showing and closing a hint needs outside the world.
class HintHost {
 public:
  virtual ~HintHost() = default;
  // Clears the interface toolkit's pressed-mouse flag, so that a press begun before the hint
  // does not act on its window.
  virtual void ClearPressedMouse() {}
  // The option hintssound ("Озвучивать подсказки").
  virtual bool HintVoiceOn() { return false; }
  // The hint voice player: stop, load `file` and start it (PlayVoice); stop it (StopVoice).
  virtual void PlayVoice(const std::string& /*file*/) {}
  virtual void StopVoice() {}
};

// The text's lines (CR LF or LF ends), each wrapped at spaces to at most 45 characters (a
// longer word is cut); the first ten, and empty ones after the text's end.
HintLines WrapHintText(std::string_view text);

// ShowHint with text file `textFile` and voice file `voiceFile` (full game paths): nothing at
// all when the text file is missing; otherwise its wrapped lines replace the window's, the
// pressed-mouse flag is cleared, and with the voice option on an existing voice file is played
// (restarting any voice). Returns whether there is a hint to show.
bool ShowHint(HintWindow& window, HintHost& host, const std::string& textFile,
              const std::string& voiceFile);

// The hint window with `text` (Windows-1251) instead of a file's, silent: the game's own
// notices. Its wrapped lines replace the window's and the pressed-mouse flag is cleared; the
// caller shows the window.
void ShowHintText(HintWindow& window, HintHost& host, std::string_view text);

// Every way of closing the window (its button "Продолжить игру", its close box, a controller's
// B): stops the voice. The caller hides the window; play resumes on the next step.
void CloseHint(HintHost& host);

}  // namespace skerrow
