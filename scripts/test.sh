#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages), then builds and runs the whole test suite three
# ways: the streaming thread's tests under ThreadSanitizer, everything under AddressSanitizer and
# UndefinedBehaviorSanitizer, and everything in Release (whose CTest summary closes the output).
# Between the last two, each libFuzzer target runs for 30 s (scripts/fuzz.sh).
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

configure() {  # build dir, extra cmake arguments...
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
}

echo "== ThreadSanitizer: streaming thread =="
# Sanitizer builds at -O1: much quicker to compile, and the tests spend their time in Mesa.
sanitizer_flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1")
configure "$root/build/tsan" "${sanitizer_flags[@]}" \
  -DDEMO_SANITIZE=thread -DDEMO_BUILD_BENCHMARKS=OFF
cmake --build "$root/build/tsan" -j "$jobs" --target test_music
"$root/build/tsan/tests/test_music" --gtest_filter='StreamThread*'

echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
configure "$root/build/asan" "${sanitizer_flags[@]}" \
  -DDEMO_SANITIZE=address,undefined -DDEMO_BUILD_BENCHMARKS=OFF
cmake --build "$root/build/asan" -j "$jobs"
(cd "$root/build/asan" && ctest --output-on-failure -j "$jobs")

echo "== libFuzzer smoke runs: AddressSanitizer + UndefinedBehaviorSanitizer =="
"$root/scripts/fuzz.sh" 30

echo "== Release =="
configure "$root/build/release" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build/release" -j "$jobs"
(cd "$root/build/release" && ctest --output-on-failure -j "$jobs")
