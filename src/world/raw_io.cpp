// Raw file transfers over byte ranges, through the case-insensitive game path lookup.
#include "world/raw_io.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "platform/file_read.h"
#include "platform/paths.h"

namespace skerrow {

size_t ReadFileRange(const std::string& gamePath, std::span<uint8_t> dst) {
  if (gamePath.empty()) return 0;
  // A directory, FIFO or device in the file's place reads as missing: never waited on.
  size_t got = 0;
  platform::ReadRegularFilePrefix(ResolvePath(gamePath), dst, got);
  return got;
}

bool WriteFileRange(const std::string& gamePath, std::span<const uint8_t> src) {
  const FileImage file{gamePath, src};
  return ReplaceFiles({&file, 1});
}

namespace {

// Writes `bytes` as the whole of `path` and flushes them to the disk. False on any error (the
// disk full included), with the file possibly partly written.
bool WriteDurably(const std::string& path, std::span<const uint8_t> bytes) {
  // O_EXCL: the name is this write's own (TemporaryName); never another writer's file.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

// Makes the renames in `dir` durable (a crash right after a rename keeps it).
void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// `<path>.<process>-<count>.part`: no other write, in this game or another one running beside
// it, uses the same temporary name.
std::string TemporaryName(const std::string& path) {
  static std::atomic<uint64_t> count{0};
  return path + "." + std::to_string(::getpid()) + "-" + std::to_string(++count) + ".part";
}

}  // namespace

bool WriteFileInPlace(const std::string& path, std::span<const uint8_t> src) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) {
    const FileImage file{path, src};
    const bool ok = ReplaceDiskFiles({&file, 1});
    InvalidatePathCache();
    return ok;
  }
  if (S_ISDIR(st.st_mode)) return false;
  // O_NONBLOCK only for the open (a FIFO without a reader fails at once); the writes block.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  bool ok = true;
  size_t done = 0;
  while (ok && done < src.size()) {
    const ssize_t n = ::write(fd, src.data() + done, src.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}

bool ReplaceFiles(std::span<const FileImage> files) {
  std::vector<FileImage> resolved;
  for (const FileImage& f : files) {
    if (f.gamePath.empty()) return false;
    resolved.push_back({ResolvePath(f.gamePath), f.bytes});
  }
  const bool ok = ReplaceDiskFiles(resolved);
  // A newly created file may be missing from directory listings cached by earlier lookups.
  InvalidatePathCache();
  return ok;
}

bool ReplaceDiskFiles(std::span<const FileImage> files) {
  for (const FileImage& f : files) {
    if (f.gamePath.empty() || f.gamePath.back() == '/') return false;
  }
  std::vector<std::string> parts;
  for (const FileImage& f : files) parts.push_back(TemporaryName(f.gamePath));
  bool ok = true;
  size_t written = 0;
  for (; ok && written < files.size(); ++written) {
    ok = WriteDurably(parts[written], files[written].bytes);
  }
  for (size_t i = 0; ok && i < files.size(); ++i) {
    ok = std::rename(parts[i].c_str(), files[i].gamePath.c_str()) == 0;
  }
  if (!ok) {
    // Before the first rename every old file is still in place; the temporary ones go.
    for (size_t i = 0; i < written; ++i) std::remove(parts[i].c_str());
    return false;
  }
  std::string synced = "\n";  // no folder has this name
  for (const FileImage& f : files) {
    const size_t cut = f.gamePath.find_last_of('/');
    const std::string dir =
        cut == std::string::npos ? std::string() : f.gamePath.substr(0, cut + 1);
    if (dir != synced) SyncDirectory(dir);
    synced = dir;
  }
  return true;
}

}  // namespace skerrow
