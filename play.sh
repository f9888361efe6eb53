#!/usr/bin/env bash
# Installs what the game needs, builds it (with the free content pack) and runs it.
# Arguments are passed to the game, e.g. ./play.sh --windowed --size 1280x1024
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target skerrow_game
exec build/skerrow "$@"
