// Scripted-input lines that close the hint window through its "Продолжить игру" button: a new
// game opens the episode's hint and the tutorial's first hint, and a hint pauses the play step.
#pragma once

#include <initializer_list>
#include <string>

namespace skerrow::test {

// At each tick t: the cursor moves onto the button, and at t + 1 the left button is pressed and
// released. The button's centre is (497, 418) of the 800 x 600 interface space, scaled to a
// `width` x `height` window. A click at a tick with no hint open is a click on the sea.
inline std::string HintClicks(int width, int height, std::initializer_list<int> ticks) {
  const std::string at = std::to_string(497 * width / 800) + " " + std::to_string(418 * height / 600);
  std::string s;
  for (int t : ticks) {
    const std::string press = std::to_string(t + 1);
    s += std::to_string(t) + " mouse-move " + at + "\n" + press + " mouse-down 0\n" + press +
         " mouse-up 0\n";
  }
  return s;
}

}  // namespace skerrow::test
