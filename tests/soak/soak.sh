#!/usr/bin/env bash
# Soak test (not part of ./test.sh): the sanitizer build plays every level of every episode of
# the content pack in turn, headless with frames, under seeded random key and mouse input, and
# must end each run with exit code 0, no sanitizer report and a resident memory that stays flat
# after warm-up (the last quarter's peak within SKERROW_SOAK_RSS_PERCENT of the second
# quarter's). Usage: tests/soak/soak.sh [STEPS] [SEED]; STEPS (default 100000) are shared out
# over the levels. Figures go to stdout; the runs' files stay in $SKERROW_SOAK_DIR (default a
# new temporary folder).
set -euo pipefail
cd "$(dirname "$0")/../.."
steps=${1:-100000}
seed=${2:-1}
rss_percent=${SKERROW_SOAK_RSS_PERCENT:-5}
sample_seconds=${SKERROW_SOAK_SAMPLE_SECONDS:-2}
jobs=${SKERROW_SOAK_JOBS:-2}
out=${SKERROW_SOAK_DIR:-$(mktemp -d /tmp/skerrow_soak.XXXXXX)}
build=${SKERROW_SOAK_BUILD:-build-asan}  # another build's folder, to try the script itself
mkdir -p "$out"

if [ "$build" = build-asan ] && { [ ! -x build-asan/skerrow ] || [ ! -f build-asan/gdata/Skerrow.qvp ]; }; then
  echo "== building the sanitizer game (build-asan)"
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DSKERROW_SANITIZE=ON -DSKERROW_BENCH=OFF >/dev/null
  cmake --build build-asan -j "$jobs" --target skerrow skerrow_content_pack
fi
game=$PWD/$build/skerrow
pack=$PWD/$build/gdata

unset DISPLAY WAYLAND_DISPLAY
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null LP_NUM_THREADS=0
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0:use_tls=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"

# The game's episode table: directory names under gdata/Worlds, episode 1..4.
episodes=("Заманчивые тропики" "Ледяной плен" "Промышленный центр" "Секретный")
levels=()
for e in 1 2 3 4; do
  dir="$pack/Worlds/${episodes[$((e - 1))]}"
  [ -d "$dir" ] || continue
  for f in "$dir"/[Dd]ata/[Ll]and*.lan; do
    [ -e "$f" ] || continue
    n=$(basename "$f" | sed -E 's/^[Ll]and([0-9]+)\.lan$/\1/')
    [[ "$n" =~ ^[0-9]+$ ]] && levels+=("$e:$n")
  done
done
[ ${#levels[@]} -gt 0 ] || { echo "no levels in $pack" >&2; exit 1; }
mapfile -t levels < <(printf '%s\n' "${levels[@]}" | sort -t: -k1,1n -k2,2n)
per_level=$(((steps + ${#levels[@]} - 1) / ${#levels[@]}))
echo "== soak: $steps steps over ${#levels[@]} levels (${levels[*]}), $per_level each, seed $seed, in $out"

# A game folder of links to the pack, so that the saves of --slot land in the soak's folder.
root="$out/root"
rm -rf "$root"
mkdir -p "$root/gdata"
for e in "$pack"/*; do
  [ "$(basename "$e")" = savegame ] || ln -s "$e" "$root/gdata/$(basename "$e")"
done

# Random but valid input for TICKS ticks: held steering and weapon keys (arrows, W, A, D, S, X,
# Z, tilde) for 1..60 ticks, pointer moves over the 320 x 240 window, and left or right clicks
# that steer; no Esc (its menu would pause play), no screenshot keys. Every 40 to 80 ticks a
# click on the hint window's button "Продолжить игру" (497, 418 of the 800 x 600 interface):
# a hint pauses play until it is closed, and a direct start opens the episode's hint at once.
input_script() {
  awk -v seed="$1" -v ticks="$2" -v bx=$((497 * 320 / 800)) -v by=$((418 * 240 / 600)) 'BEGIN {
    srand(seed)
    split("37 38 39 40 87 65 68 83 88 90 192", keys, " ")
    t = 1
    nexthint = 2
    while (t < ticks) {
      if (t >= nexthint && held["b0"] < t) {
        print t " mouse-move " bx " " by
        print t + 1 " mouse-down 0"
        print t + 1 " mouse-up 0"
        held["b0"] = t + 1
        nexthint = t + 40 + int(rand() * 41)
        t += 2
        continue
      }
      r = rand()
      # A key or button is pressed again only after its release.
      if (r < 0.6) {
        k = keys[1 + int(rand() * 11)]
        if (held["k" k] < t) {
          held["k" k] = t + 1 + int(rand() * 60)
          print t " key-down " k
          print held["k" k] " key-up " k
        }
      } else if (r < 0.85) {
        print t " mouse-move " int(rand() * 320) " " int(rand() * 240)
      } else {
        b = int(rand() * 2)
        if (held["b" b] < t) {
          held["b" b] = t + 1 + int(rand() * 20)
          print t " mouse-down " b
          print held["b" b] " mouse-up " b
        }
      }
      t += 1 + int(rand() * 8)
    }
  }' | sort -n -s -k1,1
}

# Peak VmRSS (kB) of the samples in quarter Q (1..4) of the file, without its last
# $exit_samples samples: the shutdown (the state dump, LeakSanitizer's scan at exit) is no play.
exit_samples=${SKERROW_SOAK_EXIT_SAMPLES:-3}
quarter_max() {
  awk -v q="$2" -v drop="$exit_samples" '{ v[NR] = $1 } END {
    n = NR - drop; lo = int((q - 1) * n / 4) + 1; hi = int(q * n / 4); m = 0
    for (i = lo; i <= hi; ++i) if (v[i] > m) m = v[i]
    print m
  }' "$1"
}

# The player's ship's place in a dumped state as "X Z": the slot number at offset 7,114,808 of
# the saved block names the unit; the unit table starts at 7,044,916, 272 bytes a unit, posX
# and posZ are its doubles at 0 and 16. Empty when the slot is outside 1..255.
player_place() {
  local slot
  slot=$(od -An -t d4 -j 7114808 -N 4 "$1" | tr -d ' ')
  [[ "$slot" =~ ^[0-9]+$ ]] && [ "$slot" -ge 1 ] && [ "$slot" -lt 256 ] || return 0
  od -An -t f8 -j $((7044916 + slot * 272)) -N 24 "$1" | tr -s ' \n' ' ' | awk '{ print $1, $3 }'
}

failed=0
total_ticks=0
total_seconds=0
i=0
for level in "${levels[@]}"; do
  i=$((i + 1))
  name="level${level/:/_}"
  run_seed=$((seed * 1000 + i))
  input_script "$run_seed" "$per_level" >"$out/$name.input"
  # The state the level starts in, to tell a run whose world stood still (a window left open
  # pauses play) from one that sailed.
  "$game" --headless --seed "$run_seed" --start "$level" --size 320x240 --root "$root" \
    --ticks 0 --dump-state "$out/$name.start.qvs" >/dev/null 2>&1 || true
  start=$(date +%s.%N)
  "$game" --headless --seed "$run_seed" --start "$level" --slot "$i" --size 320x240 \
    --root "$root" --input "$out/$name.input" --ticks "$per_level" \
    --dump-state "$out/$name.qvs" >"$out/$name.out" 2>"$out/$name.err" &
  pid=$!
  : >"$out/$name.rss"
  while kill -0 "$pid" 2>/dev/null; do
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null >>"$out/$name.rss" || true
    sleep "$sample_seconds"
  done
  rc=0
  wait "$pid" || rc=$?
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  total_ticks=$((total_ticks + per_level))
  total_seconds=$(echo "$total_seconds + $seconds" | bc)
  samples=$(wc -l <"$out/$name.rss")
  q2=$(quarter_max "$out/$name.rss" 2)
  q4=$(quarter_max "$out/$name.rss" 4)
  verdict=ok
  if [ "$rc" -ne 0 ]; then verdict="exit code $rc"; fi
  if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: (Address|Undefined|Leak)" \
    "$out/$name.err"; then
    verdict="sanitizer report"
  fi
  from=$(player_place "$out/$name.start.qvs")
  to=$(player_place "$out/$name.qvs")
  moved=$(echo "$from $to" | awk 'NF == 4 { dx = $3 - $1; dz = $4 - $2; printf "%.1f", sqrt(dx * dx + dz * dz) }')
  # Random input wanders: judged only over 2,000 steps or more (a full soak's runs sail 5 to 20
  # units; a few hundred steps may leave the ship where it started).
  if [ "$verdict" = ok ] && [ "$per_level" -ge 2000 ] &&
    ! awk -v m="${moved:-0}" 'BEGIN { exit !(m >= 1) }'; then
    verdict="the player's ship did not move (${moved:-no place} units)"
  fi
  if [ "$samples" -lt $((8 + exit_samples)) ]; then
    echo "   (only $samples memory samples: too short a run to judge the memory)"
  elif [ "$q4" -gt $((q2 + q2 * rss_percent / 100)) ]; then
    verdict="memory grew"
  fi
  printf '%s: %d steps in %.0f s (%.1f steps/s), ship moved %s units, VmRSS peak second quarter %d kB, last quarter %d kB (%d samples): %s\n' \
    "$level" "$per_level" "$seconds" "$(echo "$per_level / $seconds" | bc -l)" "${moved:-?}" \
    "$q2" "$q4" "$samples" "$verdict"
  if [ "$verdict" != ok ]; then
    failed=1
    tail -20 "$out/$name.err"
  fi
done
printf 'soak: %d steps in %.0f s (%.1f steps/s)\n' "$total_ticks" "$total_seconds" \
  "$(echo "$total_ticks / $total_seconds" | bc -l)"
if [ "$failed" -ne 0 ]; then
  echo "soak FAILED (files in $out)"
  exit 1
fi
echo "soak passed"
