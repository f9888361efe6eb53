#!/bin/sh
# Takes the README's pictures with the headless game and its scripted input: the main menu, a
# battle with the HUD, the key window, the first level of every episode the content pack holds,
# and the level editor beside the game. Writes 800 x 600 PNG files into docs/screenshots (or OUT).
#
#   tools/screenshots.sh [BUILD [OUT]]      BUILD: the build folder (default build), which holds
#                                            skerrow, skerrow-png and the generated gdata
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
out=${2:-$here/docs/screenshots}
game="$build/skerrow"
png="$build/skerrow-png"  # --bits 6: a third of the size, no visible change
for f in "$game" "$png" "$build/gdata/Skerrow.qvp"; do
  [ -e "$f" ] || { echo "screenshots: $f is missing: build skerrow, skerrow-png and the content pack" >&2; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
unset DISPLAY WAYLAND_DISPLAY

# shot NAME SCRIPT ARGS...: runs the game headless at 800 x 600 with SCRIPT as its input and
# writes the frame it ends on as NAME.png.
shot() {
  name=$1
  printf '%b' "$2" > "$work/$name.txt"
  shift 2
  "$game" --headless --seed 7 --size 800x600 --root "$build" --input "$work/$name.txt" \
    --screenshot "$work/$name.tga" "$@" > "$work/$name.log" 2>&1
  "$png" --bits 6 "$out/$name.png" "$work/$name.tga"
  echo "screenshots: $out/$name.png"
}

# hint_clicks T...: script lines that close a hint window at each tick T with its button
# "Продолжить игру" (window pixel 497, 418 at 800 x 600): move there at T, click at T + 1. A hint
# pauses play until then; a click with no hint open lands on the sea and leaves a ring that has
# faded a second later.
hint_clicks() {
  for t in "$@"; do
    printf '%s mouse-move 497 418\n%s mouse-down 0\n%s mouse-up 0\n' "$t" $((t + 1)) $((t + 1))
  done
}

# The main menu: the first click shows its window; the pointer then rests beside it.
shot menu '40 mouse-move 300 300\n41 mouse-down 0\n42 mouse-up 0\n43 mouse-move 480 470\n' \
  --ticks 120

# The key window: "Настройки" in the main menu, "Клавиши" in the options, then the mines' key
# button, which waits for a key. At 800 x 600 GUI units are pixels (y from the bottom).
shot keys '40 mouse-move 300 300\n41 mouse-down 0\n42 mouse-up 0\n50 mouse-move 675 313\n51 mouse-down 0\n52 mouse-up 0\n60 mouse-move 270 403\n61 mouse-down 0\n62 mouse-up 0\n70 mouse-move 500 352\n71 mouse-down 0\n72 mouse-up 0\n73 mouse-move 700 500\n' \
  --ticks 120

# A battle on level 1: full ahead to the north past the tutorial's hints (a click every 10 ticks
# closes each as it comes) until the gunboat there wakes, closes in and fires; the ship answers
# with its bow gun and the starboard battery, the pointer out of the way.
shot battle "$(hint_clicks $(seq 2 10 1542))\n1 key-down 38\n1555 mouse-move 0 0\n1560 key-up 38\n1570 key-down 87\n1585 key-up 87\n1600 key-down 68\n1610 key-up 68\n" \
  --start 1:1 --ticks 1630

# Every episode whose first level the pack holds (a missing one ends the run with code 2), full
# ahead from its start until land of the episode's own look is in sight: the tropical island and
# its coins at the start of episode 1 (after the guns' hint), the first snowy island with its
# rocks of episode 2, the harbour's first island with its buildings, the first palm on the basalt
# of episode 4; any other episode at tick 200. Each line: the last tick, then the last hint click
# (the hints still to come are closed as they open, a click on the sea leaves a ring for a
# second). The ticks were chosen from a row of frames along each run.
episode_ticks() {
  case $1 in 1) echo 140 112 ;; 2) echo 1500 1460 ;; 3) echo 110 70 ;; 4) echo 850 810 ;; *) echo 200 132 ;; esac
}
episode=1
while [ "$episode" -le 9 ]; do
  if "$game" --headless --size 160x120 --root "$build" --start "$episode:1" --ticks 1 \
      > /dev/null 2>&1; then
    set -- $(episode_ticks "$episode")
    shot "episode$episode" "$(hint_clicks $(seq 2 10 "$2"))\n1 key-down 38\n$(($2 + 3)) mouse-move 0 0\n" \
      --start "$episode:1" --ticks "$1"
  fi
  episode=$((episode + 1))
done

# The level editor: Space opens its window beside the game, level 1's opening hints closed; both
# frames side by side.
{ printf '1 key-down 32\n2 key-up 32\n'; hint_clicks 2 12; } > "$work/editor.txt"
SKERROW_EDITOR_SCREENSHOT="$work/editor-window.tga" XDG_CONFIG_HOME="$work/config" \
  "$game" -EDITOR --headless --seed 7 --size 800x600 --root "$build" --start 1:1 \
  --input "$work/editor.txt" --ticks 120 --screenshot "$work/editor-game.tga" \
  > "$work/editor.log" 2>&1
"$png" --bits 6 "$out/editor.png" "$work/editor-game.tga" "$work/editor-window.tga"
echo "screenshots: $out/editor.png"
