#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages), builds the demo in Release and runs the show.
# Arguments are passed to the demo (e.g. --window, or --capture DIR --fps 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-packages.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDEMO_BUILD_TESTS=OFF -DDEMO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build/release" --target demo
exec "$root/build/release/demo" "$@"
