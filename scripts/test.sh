#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages), then builds and runs the whole test suite five
# ways: the streaming thread's tests under ThreadSanitizer, everything under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows cross build under Wine, the web build in headless
# Chromium (against the native Release build), and everything in Release (whose CTest summary
# closes the output; it also holds the show drawn through our own GL layer against the system's
# GL). Between the first two and the last, each libFuzzer target runs for 30 s
# (scripts/fuzz.sh), and the release packages are built (scripts/release.sh), installed and run
# (scripts/test-packages.sh; this installs the .deb on the machine and removes it again).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/setup-packages.sh"

# Tests draw on Mesa's software renderer with no display server and play no sound.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_non_power_of_two LIBGL_ALWAYS_SOFTWARE=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

configure() {  # preset
  cmake --preset "$1" -S "$root" >/dev/null
}

# Sanitizer builds at -O1 (CMakePresets.json): much quicker to compile, and the tests spend
# their time in Mesa.
echo "== ThreadSanitizer: streaming thread =="
configure tsan
cmake --build "$root/build/tsan" -j "$jobs" --target test_music
"$root/build/tsan/tests/test_music" --gtest_filter='StreamThread*'

echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
configure asan
cmake --build "$root/build/asan" -j "$jobs"
(cd "$root/build/asan" && ctest --output-on-failure -j "$jobs")

echo "== libFuzzer smoke runs: AddressSanitizer + UndefinedBehaviorSanitizer =="
"$root/scripts/fuzz.sh" 30

echo "== Release =="
configure release
cmake --build "$root/build/release" -j "$jobs"

echo "== Windows: MinGW-w64 cross build under Wine =="
"$root/scripts/windows-tests.sh"

echo "== Web: Emscripten build, the page in headless Chromium =="
"$root/scripts/web-tests.sh"

echo "== Release packages: built, then installed and run as a user would =="
started=$(date +%s)
"$root/scripts/release.sh"
"$root/scripts/test-packages.sh"
echo "Release packages pass: $(($(date +%s) - started)) s"

echo "== The program drawn through our own GL layer on OpenGL ES 3 =="
configure gl-layer
cmake --build "$root/build/gl-layer" -j "$jobs" --target demo gl_cases

(cd "$root/build/release" &&
  DEMO_GL_LAYER_BUILD="$root/build/gl-layer" ctest --output-on-failure -j "$jobs")
