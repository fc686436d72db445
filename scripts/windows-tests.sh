#!/usr/bin/env bash
# The Windows pass: cross-builds demo.exe, xmrender.exe and the GL-free test programs, runs the
# test programs under Wine, then runs the Linux suite's WindowsBuild tests, which play the
# Windows programs under Wine beside the Linux build (build/release, built first) and compare
# frames, music and exit statuses. Wine draws through Mesa on a virtual X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --under-x ]; then
  started=$(date +%s)
  # Wine first: configuring the cross build looks for it to run the test programs.
  "$root/scripts/setup-packages.sh" wine64 xvfb xauth googletest
  "$root/scripts/build-windows.sh"
  cmake --build "$root/build/windows" -j "$(nproc)" \
    --target test_music test_core test_platform test_shell test_window
  built=$(date +%s)
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --under-x
  echo "Windows pass: $(( $(date +%s) - started )) s (build $(( built - started )) s)"
  exit 0
fi

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export DEMO_WINDOWS_BUILD="$root/build/windows" DEMO_WINE="$wine"
trap stop_wine EXIT
start_wine

(cd "$DEMO_WINDOWS_BUILD" && ctest --output-on-failure)
"$root/build/release/tests/test_shell" --gtest_filter='WindowsBuild.*'
