#!/usr/bin/env bash
# Installs what the game needs, builds it (with the free content pack) and runs it.
# Arguments are passed to the game, e.g. ./play.sh --windowed --size 1280x1024
set -euo pipefail
cd "$(dirname "$0")"
say() { printf 'play.sh: %s\n' "$*"; }
say "checking the Debian packages the game needs"
scripts/install-deps.sh
if [ ! -f build/build.ninja ]; then
  say "configuring the build in build/ (first run)"
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ ! -x build/skerrow ] || [ ! -f build/gdata.stamp ]; then
  say "building the game and generating its content pack: the first run takes several minutes"
else
  say "bringing the build up to date"
fi
cmake --build build -j "$(nproc)" --target skerrow_game
say "starting the game"
exec build/skerrow "$@"
