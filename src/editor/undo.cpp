// The undo journal: byte runs of the saved block kept per step.
#include "editor/undo.h"

#include <algorithm>
#include <cstring>

#include "world/records.h"

namespace skerrow {

namespace {
// Equal bytes shorter than this between two changed runs join them into one patch.
constexpr size_t kJoinGap = 16;

const uint8_t* Bytes(const SavedState& s) {
  return reinterpret_cast<const uint8_t*>(&s);
}
}  // namespace

void UndoJournal::Open() {
  ++depth_;
}

void UndoJournal::Capture(const SavedState& s, size_t offset, size_t size) {
  if (depth_ == 0 || offset >= sizeof(SavedState)) return;
  size = std::min(size, sizeof(SavedState) - offset);
  pending_.push_back({offset, size, pendingBytes_.size()});
  pendingBytes_.insert(pendingBytes_.end(), Bytes(s) + offset, Bytes(s) + offset + size);
}

void UndoJournal::AddRun(const uint8_t* before, const SavedState& s, size_t offset, size_t size) {
  const size_t at = open_.bytes.size();
  open_.bytes.insert(open_.bytes.end(), before, before + size);
  open_.bytes.insert(open_.bytes.end(), Bytes(s) + offset, Bytes(s) + offset + size);
  open_.patches.push_back({offset, size, at});
}

void UndoJournal::Seal(const SavedState& s) {
  for (const Pending& p : pending_) {
    const uint8_t* old = pendingBytes_.data() + p.at;
    const uint8_t* now = Bytes(s) + p.offset;
    size_t i = 0;
    while (i < p.size) {
      // Skip equal blocks quickly: most of a large range is unchanged.
      if (p.size - i >= 64 && std::memcmp(old + i, now + i, 64) == 0) {
        i += 64;
        continue;
      }
      if (old[i] == now[i]) {
        ++i;
        continue;
      }
      size_t end = i + 1, equal = 0;
      for (size_t k = i + 1; k < p.size && equal < kJoinGap; ++k) {
        if (old[k] != now[k]) {
          end = k + 1;
          equal = 0;
        } else {
          ++equal;
        }
      }
      AddRun(old + i, s, p.offset + i, end - i);
      i = end;
    }
  }
  pending_.clear();
  pendingBytes_.clear();
}

bool UndoJournal::Close(const SavedState& s) {
  if (depth_ == 0) return false;
  if (--depth_ > 0) return false;
  Seal(s);
  if (open_.patches.empty()) return false;
  keptBytes_ += open_.bytes.size();
  undo_.push_back(std::move(open_));
  open_ = Step{};
  for (const Step& r : redo_) keptBytes_ -= r.bytes.size();
  redo_.clear();
  if (cleanAt_ != kNever && cleanAt_ >= undo_.size()) cleanAt_ = kNever;
  Trim();
  return true;
}

void UndoJournal::Trim() {
  while (undo_.size() > 1 && (undo_.size() > maxSteps_ || keptBytes_ > maxBytes_)) {
    keptBytes_ -= undo_.front().bytes.size();
    undo_.pop_front();
    cleanAt_ = (cleanAt_ == kNever || cleanAt_ == 0) ? kNever : cleanAt_ - 1;
  }
}

bool UndoJournal::Undo(SavedState& s) {
  if (depth_ > 0 || undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  uint8_t* block = reinterpret_cast<uint8_t*>(&s);
  // Latest first, so a range changed twice in one step ends at its oldest bytes.
  for (auto p = step.patches.rbegin(); p != step.patches.rend(); ++p) {
    std::memcpy(block + p->offset, step.bytes.data() + p->at, p->size);
  }
  redo_.push_back(std::move(step));
  return true;
}

bool UndoJournal::Redo(SavedState& s) {
  if (depth_ > 0 || redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  uint8_t* block = reinterpret_cast<uint8_t*>(&s);
  for (const Patch& p : step.patches) {
    std::memcpy(block + p.offset, step.bytes.data() + p.at + p.size, p.size);
  }
  undo_.push_back(std::move(step));
  return true;
}

void UndoJournal::Clear() {
  undo_.clear();
  redo_.clear();
  open_ = Step{};
  pending_.clear();
  pendingBytes_.clear();
  depth_ = 0;
  keptBytes_ = 0;
  cleanAt_ = 0;
}

}  // namespace skerrow
