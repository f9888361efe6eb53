// Raw file transfers: a file is read into, or written from, one contiguous byte range of the
// game state, with no header, version or check (save games, land, unit, bonus, parameter and
// kind pack files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace skerrow {

// Reads the file at `gamePath` (a game path: Windows-1251, '\' separators, any letter case) into
// `dst`, at most dst.size() bytes from its start. A missing or unreadable file, or anything but
// a regular file (a directory, FIFO or device), changes nothing and gives 0; a shorter file fills only its own length and leaves the rest of `dst` unchanged.
// Returns the number of bytes stored.
size_t ReadFileRange(const std::string& gamePath, std::span<uint8_t> dst);

// Writes `src` as the whole content of the file at `gamePath`, creating or replacing it. The data
// goes to a temporary file beside it that replaces the old file only once fully written, so a
// failed write leaves the previous file intact. Returns false on failure (empty or unusable
// path, missing directory, full disk).
bool WriteFileRange(const std::string& gamePath, std::span<const uint8_t> src);

// Writes `src` into what the disk path `path` names. A missing or regular file is replaced as
// WriteFileRange does; anything else that can be written (a device such as /dev/null, a terminal,
// a FIFO with a reader) gets the bytes written into it and is never replaced by a file. False
// for a directory, a FIFO without a reader or a failed write.
bool WriteFileInPlace(const std::string& path, std::span<const uint8_t> src);

// One file of ReplaceFiles: its game path and its whole new content.
struct FileImage {
  std::string gamePath;
  std::span<const uint8_t> bytes;
};

// Replaces several files so that no crash, kill or full disk leaves one of them neither old nor
// new: each is written to a temporary name of its own (`<name>.<process>-<n>.part`) in its own
// folder (which must exist) and flushed to
// the disk; only when all are written are they renamed over the old files, in the given order.
// Returns false, with every old file untouched, when any of them cannot be written.
bool ReplaceFiles(std::span<const FileImage> files);
// ReplaceFiles for paths already resolved on disk (ResolvePath). It touches no shared state, so
// it may run on another thread; the caller calls InvalidatePathCache afterwards.
bool ReplaceDiskFiles(std::span<const FileImage> files);

}  // namespace skerrow
