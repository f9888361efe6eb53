// Raw file transfers over byte ranges, through the case-insensitive game path lookup.
#include "world/raw_io.h"

#include <cstdio>

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
  if (gamePath.empty()) return false;
  const std::string path = ResolvePath(gamePath);
  if (path.empty() || path.back() == '/') return false;
  const std::string temp = path + ".part";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = src.empty() || std::fwrite(src.data(), 1, src.size(), f) == src.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  // A newly created file may be missing from directory listings cached by earlier lookups.
  InvalidatePathCache();
  return true;
}

}  // namespace skerrow
