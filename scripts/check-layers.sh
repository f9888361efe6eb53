#!/usr/bin/env bash
# Fails when a lower layer includes a header of a layer above it: world, simulation and
# enemies must build and test without a display, so they never include engine, render, shell,
# gui, audio, editor or platform/sdl headers, nor SDL, GL or OpenAL; world also stays below
# simulation and enemies. Usage: scripts/check-layers.sh [SOURCE_ROOT] (default: the repo).
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
upper='engine|render|shell|gui|audio|editor|platform/sdl'
system='SDL2?/|SDL[_.]|GL/|AL/|al\.h|alc\.h|EGL/'
status=0
check() {  # check FOLDER FORBIDDEN-PROJECT-PREFIXES
  local folder=$1 forbidden=$2 hits
  [ -d "$root/src/$folder" ] || return 0
  hits=$(grep -rnE "^\s*#\s*include\s*[<\"](($forbidden)/|$system)" "$root/src/$folder" \
    --include='*.h' --include='*.cpp' || true)
  if [ -n "$hits" ]; then
    echo "src/$folder may not include these headers:"
    echo "${hits//$root\//}"
    status=1
  fi
}
check world "$upper|simulation|enemies"
check simulation "$upper"
check enemies "$upper"
[ $status -eq 0 ] && echo "layer rules hold"
exit $status
