// Case-insensitive resolution of the game's Windows paths against the Linux file system.
#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/cp1251.h"

namespace skerrow {
namespace {

// One on-disk name: its real UTF-8 bytes and the Windows-1251 form the game would write.
struct DirEntryName {
  std::string real;
  std::string cp1251;
};

// Directory listing: lower-cased Windows-1251 name -> the entries with that name, sorted by
// real name so the choice among names differing only in case does not depend on readdir order.
using DirListing = std::unordered_map<std::string, std::vector<DirEntryName>>;

struct PathCache {
  std::mutex mutex;
  // Keyed by the real directory path as built during resolution ("" is the current directory);
  // relative requests assume the current directory stays put between invalidations.
  std::unordered_map<std::string, DirListing> listings;
  // Whole requests already resolved; cleared when it grows past kMaxResults (screenshot
  // numbering probes up to 10000 names).
  std::unordered_map<std::string, std::string> results;
};

constexpr size_t kMaxResults = 4096;

PathCache& Cache() {
  static PathCache cache;
  return cache;
}

// The Windows-1251 form of an on-disk name, or nothing when the game cannot name it. Names in
// valid UTF-8 must convert without loss; names that are not UTF-8 at all are taken as
// Windows-1251 bytes already (files unpacked from old archives without conversion).
std::optional<std::string> GameNameOf(const std::string& real) {
  if (!IsValidUtf8(real)) return real;
  std::string cp = Utf8ToCp1251(real);
  if (Cp1251ToUtf8(cp) != real) return std::nullopt;
  return cp;
}

DirListing ReadListing(const std::string& dir) {
  DirListing listing;
  std::error_code ec;
  std::filesystem::directory_iterator it(dir.empty() ? std::string(".") : dir, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::string real = it->path().filename().native();
    auto cp = GameNameOf(real);
    if (!cp) continue;
    listing[Cp1251ToLower(*cp)].push_back({std::move(real), std::move(*cp)});
  }
  for (auto& [key, names] : listing) {
    std::sort(names.begin(), names.end(),
              [](const DirEntryName& a, const DirEntryName& b) { return a.real < b.real; });
  }
  return listing;
}

// Real name of `component` (Windows-1251) inside directory `dir`, or nullptr.
const std::string* FindInDirectory(PathCache& cache, const std::string& dir,
                                   const std::string& component) {
  auto found = cache.listings.find(dir);
  if (found == cache.listings.end()) found = cache.listings.emplace(dir, ReadListing(dir)).first;
  const DirListing& listing = found->second;
  const auto hit = listing.find(Cp1251ToLower(component));
  if (hit == listing.end()) return nullptr;
  for (const DirEntryName& name : hit->second) {
    if (name.cp1251 == component) return &name.real;  // exact letter case wins
  }
  return &hit->second.front().real;
}

struct Component {
  std::string name;  // UTF-8
  bool real;         // found on disk (or a leading ".." of a relative path)
};

std::string Join(bool absolute, const std::vector<Component>& parts) {
  std::string out = absolute ? "/" : "";
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += '/';
    out += parts[k].name;
  }
  return out;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

std::string ResolvePath(std::string_view gamePath) {
  if (gamePath.empty()) return {};
  const bool absolute = IsSeparator(gamePath.front());
  const bool trailingSeparator = IsSeparator(gamePath.back());

  PathCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  const std::string key(gamePath);
  if (const auto memo = cache.results.find(key); memo != cache.results.end()) return memo->second;
  std::vector<Component> parts;
  // True while every component so far names something on disk; after the first miss the
  // rest is kept as given, since nothing below a missing entry can exist.
  bool matching = true;

  size_t pos = 0;
  while (pos < gamePath.size()) {
    size_t end = pos;
    while (end < gamePath.size() && !IsSeparator(gamePath[end])) ++end;
    const std::string component(gamePath.substr(pos, end - pos));
    pos = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      // Lexical, as on Windows: "a\b\.." is "a" whatever b is.
      if (!parts.empty() && parts.back().name != "..") {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back({"..", true});
      }  // ".." at the root stays at the root
      matching = std::all_of(parts.begin(), parts.end(), [](const Component& c) { return c.real; });
      continue;
    }
    const std::string* real = nullptr;
    if (matching) real = FindInDirectory(cache, Join(absolute, parts), component);
    if (real) {
      parts.push_back({*real, true});
    } else {
      matching = false;
      parts.push_back({Cp1251ToUtf8(component), false});
    }
  }

  std::string out = Join(absolute, parts);
  if (out.empty()) out.assign(1, '.');
  if (trailingSeparator && out.back() != '/') out.push_back('/');
  if (cache.results.size() >= kMaxResults) cache.results.clear();
  cache.results.emplace(key, out);
  return out;
}

bool PathExists(std::string_view gamePath) {
  struct stat st;
  return !gamePath.empty() && ::stat(ResolvePath(gamePath).c_str(), &st) == 0;
}

bool DirectoryExists(std::string_view gamePath) {
  struct stat st;
  return !gamePath.empty() && ::stat(ResolvePath(gamePath).c_str(), &st) == 0 &&
         S_ISDIR(st.st_mode);
}

void InvalidatePathCache() {
  PathCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.listings.clear();
  cache.results.clear();
}

std::string ExecutableDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || !exe.has_parent_path()) return "./";
  std::string dir = exe.parent_path().native();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

namespace {

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string Normal(const std::string& dir) {
  return WithSlash(std::filesystem::path(dir).lexically_normal().native());
}

// $`var` when absolute, else $HOME/`belowHome`; with "/skerrow/" appended.
std::string XdgFolder(const char* var, const char* belowHome) {
  const char* xdg = std::getenv(var);
  if (xdg != nullptr && xdg[0] == '/') return WithSlash(xdg) + "skerrow/";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return WithSlash(home) + belowHome + "/skerrow/";
  return {};
}

struct UserFolderState {
  std::mutex mutex;
  bool perUser = false;  // false: portable, every file beside gdata under the caller's appPath
  std::string configDir, dataDir;
};

UserFolderState& UserFolders() {
  static UserFolderState state;
  return state;
}

}  // namespace

std::vector<std::string> DataSearchOrder(const std::string& rootOption, const std::string& exeDir,
                                         const std::string& installedDataDir) {
  if (!rootOption.empty()) {
    const char last = rootOption.back();
    return {last == '/' || last == '\\' ? rootOption : rootOption + '/'};
  }
  std::vector<std::string> order{WithSlash(exeDir), Normal(WithSlash(exeDir) + "../share/skerrow")};
  if (!installedDataDir.empty() && Normal(installedDataDir) != order.back()) {
    order.push_back(Normal(installedDataDir));
  }
  return order;
}

std::string UserConfigFolder() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string UserDataFolder() {
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}

bool FolderWritable(const std::string& dir) {
  return !dir.empty() && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

GameFolders FindGameFolders(const std::vector<std::string>& searched,
                            const std::function<bool(const std::string&)>& writable) {
  GameFolders f;
  f.searched = searched;
  for (size_t k = 0; k < searched.size(); ++k) {
    if (!DirectoryExists(searched[k] + "gdata")) continue;
    f.root = searched[k];
    // Only the first candidate can be --root or the executable's own folder; the others are
    // installed trees, never written even by a user who may.
    f.portable = k == 0 && writable(f.root);
    break;
  }
  if (!f.portable) {
    f.configDir = UserConfigFolder();
    f.dataDir = UserDataFolder();
    if (f.configDir.empty() || f.dataDir.empty()) f.portable = true;  // no home to write to
  }
  if (f.portable) f.configDir = f.dataDir = f.root;
  return f;
}

void SetUserFolders(const GameFolders& folders) {
  UserFolderState& s = UserFolders();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.perUser = !folders.portable;
  s.configDir = folders.configDir;
  s.dataDir = folders.dataDir;
}

std::string UserFilePath(UserFile file, const std::string& appPath) {
  UserFolderState& s = UserFolders();
  std::lock_guard<std::mutex> lock(s.mutex);
  const std::string saves = s.perUser ? s.dataDir + "savegame" : appPath + "gdata\\savegame";
  switch (file) {
    case UserFile::kSettings:
      return (s.perUser ? s.configDir : appPath) + "settings.dat";
    case UserFile::kSaveFolder:
      return saves;
    case UserFile::kScreenshots:
      return s.perUser ? s.dataDir + "screenshots/" : appPath;
    case UserFile::kLog:
      return (s.perUser ? s.dataDir : appPath) + "skerrow.log";
    case UserFile::kEmergencySave:
      return saves + (s.perUser ? "/" : "\\") + "emergency.qvs";
  }
  return {};
}

}  // namespace skerrow
