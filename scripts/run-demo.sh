#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages), builds the demo in Release and runs the show.
# Arguments are passed to the demo (e.g. --window, or --capture DIR --fps 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-packages.sh"
# The release preset, building only the program itself.
cmake --preset release -S "$root" >/dev/null
cmake --build "$root/build/release" --target demo
exec "$root/build/release/demo" "$@"
