// Failures the player is told of: a save, the settings file, a screenshot, the player's
// folders. Each kind is shown once per run as a message in Russian (the game's language); every
// occurrence is logged with its detail.
#pragma once

#include <cstdint>
#include <string>

namespace skerrow::platform {

enum class Failure : int32_t {
  kSave,            // a save game could not be written
  kSettingsRead,    // settings.dat is there but cannot be read: the defaults are used
  kSettingsWrite,   // settings.dat could not be rewritten
  kScreenshot,      // a screenshot could not be written
  kPlayerFolder,    // a folder for the player's files could not be made
  kCount
};

// Logs "`detail`" and, the first time this run for `kind`, shows the kind's notice (a message
// box through ShowMessage). Returns true when the notice was shown now.
bool ReportFailure(Failure kind, const std::string& detail);
// The notice text of `kind` (UTF-8).
std::string FailureNotice(Failure kind);
// Forgets which notices were shown (tests).
void ResetFailureNotices();

}  // namespace skerrow::platform
