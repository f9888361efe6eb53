// Bounded reads of regular files.
#include "platform/file_read.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skerrow::platform {
namespace {

// Opens `path` for reading when it is a regular file. O_NONBLOCK: the open of a FIFO without a
// writer returns at once (it is refused just after by its type); regular files ignore the flag.
int OpenRegular(const std::string& path, FileRead& result, int64_t& size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    result = errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing
             : errno == ENXIO || errno == EISDIR ? FileRead::kNotRegular
                                                 : FileRead::kError;
    return -1;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    result = FileRead::kError;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    result = FileRead::kNotRegular;
    return -1;
  }
  size = st.st_size;
  result = FileRead::kOk;
  return fd;
}

// Reads until `dst` is full or the file ends; false on a read error.
bool ReadInto(int fd, std::span<uint8_t> dst, size_t& got) {
  got = 0;
  while (got < dst.size()) {
    const ssize_t n = ::read(fd, dst.data() + got, dst.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return true;
}

thread_local ScopedReadBudget* g_budget = nullptr;

}  // namespace

ScopedReadBudget::ScopedReadBudget(uint64_t bytes) : left_(bytes), outer_(g_budget) {
  g_budget = this;
}

ScopedReadBudget::~ScopedReadBudget() {
  g_budget = outer_;
}

FileRead ReadRegularFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  FileRead result = FileRead::kError;
  int64_t size = 0;
  const int fd = OpenRegular(path, result, size);
  if (fd < 0) return result;
  bool withinBudgets = size >= 0 && static_cast<uint64_t>(size) <= maxBytes;
  for (const ScopedReadBudget* b = g_budget; withinBudgets && b != nullptr; b = b->outer_) {
    withinBudgets = static_cast<uint64_t>(size) <= b->left_;
  }
  if (!withinBudgets) {
    ::close(fd);
    return FileRead::kTooLarge;
  }
  for (ScopedReadBudget* b = g_budget; b != nullptr; b = b->outer_) {
    b->left_ -= static_cast<uint64_t>(size);
  }
  // One byte more than the size: a file that grew since is seen as such.
  bytes.resize(static_cast<size_t>(size) + 1);
  size_t got = 0;
  const bool ok = ReadInto(fd, bytes, got);
  ::close(fd);
  if (!ok) result = FileRead::kError;
  // A file that grew while it was read is being written by someone else: not taken.
  if (ok && got > static_cast<size_t>(size)) result = FileRead::kError;
  if (result != FileRead::kOk) {
    bytes.clear();
    return result;
  }
  bytes.resize(got);
  return FileRead::kOk;
}

FileRead ReadRegularFilePrefix(const std::string& path, std::span<uint8_t> dst, size_t& got) {
  got = 0;
  FileRead result = FileRead::kError;
  int64_t size = 0;
  const int fd = OpenRegular(path, result, size);
  if (fd < 0) return result;
  const bool ok = ReadInto(fd, dst, got);
  ::close(fd);
  return ok ? FileRead::kOk : FileRead::kError;
}

bool RegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FileReadText(FileRead result, size_t maxBytes) {
  switch (result) {
    case FileRead::kOk:
      return {};
    case FileRead::kMissing:
      return "does not exist";
    case FileRead::kNotRegular:
      return "is not a regular file";
    case FileRead::kTooLarge:
      return "is longer than " + std::to_string(maxBytes) + " bytes";
    case FileRead::kError:
      break;
  }
  return "cannot be read";
}

}  // namespace skerrow::platform
