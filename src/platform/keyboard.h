// Keyboard state by Windows virtual-key code: the live state kept by the event handlers and
// the per-step snapshot that steering code polls; and the key map that turns the keys the
// player pressed into the keys the game reads (the rebinding of the keys of play).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace skerrow {

// Physical key -> game key, both virtual-key codes 0..255; 0 = the key does nothing. The
// default map is the identity.
class KeyMap {
 public:
  KeyMap() {
    for (size_t vk = 0; vk < to_.size(); ++vk) to_[vk] = static_cast<uint8_t>(vk);
  }
  int Map(int vk) const { return vk >= 0 && vk < 256 ? to_[vk] : 0; }
  void Set(int from, int to) {
    if (from >= 0 && from < 256 && to >= 0 && to < 256) to_[from] = static_cast<uint8_t>(to);
  }

 private:
  std::array<uint8_t, 256> to_{};
};

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
  // Every key held in `physical` holds its game key through `map` here too.
  void AddMapped(const KeyboardState& physical, const KeyMap& map) {
    for (size_t vk = 0; vk < keys_.size(); ++vk) {
      const int to = map.Map(static_cast<int>(vk));
      if (physical.keys_[vk] == 1 && to != 0) keys_[to] = 1;
    }
  }

 private:
  std::array<uint8_t, 256> keys_{};
};

}  // namespace skerrow
