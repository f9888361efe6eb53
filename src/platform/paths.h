// Game paths on Linux: the game forms Windows paths relative to `appPath` with backslashes
// and mixed letter case ("gdata\Worlds\..." or "GData\Music\..."); Windows-1251 names
// (the music files have Cyrillic names) must match UTF-8 file names on disk.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// ---- Where the game's data and the player's own files live ----

// The folders that may hold `gdata`, in the order they are tried: `--root` alone when given
// (it wins over everything); otherwise the executable's folder, `<exe>/../share/skerrow` (an
// installed or unpacked tree, wherever its prefix) and `installedDataDir` (the prefix the build
// was configured for; skipped when empty or the same as the one before). Each ends with '/'.
std::vector<std::string> DataSearchOrder(const std::string& rootOption, const std::string& exeDir,
                                         const std::string& installedDataDir);

// $XDG_CONFIG_HOME, else $HOME/.config; $XDG_DATA_HOME, else $HOME/.local/share; each with
// "/skerrow/" appended. A relative XDG value is ignored, as the XDG rules say; "" when neither
// the variable nor HOME is usable.
std::string UserConfigFolder();
std::string UserDataFolder();

// True when the process may create files in `dir` (access(2), so root always may).
bool FolderWritable(const std::string& dir);

struct GameFolders {
  std::string root;       // the folder holding gdata, with '/'; "" when no candidate holds one
  bool portable = true;   // the player's files sit beside gdata, as under --root
  std::string configDir;  // settings.dat; with '/'
  std::string dataDir;    // savegame/, screenshots/, skerrow.log; with '/'
  std::vector<std::string> searched;  // the folders tried, in order
};

// The first candidate of `searched` that holds a gdata folder. --root and a writable folder
// beside the executable are portable (the player's files beside gdata); an unwritable one, or
// data found under share/skerrow, sends them to the per-user folders (portable again, beside
// gdata, when HOME and the XDG variables are all unset). `writable` is FolderWritable but for
// tests.
GameFolders FindGameFolders(const std::vector<std::string>& searched,
                            const std::function<bool(const std::string&)>& writable);

// The files the game writes for the player.
enum class UserFile {
  kSettings,       // settings.dat
  kSaveFolder,     // the folder of slot<N>.qvs/.tga/.txt (no trailing separator)
  kScreenshots,    // the folder of ScreenNNNN.tga/.bmp, with a trailing separator
  kLog,            // skerrow.log
  kEmergencySave,  // emergency.qvs, the crash handler's save (never a slot's name)
};

// Makes `folders` this run's layout (start-up does it once, before any file is read). Until
// then, and in portable mode, every player file sits beside gdata under the caller's appPath.
void SetUserFolders(const GameFolders& folders);
// The game path of `file` for a game whose data folder is `appPath` (with its separator).
std::string UserFilePath(UserFile file, const std::string& appPath);

}  // namespace skerrow
