// Undo and redo of editor actions and brush strokes over the saved block: each step keeps only
// the byte runs that changed (offset, old bytes, new bytes), never a copy of the whole block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace skerrow {

struct SavedState;

class UndoJournal {
 public:
  static constexpr size_t kDefaultSteps = 256;
  static constexpr size_t kDefaultBytes = size_t{256} << 20;
  // At most `maxSteps` steps and about `maxBytes` of kept bytes; the oldest go first.
  explicit UndoJournal(size_t maxSteps = kDefaultSteps, size_t maxBytes = kDefaultBytes)
      : maxSteps_(maxSteps), maxBytes_(maxBytes) {}

  // Opens a step; opens inside an open step join it (a brush stroke spans many game steps).
  void Open();
  // Keeps the bytes [offset, offset + size) of the block as they are now; Seal compares them.
  // Ranges beyond the block are cut to it.
  void Capture(const SavedState& s, size_t offset, size_t size);
  // Compares every captured range with the block; the changed runs join the open step.
  void Seal(const SavedState& s);
  // Closes one level of Open; the outermost close seals and keeps the step if it changed
  // anything, and then drops every redo step. True when a step was kept.
  bool Close(const SavedState& s);
  bool IsOpen() const { return depth_ > 0; }

  // Write the older (undo) or newer (redo) bytes of the last step back. False when there is
  // nothing to undo or redo, or a step is open.
  bool Undo(SavedState& s);
  bool Redo(SavedState& s);
  size_t UndoCount() const { return undo_.size(); }
  size_t RedoCount() const { return redo_.size(); }
  size_t KeptBytes() const { return keptBytes_; }

  // The block matches the last save or load: no step lies between it and now.
  bool Modified() const { return cleanAt_ != undo_.size(); }
  void MarkClean() { cleanAt_ = undo_.size(); }
  void Clear();  // also marks every part clean

  // Parts of the block saved and loaded as files of their own (the level, the units, the
  // bonuses), each with its own clean point: a part is modified while a step that changed
  // its bytes lies between its last save or load and now. AddPart returns the part's number.
  size_t AddPart(size_t offset, size_t size);
  bool Modified(size_t part) const;
  // A save or load of the part; inside an open step it takes effect when the step closes.
  void MarkClean(size_t part);

 private:
  struct Patch {
    size_t offset;  // in the saved block
    size_t size;
    size_t at;  // old bytes at bytes[at], new bytes at bytes[at + size]
  };
  struct Step {
    std::vector<Patch> patches;  // in the order they were made
    std::vector<uint8_t> bytes;
    uint32_t parts = 0;  // bit p: the step changed bytes of part p
  };
  struct Part {
    size_t offset, size;
    size_t cleanAt;  // history position of its last save or load; kNever once that is gone
    bool cleanAtClose = false;  // saved or loaded inside the open step
  };
  static constexpr size_t kMaxParts = 32;
  struct Pending {
    size_t offset, size, at;  // captured bytes at pendingBytes_[at]
  };
  static constexpr size_t kNever = static_cast<size_t>(-1);

  void AddRun(const uint8_t* before, const SavedState& s, size_t offset, size_t size);
  bool Keep();  // the sealed open step onto the undo list, unless it changed nothing
  void Trim();
  // The step at history position i: undo steps first (oldest at 0), then the redo steps.
  const Step& StepAt(size_t i) const;
  // Whether a step between history positions a and b (either order) changed part p.
  bool ChangedBetween(size_t a, size_t b, size_t p) const;

  size_t maxSteps_, maxBytes_;
  int depth_ = 0;
  Step open_;
  std::vector<Pending> pending_;
  std::vector<uint8_t> pendingBytes_;
  std::deque<Step> undo_, redo_;
  size_t keptBytes_ = 0;
  size_t cleanAt_ = 0;  // undo_.size() at the last MarkClean; kNever once that point is gone
  std::vector<Part> parts_;
};

// Byte offset of a member of the saved block (a table entry, a field), for Capture.
template <typename T>
size_t BlockOffset(const SavedState& s, const T& member) {
  return static_cast<size_t>(reinterpret_cast<const uint8_t*>(&member) -
                             reinterpret_cast<const uint8_t*>(&s));
}

}  // namespace skerrow
