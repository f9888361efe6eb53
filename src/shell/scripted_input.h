// Scripted input for headless runs: one event a line, "TICK verb args", TICK counted from
// the end of start-up like --ticks (events of tick T are delivered before the T-th tick;
// tick 0 events right after start-up). Blank lines and lines starting with '#' are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skerrow {

struct ScriptEvent {
  enum Type {
    kKeyDown,
    kKeyUp,
    kChar,
    kMouseMove,
    kMouseDown,
    kMouseUp,
    kEditorClick,
    kEditorButton
  };
  int64_t tick = 0;
  Type type = kKeyDown;
  int a = 0;         // VK code, character code, button, or x
  int b = 0;         // y for mouse-move and editor-click
  std::string text;  // editor-button: the control's label (the rest of the line)
};

// Parses the script text; events come out sorted by tick, file order kept within a tick.
// On a bad line returns false with "line N: reason" in `error`.
bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>& out, std::string& error);

}  // namespace skerrow
