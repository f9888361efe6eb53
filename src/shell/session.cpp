// Start of a run on the desktop: data search, player folders, log and crash handler.
#include "shell/session.h"

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/cp1251.h"
#include "platform/crash.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/notices.h"
#include "platform/sdl/message_box.h"
#include "shell/command_line.h"

#ifndef SKERROW_INSTALLED_DATA_DIR
#define SKERROW_INSTALLED_DATA_DIR ""
#endif

namespace skerrow {

const std::vector<std::string> kKeyDataFiles = {
    "gdata\\Skerrow.qvp",                 // the unit kinds
    "gdata\\parameters\\unit1.par",       // the first ship's parameters
    "gdata\\ata\\menu.qvt",               // the menu landscape
    "gdata\\textures\\int\\loading.qvt",  // the loading screen
    "gdata\\textures\\int\\window.qvt",   // the GUI windows
};

std::string MissingKeyFile(const std::string& root) {
  for (const std::string& file : kKeyDataFiles) {
    if (!PathExists(root + file)) return file;
  }
  return {};
}

std::string MissingDataMessage(const GameFolders& folders, const std::string& missingFile) {
  std::string text;
  std::string target;
  if (folders.root.empty()) {
    text = "Данные игры (папка gdata) не найдены. Где искали:\n";
    for (const std::string& dir : folders.searched) text += "  " + dir + "\n";
    target = folders.searched.empty() ? std::string("DIR/") : folders.searched.front();
  } else {
    std::string file = missingFile;
    for (char& c : file) {
      if (c == '\\') c = '/';
    }
    text = "Данные игры в " + folders.root + "gdata неполны: нет файла " + file + ".\n";
    target = folders.root;
  }
  text +=
      "Свободный набор данных создаёт программа, которая идёт вместе с игрой:\n  skerrow-content "
      "--out " +
      target + "gdata\nили запустите игру с --root DIR, где DIR — папка, в которой лежит gdata.";
  return text;
}

namespace {

// True when `dir` is a folder now (made if it was missing).
bool CreateFolder(const std::string& dir) {
  std::error_code ec;
  if (dir.empty()) return true;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

}  // namespace

namespace {

// A hang-up (the terminal closed) ends the run as SIGTERM does: the game's quit, the save in
// progress finished, the closing log line written.
void OnHangUp(int) {
  ::raise(SIGTERM);
}

}  // namespace

int StartSession(CommandLine& options) {
  platform::InstallCrashHandler();
  struct sigaction hangUp {};
  hangUp.sa_handler = OnHangUp;
  ::sigemptyset(&hangUp.sa_mask);
  ::sigaction(SIGHUP, &hangUp, nullptr);
  const std::vector<std::string> searched =
      DataSearchOrder(options.root, ExecutableDirectory(), SKERROW_INSTALLED_DATA_DIR);
  const GameFolders folders = FindGameFolders(searched, FolderWritable);
  SetUserFolders(folders);
  std::string unmade;  // a player folder that could not be made, told once the log is open
  if (!folders.portable) {
    for (const std::string& dir : {folders.configDir, folders.dataDir,
                                   UserFilePath(UserFile::kScreenshots, folders.root)}) {
      if (!CreateFolder(dir) && unmade.empty()) unmade = dir;
    }
  }
  const std::string missing = folders.root.empty() ? std::string() : MissingKeyFile(folders.root);
  // The log sits in the player's data folder, or beside gdata; with no data it is not opened.
  if (!folders.root.empty()) {
    const std::string log = UserFilePath(UserFile::kLog, folders.root);
    if (!platform::OpenLog(ResolvePath(log))) {
      platform::Log("cannot write the log file " + Cp1251ToUtf8(log));
    }
  }
  const std::string version = VersionText();
  platform::Log("starting " + version.substr(0, version.find('\n')));
  if (platform::LogShared()) {
    platform::Log("another running game writes this log too; its lines and this run's are mixed");
  }
  if (!unmade.empty()) {
    platform::ReportFailure(platform::Failure::kPlayerFolder,
                            "cannot make the folder " + unmade + " for the player's files");
  }
  if (folders.root.empty() || !missing.empty()) {
    const std::string text = MissingDataMessage(folders, missing);
    platform::ShowMessage("Skerrow", text);
    // The headless harness goes on: tests and benchmarks run it on folders without data.
    if (!options.headless) {
      platform::ShowErrorBoxWithoutWindow("Skerrow", text);
      return 1;
    }
  }
  if (!folders.root.empty()) options.root = folders.root;
  platform::Log("game data: " + folders.root + "gdata");
  if (folders.portable) {
    platform::Log("portable mode: settings, saves, screenshots and this log beside gdata");
  } else {
    platform::Log("per-user files: settings in " + folders.configDir + ", saves, screenshots " +
                  "and this log in " + folders.dataDir);
  }
  return -1;
}

bool CrashTestRequested() {
  static const bool requested = [] {
    const char* v = std::getenv("SKERROW_CRASH_TEST");
    return v != nullptr && v[0] == '1';
  }();
  return requested;
}

}  // namespace skerrow
