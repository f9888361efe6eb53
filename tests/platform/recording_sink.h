// Event sink that records every call as a line of text, for comparing against expectations.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace skerrow::platform {

class RecordingSink : public EventSink {
 public:
  void OnKeyDown(int vk, uint32_t shift) override { Add("down " + N(vk) + " " + N(shift)); }
  void OnKeyUp(int vk, uint32_t shift) override { Add("up " + N(vk) + " " + N(shift)); }
  void OnChar(uint8_t c) override {
    chars.push_back(static_cast<char>(c));
    Add("char " + N(c));
  }
  void OnMouseDown(int b, int x, int y, uint32_t s) override {
    Add("mdown " + N(b) + " " + N(x) + " " + N(y) + " " + N(s));
  }
  void OnMouseUp(int b, int x, int y, uint32_t s) override {
    Add("mup " + N(b) + " " + N(x) + " " + N(y) + " " + N(s));
  }
  void OnMouseMove(int x, int y, uint32_t s) override {
    Add("move " + N(x) + " " + N(y) + " " + N(s));
  }
  void OnClose() override { Add("close"); }
  void OnPointerLeave() override { Add("leave"); }
  // Controller reports are kept apart from the log: they come with every pump.
  void OnPad(const PadState& pad) override { pads.push_back(pad); }

  std::vector<std::string> log;
  std::string chars;  // every OnChar byte in order
  std::vector<PadState> pads;

 private:
  static std::string N(long long v) { return std::to_string(v); }
  void Add(std::string s) { log.push_back(std::move(s)); }
};

}  // namespace skerrow::platform
