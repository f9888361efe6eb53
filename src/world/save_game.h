// Save games: the 99 slots of gdata\savegame\ (slot<N>.qvs, .tga, .txt), their seven
// description lines, the write that never leaves a slot half old and half new, and the loads
// (LoadGame, ReloadSlot) that refuse a damaged or hostile block before the game uses it.
// Graphics, music and timers are reached through LevelHost; the thumbnail comes encoded.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <mutex>
#include <thread>
#include <vector>

#include "world/level_files.h"
#include "world/world_state.h"

namespace skerrow {

inline constexpr int32_t kSaveSlots = 99;        // slots 1..99
inline constexpr int32_t kDescriptionLines = 7;  // lines of slot<N>.txt
inline constexpr int32_t kThumbnailWidth = 256;  // slot<N>.tga, 256 x 128 pixels
inline constexpr int32_t kThumbnailHeight = 128;

using SlotDescription = std::array<std::string, kDescriptionLines>;

// appPath + "gdata\savegame\slot" + N + ext (ext ".qvs", ".tga" or ".txt").
std::string SlotFile(const std::string& appPath, int32_t slot, std::string_view ext);

// The seven description lines of the block (Windows-1251): player, ship, episode and level,
// hero level, lives, health in percent of the player's maxLife (rounded, ties to even), experience.
SlotDescription DescribeSave(const SavedState& s);
// The lines as slot<N>.txt holds them: each ended by CR LF.
std::string DescriptionFileText(const SlotDescription& lines);
// Lines 1..7 of a description file (CR LF or LF ends); missing lines are empty.
SlotDescription ParseDescriptionFile(std::string_view text);

// Writes the saved block, the thumbnail (TGA bytes) and the description into slot `saveSlot`,
// creating gdata\savegame when missing. The files replace the old ones only once all three are
// on the disk, the .qvs last (ReplaceFiles). False when saveSlot is not 1..99, the block fails
// CheckSavedBlock or a file cannot be written; the old slot is then untouched.
bool WriteSaveSlot(const WorldState& ws, std::span<const uint8_t> thumbnailTga);

// The game's slot writes, off the step: Save copies the three files' bytes and returns; the
// disk work (WriteSaveSlot's all-or-nothing replacement, flushed to the disk) runs on the
// writer's own thread while play goes on. One write at a time: Save and Finish wait for the
// one before. Everything that reads or deletes slot files calls Finish first; destruction does.
// Games running side by side take turns: the save folder's lock (savegame.lock) is held while
// a slot's files are written, and a write that cannot have it within 10 s fails.
class SlotWriter {
 public:
  SlotWriter() = default;
  SlotWriter(const SlotWriter&) = delete;
  SlotWriter& operator=(const SlotWriter&) = delete;
  ~SlotWriter() { Finish(); }

  // False (and nothing written) when saveSlot is not 1..99, or when the block would be refused
  // by the game's own load (CheckSavedBlock: a failure to take).
  bool Save(const WorldState& ws, std::span<const uint8_t> thumbnailTga);
  // Waits for the write in progress; whether the last write reached the disk (true when none).
  bool Finish();
  // What the last failed save came to ("could not save the game into ...: why"), once; "" when
  // none failed since the last call. For the game's thread to log and tell the player.
  std::string TakeFailure();

 private:
  std::thread thread_;
  std::string paths_[3];
  std::vector<uint8_t> bytes_[3];
  bool ok_ = true;
  std::mutex failureMutex_;
  std::string failure_;
};

// What a load of a slot came to. `message` is set for kRefused: the game shows it.
enum class SlotLoad : int32_t { kLoaded, kMissing, kRefused };
struct SlotLoadResult {
  SlotLoad status = SlotLoad::kMissing;
  LevelMessage message;
};

// Why the block cannot be played, or "" when it can: the checks a level passes before the game
// uses it (game mode, menu screen, the player's unit, the episode and its directory name, the
// level number, the kinds of every unit, static, object, bonus and particle in use, projectile
// owners and the air target as unit indices, hero level, camera, counts, the two names).
std::string CheckSavedBlock(const SavedState& s);

// Reads slot `slot`'s .qvs (it must be exactly 7,515,316 bytes and pass CheckSavedBlock) into
// `into`. A missing file, a file of another size or a refused block leaves `into` unchanged.
SlotLoadResult ReadSaveSlot(const std::string& appPath, int32_t slot, SavedState& into);

// Reads saveSlot's .qvs into the saved block and clears unitAlerted[1..255]; nothing else.
SlotLoadResult ReloadSlot(WorldState& ws);

// Loads saveSlot as a game: the block, then (only when the episode changed) the episode music,
// loading picture and art with the FPS timer off, then screenFade 1, the level size, terrain
// colours, terrain view and minimap of the loaded level, and the alerts cleared. Loaded from
// the menu (GameMode was not play) into the same episode, the episode music restarts too. A
// missing or refused file, or a loaded level whose size picture is refused, changes nothing.
SlotLoadResult LoadGame(WorldState& ws, LevelHost& host);

}  // namespace skerrow
