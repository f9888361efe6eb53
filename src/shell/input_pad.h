// A game controller in the interface windows: its sticks and d-pad move the mouse pointer, A is
// the left mouse button at the pointer and B steps back out of the topmost window.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace skerrow {

struct TInterface;

// A stick deflection (-32768..32767) inside this moves nothing.
inline constexpr int kPadDeadZone = 8000;
// Pointer speed at full deflection: one display height per second (600 interface pixels a
// second, 1.3 s across the 800-wide interface). A d-pad arrow moves at half of it.
inline constexpr double kPadFullSpeedHeightsPerMs = 1.0 / 1000.0;

// The pointer's travel along one axis in window pixels over `ms` milliseconds, for the sticks'
// deflections and the d-pad's arrows on it (-1, 0 or 1): past the dead zone proportional to
// the deflection, left and right stick added, the sum of all three clamped to full speed.
double PadPointerTravel(int16_t leftStick, int16_t rightStick, int dpad, int64_t ms,
                        int displayHeight);

// What the controller did in the windows, kept between its reports.
struct PadPointer {
  double x = 0, y = 0;                 // pointer in window pixels, with its fraction
  int32_t placedX = -1, placedY = -1;  // where the controller last put the mouse
  uint8_t a = 0, b = 0;                // the buttons at the last report
  uint8_t leftDown = 0;                // A pressed the left mouse button in a window
  uint8_t backDown = 0;                // B went down while a window held the input
  uint64_t lastMs = 0;                 // clock of the last report
  uint8_t clockStarted = 0;
};

// B in the windows: the back button of the topmost window ("Готово" of the keys, "Закрыть" of
// the options, "Продолжить игру" of a hint or of the in-game menu, "Ок" of the notice); the
// save and load window is hidden, back to the main menu or the in-game menu. False when no
// window had one.
bool PadBack(TInterface& ui);

}  // namespace skerrow
