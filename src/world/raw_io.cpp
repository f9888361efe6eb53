// Raw file transfers over byte ranges, through the case-insensitive game path lookup.
#include "world/raw_io.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "platform/paths.h"

namespace skerrow {

size_t ReadFileRange(const std::string& gamePath, std::span<uint8_t> dst) {
  if (gamePath.empty()) return 0;
  const std::string path = ResolvePath(gamePath);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  // fread stores only what the file holds; a directory or a read error yields a short count.
  size_t total = 0;
  while (total < dst.size()) {
    const size_t n = std::fread(dst.data() + total, 1, dst.size() - total, f);
    if (n == 0) break;
    total += n;
  }
  std::fclose(f);
  return total;
}

bool WriteFileRange(const std::string& gamePath, std::span<const uint8_t> src) {
  const FileImage file{gamePath, src};
  return ReplaceFiles({&file, 1});
}

namespace {

// Writes `bytes` as the whole of `path` and flushes them to the disk. False on any error (the
// disk full included), with the file possibly partly written.
bool WriteDurably(const std::string& path, std::span<const uint8_t> bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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

}  // namespace

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
  bool ok = true;
  for (size_t i = 0; ok && i < files.size(); ++i) {
    ok = WriteDurably(files[i].gamePath + ".part", files[i].bytes);
  }
  for (size_t i = 0; ok && i < files.size(); ++i) {
    ok = std::rename((files[i].gamePath + ".part").c_str(), files[i].gamePath.c_str()) == 0;
  }
  if (!ok) {
    // Before the first rename every old file is still in place; the temporary ones go.
    for (const FileImage& f : files) std::remove((f.gamePath + ".part").c_str());
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
