// Game paths on Linux: the game forms Windows paths relative to `appPath` with backslashes
// and mixed letter case ("gdata\Worlds\..." or "GData\Music\..."); Windows-1251 names
// (the music files have Cyrillic names) must match UTF-8 file names on disk.
#pragma once

#include <string>
#include <string_view>

namespace skerrow {

// Resolves `gamePath` (Windows-1251 bytes, '\' or '/' separators, absolute or relative to the
// current directory) to an existing file or directory on disk, looking each component up
// without regard to letter case (ASCII and Cyrillic). Returns the real UTF-8 path, or the
// path with slashes (converted to UTF-8) when nothing matches, so the caller's open fails
// as for a missing file. Directory listings are cached; call InvalidatePathCache() after
// creating or removing files that an earlier lookup may have missed.
std::string ResolvePath(std::string_view gamePath);
bool PathExists(std::string_view gamePath);
bool DirectoryExists(std::string_view gamePath);
void InvalidatePathCache();

// Directory of the running executable with a trailing '/'.
std::string ExecutableDirectory();

}  // namespace skerrow
