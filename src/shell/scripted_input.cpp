// Parser for the scripted-input file of headless runs.
#include "shell/scripted_input.h"

#include <algorithm>
#include <sstream>

namespace skerrow {

namespace {

bool ToInt(const std::string& s, int64_t lo, int64_t hi, int64_t& v) {
  if (s.empty()) return false;
  size_t pos = 0;
  try {
    long long x = std::stoll(s, &pos, 10);
    if (pos != s.size() || x < lo || x > hi) return false;
    v = x;
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

bool ParseInputScript(const std::string& text, std::vector<ScriptEvent>& out, std::string& error) {
  out.clear();
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream ls(line);
    std::vector<std::string> w;
    for (std::string t; ls >> t;) w.push_back(t);
    if (w.empty() || w[0][0] == '#') continue;
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(lineNo) + ": " + why;
      return false;
    };
    ScriptEvent e;
    int64_t v = 0, y = 0;
    if (!ToInt(w[0], 0, INT64_MAX / 2, v)) return fail("bad tick '" + w[0] + "'");
    e.tick = v;
    if (w.size() < 2) return fail("missing event");
    const std::string& verb = w[1];
    if (verb == "editor-button") {
      // The label may hold spaces: everything after the verb, outer blanks trimmed.
      const size_t at = line.find(verb) + verb.size();
      const size_t from = line.find_first_not_of(" \t", at);
      if (from == std::string::npos) return fail("'editor-button' takes a label");
      e.text = line.substr(from, line.find_last_not_of(" \t") + 1 - from);
      e.type = ScriptEvent::kEditorButton;
      out.push_back(e);
      continue;
    }
    size_t want = verb == "mouse-move" || verb == "editor-click" ? 4 : 3;
    if (w.size() != want)
      return fail("'" + verb + "' takes " + std::to_string(want - 2) + " value(s)");
    if (verb == "key-down" || verb == "key-up") {
      if (!ToInt(w[2], 1, 255, v)) return fail("bad virtual-key code '" + w[2] + "'");
      e.type = verb == "key-down" ? ScriptEvent::kKeyDown : ScriptEvent::kKeyUp;
    } else if (verb == "char") {
      if (!ToInt(w[2], 1, 255, v)) return fail("bad character code '" + w[2] + "'");
      e.type = ScriptEvent::kChar;
    } else if (verb == "mouse-down" || verb == "mouse-up") {
      if (!ToInt(w[2], 0, 2, v)) return fail("bad mouse button '" + w[2] + "'");
      e.type = verb == "mouse-down" ? ScriptEvent::kMouseDown : ScriptEvent::kMouseUp;
    } else if (verb == "mouse-move" || verb == "editor-click") {
      if (!ToInt(w[2], -100000, 100000, v) || !ToInt(w[3], -100000, 100000, y))
        return fail("bad mouse position");
      e.type = verb == "mouse-move" ? ScriptEvent::kMouseMove : ScriptEvent::kEditorClick;
      e.b = static_cast<int>(y);
    } else {
      return fail("unknown event '" + verb + "'");
    }
    e.a = static_cast<int>(v);
    out.push_back(e);
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const ScriptEvent& l, const ScriptEvent& r) { return l.tick < r.tick; });
  return true;
}

}  // namespace skerrow
