// Keyboard state by Windows virtual-key code: the live state kept by the event handlers and
// the per-step snapshot that steering code polls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace skerrow {

class KeyboardState {
 public:
  void SetDown(int vk, bool down) {
    if (vk >= 0 && vk < 256) keys_[vk] = down ? 1 : 0;
  }
  bool IsDown(int vk) const { return vk >= 0 && vk < 256 && keys_[vk] == 1; }
  void Clear() { keys_.fill(0); }
  // Every key held in `other` is held here too.
  void Add(const KeyboardState& other) {
    for (size_t vk = 0; vk < keys_.size(); ++vk) keys_[vk] |= other.keys_[vk];
  }

 private:
  std::array<uint8_t, 256> keys_{};
};

}  // namespace skerrow
