// Reading a file of the game or of the player: only a regular file is opened (a FIFO, a device
// or a directory in its place is refused at once, never waited on), and never more than the
// budget its kind allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skerrow::platform {

enum class FileRead : int32_t {
  kOk,
  kMissing,     // no such file
  kNotRegular,  // a directory, FIFO, socket or device
  kTooLarge,    // longer than the budget
  kError,       // the open or a read failed (permissions, an I/O error)
};

// Reads the whole of the regular file `path` (a disk path) into `bytes`, when it holds at most
// `maxBytes`. Anything but kOk leaves `bytes` empty; a file that grows past the budget while it
// is read counts as too large.
FileRead ReadRegularFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);

// A budget of whole-file reads for everything one task loads (a level's art): while it lives,
// ReadRegularFile on this thread takes each file's size from it and refuses (kTooLarge) a file
// that would pass what is left. Nested budgets each count.
class ScopedReadBudget {
 public:
  explicit ScopedReadBudget(uint64_t bytes);
  ~ScopedReadBudget();
  ScopedReadBudget(const ScopedReadBudget&) = delete;
  ScopedReadBudget& operator=(const ScopedReadBudget&) = delete;
  uint64_t Left() const { return left_; }

 private:
  friend FileRead ReadRegularFile(const std::string&, size_t, std::vector<uint8_t>&);
  uint64_t left_;
  ScopedReadBudget* outer_;
};

// Reads the first bytes of the regular file `path`, at most dst.size(), into `dst`; `got` is
// the count stored (the rest of `dst` is unchanged). kTooLarge is never returned.
FileRead ReadRegularFilePrefix(const std::string& path, std::span<uint8_t> dst, size_t& got);

// True when `path` names a regular file (for readers that open files themselves: a FIFO or
// device would block them or never end).
bool RegularFile(const std::string& path);

// Why a read failed, for a message: "is not a regular file", "is longer than N bytes", ...;
// "" for kOk.
std::string FileReadText(FileRead result, size_t maxBytes);

}  // namespace skerrow::platform
