#!/usr/bin/env bash
# Installs what the build needs, builds, and runs every test headless: first the normal build,
# then the same tests built with AddressSanitizer + UndefinedBehaviorSanitizer, then a short
# smoke run of each file-reader fuzzer. `--fast` stops after the normal build's tests.
set -euo pipefail
cd "$(dirname "$0")"
fast=0
for a in "$@"; do
  case "$a" in
    --fast) fast=1 ;;
    *) echo "usage: ./test.sh [--fast]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh

unset DISPLAY WAYLAND_DISPLAY
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
# llvmpipe without rasteriser threads: LeakSanitizer cannot always stop the driver's threads.
export LP_NUM_THREADS=0
# use_tls=0: the leak check's walk over the dynamic thread storage of dlopen'd drivers crashed
# LeakSanitizer's own tracer (signal 11, no report) for some argument and environment sizes.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0:use_tls=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs=$(nproc)

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
[ "$fast" = 1 ] && exit 0

echo "== sanitizer build (ASan + UBSan)"
# -g1: line tables and function names, all a sanitizer report needs; half the object size, so
# compiling and linking take less time. The content pack is written by the plain build's
# generator (the same bytes); the sanitized generator still runs in-process in tools_tests.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DSKERROW_SANITIZE=ON -DSKERROW_BENCH=OFF \
  -DSKERROW_CONTENT_GENERATOR="$PWD/build/skerrow-content" >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -f tests/fuzz/CMakeLists.txt ]; then
  echo "== fuzzers (libFuzzer, ASan + UBSan, smoke run)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DSKERROW_FUZZ=ON -DSKERROW_TESTS=OFF -DSKERROW_BENCH=OFF \
    -DSKERROW_CONTENT=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs" --target fuzzers
  # A smoke run per target, $jobs at a time (each fuzzer is one process on one core); the long
  # runs (README, "Fuzzing") are separate.
  seconds=${SKERROW_FUZZ_SECONDS:-15}
  smoke() {
    local f=$1 name corpus seeds
    name=$(basename "$f")
    corpus=$(mktemp -d)
    seeds="tests/fuzz/seeds/${name#fuzz_}"
    echo "-- $name (${seconds}s)"
    # Crash and slow-input files go beside the corpus, not into the source tree.
    "$f" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=1048576 \
      -artifact_prefix="$corpus/" "$corpus" \
      $( [ -d "$seeds" ] && echo "$seeds" ) 2>"$corpus.log" ||
      { echo "-- $name failed:"; tail -50 "$corpus.log"; return 1; }
    rm -rf "$corpus" "$corpus.log"
  }
  # All runs last the same time: when $jobs are running, wait for the oldest.
  pids=()
  failed=0
  for f in build-fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    if [ "${#pids[@]}" -ge "$jobs" ]; then
      wait "${pids[0]}" || failed=1
      pids=("${pids[@]:1}")
    fi
    smoke "$f" &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || failed=1; done
  [ "$failed" = 0 ] || exit 1
fi
echo "all tests passed"
