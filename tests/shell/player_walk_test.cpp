// The player walk: seeded random play through the form's own input handlers on every level of
// the content pack and from the main menu: keys of play, clicks on whatever window shows (its
// buttons, its close box, a controller's B), Esc and the in-game menu, loads, "Начать заново",
// the ship sunk, put on save points, hint triggers and linked edges, every unit shot (wrecks
// too). At every tick it checks what a player would say of the game: with no window open the
// world moves; it never stands still for long; the screen is not left black; every hint the
// game opens is seen, and none comes back by itself; the ship does not sail onto land; a slot
// is written at most once per level entry or save point, and never with a sinking ship.
// A failure names the seed (SKERROW_WALK_SEED=N runs that seed alone), the tick, the state and
// the player's last actions.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "enemies/hints.h"
#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/vk_codes.h"
#include "shell/main_loop.h"
#include "shell/skerrow_form.h"
#include "simulation/geometry.h"
#include "support/pack_root.h"
#include "world/level_files.h"
#include "world/save_game.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

// The 400 x 300 display of the flow tests: half the interface's 800 x 600.
constexpr int kWidth = 400, kHeight = 300;

// A player's limits. Black: the fade at 0.9 or more (a level change's fade leaves it within its
// 16 settling steps; a sinking ship's takes it there and back again in about two seconds).
constexpr double kBlack = 0.9;
constexpr int kBlackTicks = 150;
// Ticks of play in which the world may stand still while the player keeps closing windows.
constexpr int kStillTicks = 300;
// Ticks a hint the game opened may stay unseen while play goes on with no window open.
constexpr int kUnseenHintTicks = 2;
// Steps of play after the player closed a hint within which the same hint opening again is the
// hint coming back by itself (a ship sailing along a row of a hint's marks, 1.6 units apart,
// takes 11 steps or more from one to the next).
constexpr int kHintBackSteps = 8;

// A game folder of the pack's whose hint texts are copies of its own, so that the walk sees
// which of them the game opens and no other test's reads, and whose save folder exists.
fs::path WalkRoot(const std::string& name) {
  const fs::path root = test::GameRoot(name);
  const fs::path ata = root / "gdata" / "ata";
  fs::remove(ata);
  fs::create_directories(ata / "hints");
  for (const fs::directory_entry& e : fs::directory_iterator(test::kPackGdata / "ata")) {
    if (e.path().filename() != "hints") fs::create_symlink(e.path(), ata / e.path().filename());
  }
  for (const fs::directory_entry& e : fs::directory_iterator(test::kPackGdata / "ata" / "hints")) {
    const fs::path to = ata / "hints" / e.path().filename();
    if (e.path().extension() == ".txt") {
      fs::copy_file(e.path(), to);
    } else {
      fs::create_symlink(e.path(), to);
    }
  }
  fs::create_directories(root / "gdata" / "savegame");
  InvalidatePathCache();
  return root;
}

// What the game opens in the walk's hint folder (a hint shown) and reads in its save folder (a
// slot loaded), in order, from inotify.
class FolderWatch {
 public:
  struct Event {
    bool hint;  // else a save game file read
    std::string name;
  };

  FolderWatch(const fs::path& hints, const fs::path& saves) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    hints_ = inotify_add_watch(fd_, hints.c_str(), IN_OPEN);
    saves_ = inotify_add_watch(fd_, saves.c_str(), IN_CLOSE_NOWRITE);
  }
  ~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool Ok() const { return fd_ >= 0 && hints_ >= 0 && saves_ >= 0; }

  std::vector<Event> Drain() {
    std::vector<Event> out;
    alignas(inotify_event) char buf[16384];
    for (;;) {
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        if (e->len == 0 || (e->mask & IN_ISDIR) != 0) continue;
        out.push_back({e->wd == hints_, e->name});
      }
    }
    return out;
  }

 private:
  int fd_ = -1, hints_ = -1, saves_ = -1;
};

// The game's log lines ("entered level", "saved the game into") since the last call.
class LogTail {
 public:
  explicit LogTail(const fs::path& file) : path_(file) { platform::OpenLog(file.string()); }
  ~LogTail() { platform::CloseLog(); }
  LogTail(const LogTail&) = delete;
  LogTail& operator=(const LogTail&) = delete;

  std::vector<std::string> NewLines() {
    std::ifstream in(path_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(at_));
    std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t nl; (nl = rest.find('\n', from)) != std::string::npos; from = nl + 1) {
      lines.push_back(rest.substr(from, nl - from));
    }
    at_ += from;
    return lines;
  }

 private:
  fs::path path_;
  size_t at_ = 0;
};

size_t Count(const std::vector<std::string>& lines, const std::string& what) {
  return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(what) != std::string::npos;
  }));
}

// The hint's lines as the window shows them, from the pack's own copy (not the watched one).
HintLines HintFileLines(const std::string& name) {
  std::ifstream in(test::kPackGdata / "ata" / "hints" / name, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return WrapHintText(text);
}

// Play keys (Windows virtual-key codes): the arrows, the bow gun W, the batteries A and D, the
// special weapons S, X and Z, and the panel key tilde.
constexpr int kPlayKeys[] = {kVkLeft, kVkUp, kVkRight, kVkDown, 'W', 'A', 'D', 'S', 'X', 'Z', 192};

// How a walk begins: "" from the main menu, "E:L" a direct start into level L of episode E
// (saving into slot 1, as --start E:L --slot 1 does).
struct WalkStart {
  std::string start;
  uint64_t seed;
  int ticks;
  // The first plan of play after the opening hints (see Plan), or none.
  int firstPlan = -1;
};

// What the walker does with the ship while no window is open, a plan at a time.
enum Plan : int {
  kSail,        // random play keys, pointer moves and clicks on the sea
  kAxisRun,     // heading exactly 0 from rest, Up held, no turn
  kDie,         // the ship's life to 0 (often the last life)
  kSavePoint,   // onto an armed save point
  kHintMark,    // onto an armed hint trigger
  kEdge,        // into the band of a linked edge
  kShoot,       // some other unit's life to 0: enemies, guns, wrecks
  kShootWreck,  // a found-item wreck's life to 0
  kDieAtSave,   // the last life lost, then onto a save point while sinking
  kDieAtEdge,   // the last life lost, then into a linked edge while sinking
  kMenu,        // Esc: the in-game menu
  kPlanCount,
};
constexpr const char* kPlanNames[kPlanCount] = {
    "sail",          "axis run",          "die",         "save point", "hint mark", "edge", "shoot",
    "shoot a wreck", "die at save point", "die at edge", "Esc"};
constexpr int kPlanWeights[kPlanCount] = {30, 4, 4, 3, 3, 3, 6, 2, 2, 2, 4};
static_assert(std::size(kPlanNames) == kPlanCount && std::size(kPlanWeights) == kPlanCount);

class PlayerWalk {
 public:
  PlayerWalk(const std::string& name, const WalkStart& start)
      : start_(start),
        rng_(start.seed),
        root_(WalkRoot(name)),
        watch_(root_ / "gdata" / "ata" / "hints", root_ / "gdata" / "savegame"),
        log_(root_ / "walk.log") {
    CommandLine cl;
    cl.headless = true;
    cl.ticks = 0;
    cl.root = root_.string();
    cl.fullscreen = false;
    cl.width = kWidth;
    cl.height = kHeight;
    cl.seed = start.seed;
    if (!start.start.empty()) {
      cl.start = start.start;
      cl.slot = 1;
    }
    form_ = std::make_unique<TSkerrowForm>(cl, platform::CreateNullWindow());
    started_ = form_->Run() == 0 && watch_.Ok();
    if (started_) Observe(false, World().hudAnimFrame, ArmedSavePoints(), false, false);
    plan_ = start.firstPlan;
  }

  // Runs the walk; false (with the failure reported) at the first broken rule.
  bool Run() {
    if (!started_) {
      ADD_FAILURE() << "the walk's game did not start on " << root_;
      return false;
    }
    for (tick_ = 1; tick_ <= start_.ticks && failure_.empty(); ++tick_) Tick();
    // The walk itself: one from the main menu that never got into a game has walked nothing.
    if (start_.start.empty() && totals_.entries == 0) Fail("the main menu never led into play");
    if (!failure_.empty()) {
      ADD_FAILURE() << Report();
    } else {
      std::printf(
          "player walk from %s, seed %llu: %d ticks, %d level entries, %d saves, %d loads, "
          "%d hints, %d deaths; longest black %d ticks, longest still %d\n",
          start_.start.empty() ? "the main menu" : start_.start.c_str(),
          static_cast<unsigned long long>(start_.seed), start_.ticks, totals_.entries,
          totals_.saves, totals_.loads, totals_.hints, totals_.deaths, totals_.black,
          totals_.still);
    }
    return failure_.empty();
  }

 private:
  WorldState& World() { return form_->World(); }
  GuiWindows& Windows() { return form_->Interface().gui.windows; }

  // ---- One tick: the player's input, one main-loop tick, the checks ----

  void Tick() {
    const bool hintBefore = Windows().hintWindow.visible == 1;
    Act();
    const bool hintClosed = hintBefore && Windows().hintWindow.visible == 0;
    WorldState& w = World();
    const bool playNoWindow = w.GameMode == game_mode::kPlay && !AnyWindow();
    const double hud = w.hudAnimFrame;
    const int armed = ArmedSavePoints();
    const bool nudged = nudged_;
    nudged_ = false;
    form_->dtimerTimer(kStepMs);
    Observe(playNoWindow, hud, armed, nudged, hintClosed);
  }

  bool AnyWindow() {
    const GuiWindows& g = Windows();
    return g.inGameMenu.visible == 1 || g.options.visible == 1 || g.saveLoad.visible == 1 ||
           g.hintWindow.visible == 1 || g.keys.visible == 1;
  }

  int ArmedSavePoints() {
    int n = 0;
    for (const BonusRecord& b : World().bonuses) n += b.alive == 1 && b.kind == bonus::kSavePoint;
    return n;
  }

  void Fail(const std::string& what) {
    if (failure_.empty()) failure_ = what;
  }

  // The checks after a tick: `playNoWindow` no window was open when its step began, `hud` the
  // HUD frame and `armed` the armed save points then; `nudged` the walk moved the ship itself;
  // `hintClosed` the player closed the hint window.
  void Observe(bool playNoWindow, double hud, int armed, bool nudged, bool hintClosed) {
    WorldState& w = World();
    form_->FinishSaves();
    const std::vector<std::string> lines = log_.NewLines();
    const std::vector<FolderWatch::Event> events = watch_.Drain();
    const size_t entries = Count(lines, "entered level");
    const size_t saves = Count(lines, "saved the game into");
    size_t loads = 0;
    std::vector<std::string> hintsOpened;
    for (const FolderWatch::Event& e : events) {
      if (e.hint && fs::path(e.name).extension() == ".txt") hintsOpened.push_back(e.name);
      if (!e.hint && fs::path(e.name).extension() == ".qvs") ++loads;
    }
    const bool play = w.GameMode == game_mode::kPlay;
    const bool advanced = w.hudAnimFrame != hud;
    totals_.entries += static_cast<int>(entries);
    totals_.saves += static_cast<int>(saves);
    totals_.loads += static_cast<int>(loads);
    totals_.hints += static_cast<int>(hintsOpened.size());

    // With no window open, the tick's step moves the world, unless the step itself opened one
    // (a notice after the last life was lost), whose button lets play go on.
    if (playNoWindow && play && !advanced && !AnyWindow()) {
      Fail("no window is open, yet the world stood still this tick");
    }
    stillTicks_ = play && !advanced ? stillTicks_ + 1 : 0;
    totals_.still = std::max(totals_.still, stillTicks_);
    if (stillTicks_ > kStillTicks) {
      Fail("the world has stood still for " + std::to_string(stillTicks_) +
           " ticks while the player kept closing what was open");
    }
    // The screen is not left black.
    blackTicks_ = play && w.screenFade >= kBlack ? blackTicks_ + 1 : 0;
    totals_.black = std::max(totals_.black, blackTicks_);
    if (blackTicks_ > kBlackTicks) {
      Fail("the screen has been black for " + std::to_string(blackTicks_) + " ticks");
    }

    // A slot is written once per level entry or save point, with a ship that floats.
    const int armedAfter = ArmedSavePoints();
    const size_t fired = entries == 0 && loads == 0 && armed > armedAfter
                             ? static_cast<size_t>(armed - armedAfter)
                             : 0;
    if (saves > entries + fired) {
      Fail(std::to_string(saves) + " slot writes in one tick, with " + std::to_string(entries) +
           " level entries and " + std::to_string(fired) + " save points reached");
    }
    if (saves > 0) CheckSavedShip();

    // Every hint the game opens is seen; none comes back right after the player closed it.
    if (hintClosed) {
      closedHint_ = showingHint_;
      stepsSinceClose_ = 0;
    }
    if (advanced) ++stepsSinceClose_;
    if (entries > 0 || loads > 0) closedHint_.clear();
    for (const std::string& h : hintsOpened) {
      if (h == closedHint_ && stepsSinceClose_ <= kHintBackSteps) {
        Fail("the hint " + h + " came back " + std::to_string(stepsSinceClose_) +
             " step(s) of play after the player closed it");
      }
      pending_.push_back(h);
    }
    if (Windows().hintWindow.visible == 1) {
      for (const std::string& h : hintsOpened) {
        if (HintShown(h)) showingHint_ = h;
      }
      std::erase_if(pending_, [&](const std::string& h) { return HintShown(h); });
    }
    if (!play) pending_.clear();
    unseenTicks_ = play && !AnyWindow() && !pending_.empty() ? unseenTicks_ + 1 : 0;
    if (unseenTicks_ > kUnseenHintTicks) {
      Fail("the hint " + pending_.front() + " was opened but never shown: play went on without it");
    }

    // A floating ship does not sail from water onto land.
    const UnitRecord* p = PlayerUnit(w);
    const bool onLand = play && p != nullptr && p->alive == 1 && p->sinking == 0 &&
                        IsLandAt(w, p->posX, p->posZ) > 0.0;
    if (onLand && !wasOnLand_ && !nudged && entries == 0 && loads == 0) {
      Fail("the ship sailed onto land");
    }
    wasOnLand_ = onLand;
  }

  // Whether the hint window shows the hint file `name` (the episode's opening hint has its
  // first line replaced by the greeting).
  bool HintShown(const std::string& name) {
    const HintLines want = HintFileLines(name);
    const TWindow& win = Windows().hintWindow;
    for (int i = 0; i < kHintLines && i < static_cast<int>(win.texts.size()); ++i) {
      if (win.texts[i].caption == want[i]) continue;
      if (i == 0 && name.rfind("Whint", 0) == 0) continue;
      return false;
    }
    return true;
  }

  void CheckSavedShip() {
    WorldState& w = World();
    auto saved = std::make_unique<SavedState>();
    const SlotLoadResult r = ReadSaveSlot(w.appPath, w.saveSlot, *saved);
    watch_.Drain();  // the walk's own read
    if (r.status != SlotLoad::kLoaded) {
      Fail("slot " + std::to_string(w.saveSlot) + " was written but does not load");
      return;
    }
    const SavedState& s = *saved;
    if (s.playerUnit < 1 || s.playerUnit >= kUnitSlots) return;
    const UnitRecord& p = s.units[s.playerUnit];
    if (p.alive != 1 || p.sinking != 0 || !(p.life > 0.0f)) {
      std::ostringstream o;
      o << "slot " << w.saveSlot << " was written with the player's ship alive " << +p.alive
        << ", sinking " << +p.sinking << ", life " << p.life << ", lives " << s.lives
        << ": every load of it sinks again";
      Fail(o.str());
    }
  }

  // ---- The player ----

  void Note(const std::string& what) {
    history_.push_back("t" + std::to_string(tick_) + " " + what);
    if (history_.size() > 24) history_.pop_front();
  }

  int Roll(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }

  // A click at a point of the interface space (y downwards from the screen's top).
  void ClickAt(int gx, int gyDown) {
    const int x = gx * kWidth / kGuiWidth, y = gyDown * kHeight / kGuiHeight;
    form_->OnMouseMove(x, y, 0);
    form_->OnMouseDown(platform::kMouseLeft, x, y, 0);
    form_->OnMouseUp(platform::kMouseLeft, x, y, 0);
  }
  void ClickButton(const TWindow& win, int index, const std::string& name) {
    const TButton& b = win.buttons[static_cast<size_t>(index)];
    Note("click " + name + " \"" + Cp1251ToUtf8(b.caption) + "\"");
    ClickAt(win.x + b.x + b.width / 2, kGuiTopBand + win.y + b.y + b.height / 2);
  }
  void ClickCloseBox(const TWindow& win, const std::string& name) {
    Note("close box of " + name);
    ClickAt(win.x + win.width - 14, kGuiTopBand + win.y + 16);
  }
  void PadBack(const std::string& name) {
    Note("controller B over " + name);
    platform::PadState pad;
    pad.b = 1;
    form_->PadInput(pad, kStepMs);
    pad.b = 0;
    form_->PadInput(pad, kStepMs);
  }
  void Key(int vk, bool down) {
    if (down) {
      form_->OnKeyDown(vk, 0);
    } else {
      form_->OnKeyUp(vk, 0);
    }
  }
  void Tap(int vk, const std::string& name) {
    Note("key " + name);
    Key(vk, true);
    Key(vk, false);
  }
  void ReleaseKeys() {
    for (const auto& [vk, until] : held_) Key(vk, false);
    held_.clear();
  }
  void Hold(int vk, int ticks) {
    if (held_.count(vk) != 0) return;
    Key(vk, true);
    held_[vk] = tick_ + ticks;
  }

  // One window's ways on, by weight: its buttons (by index), its close box (-1), B (-2), Esc (-3).
  struct Way {
    int what;
    int weight;
  };
  void UseWindow(const TWindow& win, const std::string& name, std::initializer_list<Way> ways) {
    int total = 0;
    for (const Way& w : ways) total += w.weight;
    int r = Roll(total);
    for (const Way& w : ways) {
      if ((r -= w.weight) >= 0) continue;
      if (w.what == -1) {
        ClickCloseBox(win, name);
      } else if (w.what == -2) {
        PadBack(name);
      } else if (w.what == -3) {
        Tap(kVkEscape, "Esc over " + name);
      } else {
        ClickButton(win, w.what, name);
      }
      return;
    }
  }

  void Act() {
    // Keys held for their time are let go.
    for (auto it = held_.begin(); it != held_.end();) {
      if (it->second <= tick_) {
        Key(it->first, false);
        it = held_.erase(it);
      } else {
        ++it;
      }
    }
    WorldState& w = World();
    if (w.GameMode == game_mode::kMenu) {
      ReleaseKeys();
      ActInMenu();
    } else if (w.GameMode == game_mode::kPlay) {
      if (AnyWindow()) {
        ActOnWindow();
      } else {
        ActInPlay();
      }
    }
  }

  // A player reads a window before answering it: a few ticks, more for a hint.
  bool Reading(int ticks) {
    if (readUntil_ < 0) readUntil_ = tick_ + ticks;
    if (tick_ < readUntil_) return true;
    readUntil_ = -1;
    return false;
  }

  void ActOnWindow() {
    GuiWindows& g = Windows();
    if (g.keys.visible == 1) {
      if (Reading(2 + Roll(5))) return;
      UseWindow(g.keys, "the key window",
                {{static_cast<int>(g.keys.buttons.size()) - 1, 4},
                 {static_cast<int>(g.keys.buttons.size()) - 2, 1},
                 {-1, 2},
                 {-2, 2}});
    } else if (g.options.visible == 1) {
      if (Reading(2 + Roll(5))) return;
      UseWindow(g.options, "the options", {{1, 4}, {2, 1}, {-1, 2}, {-2, 2}});
    } else if (g.hintWindow.visible == 1) {
      if (Reading(5 + Roll(30))) return;
      UseWindow(g.hintWindow, "the hint", {{1, 4}, {-1, 4}, {-2, 2}, {-3, 1}});
    } else if (g.saveLoad.visible == 1) {
      if (Reading(2 + Roll(5))) return;
      UseWindow(g.saveLoad, "the save and load window",
                {{kSlotActionButton, 4},
                 {kSlotPreviousButton, 1},
                 {kSlotNextButton, 1},
                 {-1, 3},
                 {-2, 2}});
    } else if (g.inGameMenu.visible == 1) {
      if (Reading(2 + Roll(5))) return;
      // "Продолжить игру", "Начать заново", "Загрузить игру", "Настройки", "Выйти в меню";
      // never "Выйти в Windows".
      UseWindow(g.inGameMenu, "the in-game menu",
                {{1, 4}, {2, 3}, {3, 3}, {4, 1}, {5, 1}, {-1, 3}, {-2, 2}, {-3, 1}});
    }
  }

  void ActInMenu() {
    WorldState& w = World();
    GuiWindows& g = Windows();
    if (w.menuScreen == menu_screen::kMain && (g.keys.visible == 1 || g.options.visible == 1)) {
      ActOnWindow();  // the options over the main menu, read as in play
      return;
    }
    if (Reading(1 + Roll(3))) return;
    switch (w.menuScreen) {
      case menu_screen::kMain:
        if (g.networkNotice.visible == 1) {
          UseWindow(g.networkNotice, "the network notice", {{1, 3}, {-1, 1}});
        } else if (g.saveLoad.visible == 1) {
          UseWindow(
              g.saveLoad, "the save and load window",
              {{kSlotActionButton, 6}, {kSlotPreviousButton, 1}, {kSlotNextButton, 1}, {-1, 1}});
        } else if (g.mainMenu.visible == 1) {
          // "Новая игра", "Загрузить игру", "Сетевая игра", "Настройки", "Разработчики"; never
          // "Выйти в Windows".
          UseWindow(g.mainMenu, "the main menu", {{1, 8}, {2, 3}, {3, 1}, {4, 1}, {5, 1}});
        } else {
          Note("click on the title");
          ClickAt(400, 300);
        }
        break;
      case menu_screen::kHeroChoice:
      case menu_screen::kShipChoice: {
        // The three pictures side by side, their middles at 18, 50 and 82 % across.
        const int k = Roll(3);
        Note(std::string("click on ") +
             (w.menuScreen == menu_screen::kHeroChoice ? "hero " : "ship ") +
             std::to_string(k + 1));
        ClickAt((18 + 32 * k) * kGuiWidth / 100,
                (w.menuScreen == menu_screen::kHeroChoice ? 30 : 35) * kGuiHeight / 100);
        break;
      }
      default:
        Note("click on the menu screen " + std::to_string(w.menuScreen));
        ClickAt(400, 300);
        break;
    }
  }

  // ---- Play with no window open ----

  void ActInPlay() {
    WorldState& w = World();
    UnitRecord* p = PlayerUnit(w);
    if (plan_ < 0 || (planStarted_ && tick_ >= planEnd_)) {
      plan_ = -1;
      int total = 0;
      for (int k : kPlanWeights) total += k;
      int r = Roll(total);
      for (int k = 0; k < kPlanCount; ++k) {
        if ((r -= kPlanWeights[k]) < 0) {
          plan_ = k;
          break;
        }
      }
      planStarted_ = false;
    }
    if (!planStarted_) {
      planStarted_ = true;
      planEnd_ = tick_ + 20 + Roll(80);
      Note(std::string("plan: ") + kPlanNames[plan_]);
      if (p != nullptr) StartPlan(w, *p);
    }
    if (plan_ == kSail || plan_ == kShoot || plan_ == kShootWreck) Sail();
  }

  void StartPlan(WorldState& w, UnitRecord& p) {
    switch (plan_) {
      case kAxisRun:
        AxisRun(w, p);
        break;
      case kDie:
        Die(w, p, Roll(2) == 0);
        break;
      case kSavePoint:
        ToBonus(w, p, bonus::kSavePoint);
        break;
      case kHintMark:
        ToBonus(w, p, bonus::kHint);
        break;
      case kEdge:
        ToEdge(w, p);
        break;
      case kShoot:
        Shoot(w, false);
        break;
      case kShootWreck:
        Shoot(w, true);
        break;
      case kDieAtSave:
        Die(w, p, true);
        ToBonus(w, p, bonus::kSavePoint);
        break;
      case kDieAtEdge:
        Die(w, p, true);
        ToEdge(w, p);
        break;
      case kMenu:
        Tap(kVkEscape, "Esc");
        planEnd_ = tick_;
        break;
      default:
        break;
    }
  }

  void Nudge(const std::string& what) {
    Note("nudge: " + what);
    nudged_ = true;
  }

  // The ship at rest on open water 6 units beyond a shore along z, heading exactly 0 (towards
  // -z, at the land), Up held and no turn: the first thing a new game asks of the player.
  void AxisRun(WorldState& w, UnitRecord& p) {
    std::vector<std::pair<double, double>> places;
    const double size = w.levelSize;
    for (double x = 20.0; x < size - 20.0; x += 4.0) {
      for (double z = 20.0; z < size - 30.0; z += 1.0) {
        if (IsLandAt(w, x, z) == 0.0) continue;
        bool open = true;
        for (double d = 1.0; d <= 9.0 && open; d += 1.0) open = IsLandAt(w, x, z + d) == 0.0;
        if (open) places.emplace_back(x, z + 7.0);
      }
    }
    if (places.empty()) return;
    const auto [x, z] = places[static_cast<size_t>(Roll(static_cast<int>(places.size())))];
    ReleaseKeys();
    p.posX = x;
    p.posZ = z;
    p.rotY = 0.0;
    p.turnRate = 0.0f;
    p.vel = {0.0, 0.0, 0.0, p.vel.w};
    planEnd_ = tick_ + 200;
    Hold(kVkUp, 200);
    std::ostringstream o;
    o << "ship at rest at " << x << ", " << z << ", 6 units off a shore ahead, heading 0, Up held";
    Nudge(o.str());
  }

  void Die(WorldState& w, UnitRecord& p, bool lastLife) {
    ++totals_.deaths;
    p.life = 0.0f;
    if (lastLife) w.lives = 0;
    Nudge(lastLife ? "the ship's last life lost" : "the ship's life lost");
  }

  void ToBonus(WorldState& w, UnitRecord& p, int32_t kind) {
    std::vector<int> armed;
    for (int i = 1; i < kBonusSlots; ++i) {
      if (w.bonuses[i].alive == 1 && w.bonuses[i].kind == kind) armed.push_back(i);
    }
    if (armed.empty()) return;
    const BonusRecord& b =
        w.bonuses[armed[static_cast<size_t>(Roll(static_cast<int>(armed.size())))]];
    p.posX = b.posX;
    p.posZ = b.posZ;
    std::ostringstream o;
    o << "ship onto the " << (kind == bonus::kSavePoint ? "save point" : "hint mark ") << " at "
      << b.posX << ", " << b.posZ;
    Nudge(o.str());
  }

  void ToEdge(WorldState& w, UnitRecord& p) {
    const int32_t links[4] = {w.neighbourMinusX, w.neighbourMinusZ, w.neighbourPlusX,
                              w.neighbourPlusZ};
    std::vector<int> edges;
    for (int e = 0; e < 4; ++e) {
      if (links[e] > 0) edges.push_back(e);
    }
    if (edges.empty()) return;
    const int e = edges[static_cast<size_t>(Roll(static_cast<int>(edges.size())))];
    const double inBand = 14.0, far = w.levelSize - 14.0;
    if (e == 0) p.posX = inBand;
    if (e == 1) p.posZ = inBand;
    if (e == 2) p.posX = far;
    if (e == 3) p.posZ = far;
    Nudge("ship into the band of edge " + std::to_string(e) + " (to level " +
          std::to_string(links[e]) + ")");
  }

  static bool FoundItemWreck(int32_t k) {
    return k == kind::kMonitor || k == kind::kItemWreck22 || k == kind::kItemWreck37 ||
           k == kind::kItemWreck50;
  }

  void Shoot(WorldState& w, bool wrecksOnly) {
    std::vector<int> targets;
    for (int i = 1; i < kUnitSlots; ++i) {
      const UnitRecord& u = w.units[i];
      if (i != w.playerUnit && u.alive == 1 && u.sinking == 0 && u.unitKind != 0 &&
          (!wrecksOnly || FoundItemWreck(u.unitKind))) {
        targets.push_back(i);
      }
    }
    if (targets.empty()) return;
    UnitRecord& u = w.units[targets[static_cast<size_t>(Roll(static_cast<int>(targets.size())))]];
    u.life = 0.0f;
    std::ostringstream o;
    o << "a unit of kind " << u.unitKind << " at " << u.posX << ", " << u.posZ << " shot";
    Nudge(o.str());
  }

  // Play keys held for a while, pointer moves and clicks on the sea.
  void Sail() {
    const int r = Roll(100);
    if (r < 8) {
      const int vk = kPlayKeys[Roll(static_cast<int>(std::size(kPlayKeys)))];
      Hold(vk, 1 + Roll(60));
    } else if (r < 10) {
      Hold(kVkUp, 20 + Roll(80));
    } else if (r < 14) {
      const int x = Roll(kWidth), y = Roll(kHeight);
      form_->OnMouseMove(x, y, 0);
      if (Roll(3) == 0) {
        const int b = Roll(2) == 0 ? platform::kMouseLeft : platform::kMouseRight;
        form_->OnMouseDown(b, x, y, 0);
        form_->OnMouseUp(b, x, y, 0);
      }
    }
  }

  // ---- The report ----

  std::string Report() {
    WorldState& w = World();
    std::ostringstream o;
    o << "player walk from " << (start_.start.empty() ? "the main menu" : start_.start) << ", seed "
      << start_.seed << ", tick " << tick_ << ": " << failure_ << "\n";
    o << "  state: mode " << w.GameMode << ", menu screen " << w.menuScreen << ", episode "
      << w.episode << " level " << w.levelNumber << ", fade " << w.screenFade << ", lives "
      << w.lives << ", slot " << w.saveSlot << "\n";
    const GuiWindows& g = Windows();
    o << "  windows: in-game menu " << +g.inGameMenu.visible << ", hint " << +g.hintWindow.visible
      << ", options " << +g.options.visible << ", keys " << +g.keys.visible << ", save and load "
      << +g.saveLoad.visible << "\n";
    if (g.hintWindow.visible == 1 && !g.hintWindow.texts.empty()) {
      o << "  hint: \"" << Cp1251ToUtf8(g.hintWindow.texts[0].caption) << "\"\n";
    }
    if (const UnitRecord* p = PlayerUnit(w)) {
      o << "  ship: at " << p->posX << ", " << p->posZ << " heading " << p->rotY << ", velocity "
        << p->vel.x << ", " << p->vel.z << ", life " << p->life << ", alive " << +p->alive
        << ", sinking " << +p->sinking << ", land under it " << IslandHeightAt(w, p->posX, p->posZ)
        << "\n";
    }
    if (!pending_.empty()) o << "  hints opened and not seen: " << pending_.front() << "\n";
    o << "  the player's last actions:\n";
    for (const std::string& h : history_) o << "    " << h << "\n";
    o << "  rerun: SKERROW_WALK_SEED=" << start_.seed << " shell_tests --gtest_filter="
      << ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() << "."
      << ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return o.str();
  }

  WalkStart start_;
  std::mt19937_64 rng_;
  fs::path root_;
  FolderWatch watch_;
  LogTail log_;
  std::unique_ptr<TSkerrowForm> form_;
  bool started_ = false;
  int tick_ = 0;
  std::string failure_;
  std::deque<std::string> history_;
  std::map<int, int> held_;  // key -> the tick it is let go
  int readUntil_ = -1;
  int plan_ = -1, planEnd_ = 0;
  bool planStarted_ = false;
  bool nudged_ = false;
  int stillTicks_ = 0, blackTicks_ = 0, unseenTicks_ = 0;
  bool wasOnLand_ = false;
  struct {
    int entries = 0, saves = 0, loads = 0, hints = 0, deaths = 0, black = 0, still = 0;
  } totals_;                              // for the summary line of a walk that passed
  std::string showingHint_, closedHint_;  // the hint file shown, and the one last closed
  int stepsSinceClose_ = 0;
  std::vector<std::string> pending_;
};

// SKERROW_WALK_SEED=N: every walk of the run takes seed N instead of its own.
uint64_t SeedFor(uint64_t own) {
  const char* s = std::getenv("SKERROW_WALK_SEED");
  return s != nullptr && *s != '\0' ? std::strtoull(s, nullptr, 10) : own;
}

// Every level of the pack, as "E:L".
std::vector<std::string> PackLevels() {
  std::vector<std::string> levels;
  const std::string app = test::kPackGdata.parent_path().string() + "/";
  for (int e = 1; e <= 4; ++e) {
    for (int l = 1; l <= 20; ++l) {
      if (LevelFilesExist(app, e, l)) levels.push_back(std::to_string(e) + ":" + std::to_string(l));
    }
  }
  return levels;
}

class PlayerWalkTest : public ::testing::TestWithParam<std::string> {};

// A walk on each level of the pack from its direct start.
TEST_P(PlayerWalkTest, EveryLevelOfThePack) {
  if (!test::HavePack()) GTEST_SKIP() << "no content pack";
  const std::string level = GetParam();
  const uint64_t seed = SeedFor(100 * static_cast<uint64_t>(level[0] - '0') +
                                static_cast<uint64_t>(std::stoi(level.substr(2))));
  PlayerWalk walk("walk_" + level.substr(0, 1) + "_" + level.substr(2), {level, seed, 1500});
  walk.Run();
}

std::string LevelName(const ::testing::TestParamInfo<std::string>& info) {
  std::string s = "Level" + info.param;
  std::replace(s.begin(), s.end(), ':', '_');
  return s;
}

INSTANTIATE_TEST_SUITE_P(Pack, PlayerWalkTest, ::testing::ValuesIn(PackLevels()), LevelName);

// A new game from the main menu, and on: the menus, the hero and ship, the intro, play.
TEST(PlayerWalk, FromTheMainMenu) {
  if (!test::HavePack()) GTEST_SKIP() << "no content pack";
  PlayerWalk walk("walk_menu", {"", SeedFor(1), 1500});
  walk.Run();
}

// Walks that begin where a player gets stuck soonest: a found-item wreck shot, the last life lost
// on a save point or at an edge, a ship sailing straight at a shore.
TEST(PlayerWalk, Openings) {
  if (!test::HavePack()) GTEST_SKIP() << "no content pack";
  const struct {
    const char* name;
    WalkStart start;
  } kWalks[] = {
      {"wreck", {"1:2", SeedFor(7), 600, kShootWreck}},
      {"save", {"1:1", SeedFor(3), 600, kDieAtSave}},
      {"edge", {"1:1", SeedFor(4), 600, kDieAtEdge}},
      {"axis", {"4:1", SeedFor(5), 400, kAxisRun}},
  };
  for (const auto& k : kWalks) {
    SCOPED_TRACE(k.name);
    PlayerWalk walk(std::string("walk_") + k.name, k.start);
    walk.Run();
  }
}

}  // namespace
}  // namespace skerrow
