#!/usr/bin/env bash
# The benchmark as a first run on a fresh machine sees it: `demo --bench` with Mesa's shader cache
# turned off (MESA_SHADER_CACHE_DISABLE=true), and with the cache on in a new, empty folder, then
# again in that folder once it is filled (a warm cache). Prints each run's summary lines.
# Usage: scripts/bench-first-run.sh [RUNS] [DEMO]  (defaults: 5 runs of build/release/demo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
demo=${2:-$root/build/release/demo}
if [ ! -x "$demo" ]; then
  echo "bench-first-run.sh: no program at $demo (build it with: cmake --preset release && cmake --build build/release)" >&2
  exit 2
fi
summary() {  # the lines after the table
  grep -E '^(window|frames over|rehearsal)' || true
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for run in $(seq "$runs"); do
  echo "== run $run: shader cache off"
  MESA_SHADER_CACHE_DISABLE=true "$demo" --bench | summary
  mkdir "$scratch/$run"
  echo "== run $run: shader cache in an empty folder"
  MESA_SHADER_CACHE_DIR="$scratch/$run" "$demo" --bench | summary
  echo "== run $run: the same folder, now warm"
  MESA_SHADER_CACHE_DIR="$scratch/$run" "$demo" --bench | summary
done
