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
  const bool kept = Keep();
  for (Part& p : parts_) {
    if (p.cleanAtClose) p.cleanAt = undo_.size();
    p.cleanAtClose = false;
  }
  return kept;
}

bool UndoJournal::Keep() {
  if (open_.patches.empty()) return false;
  for (size_t p = 0; p < parts_.size(); ++p) {
    for (const Patch& patch : open_.patches) {
      if (patch.offset < parts_[p].offset + parts_[p].size &&
          parts_[p].offset < patch.offset + patch.size) {
        open_.parts |= uint32_t{1} << p;
        break;
      }
    }
  }
  // A part saved at a point among the redo steps dropped below keeps its clean point only if
  // none of the dropped steps between here and there changed it: then its bytes are as saved.
  const size_t here = undo_.size();
  for (size_t p = 0; p < parts_.size(); ++p) {
    Part& part = parts_[p];
    if (part.cleanAt == kNever || part.cleanAt <= here) continue;
    part.cleanAt = ChangedBetween(here, part.cleanAt, p) ? kNever : here;
  }
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
    // A part saved before the oldest step stays clean through its loss only if the step
    // did not change it.
    for (size_t p = 0; p < parts_.size(); ++p) {
      Part& part = parts_[p];
      if (part.cleanAt == kNever) continue;
      if (part.cleanAt > 0) {
        --part.cleanAt;
      } else if ((undo_.front().parts >> p & 1) != 0) {
        part.cleanAt = kNever;
      }
    }
    keptBytes_ -= undo_.front().bytes.size();
    undo_.pop_front();
    cleanAt_ = (cleanAt_ == kNever || cleanAt_ == 0) ? kNever : cleanAt_ - 1;
  }
}

const UndoJournal::Step& UndoJournal::StepAt(size_t i) const {
  return i < undo_.size() ? undo_[i] : redo_[redo_.size() - 1 - (i - undo_.size())];
}

bool UndoJournal::ChangedBetween(size_t a, size_t b, size_t p) const {
  const size_t end = std::min(std::max(a, b), undo_.size() + redo_.size());
  for (size_t i = std::min(a, b); i < end; ++i) {
    if ((StepAt(i).parts >> p & 1) != 0) return true;
  }
  return false;
}

size_t UndoJournal::AddPart(size_t offset, size_t size) {
  if (parts_.size() == kMaxParts) return kMaxParts;
  parts_.push_back({offset, size, undo_.size()});
  return parts_.size() - 1;
}

bool UndoJournal::Modified(size_t part) const {
  if (part >= parts_.size()) return false;
  const Part& p = parts_[part];
  return p.cleanAt == kNever || ChangedBetween(p.cleanAt, undo_.size(), part);
}

void UndoJournal::MarkClean(size_t part) {
  if (part >= parts_.size()) return;
  if (depth_ > 0) {
    parts_[part].cleanAtClose = true;
  } else {
    parts_[part].cleanAt = undo_.size();
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
  for (Part& p : parts_) p = {p.offset, p.size, 0, false};
}

}  // namespace skerrow
