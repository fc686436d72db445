#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# in build/fuzz and runs each one for SECONDS (default 30).
#   scripts/fuzz.sh [SECONDS] [TARGET...]      targets: xm_image_fuzz switch_file_fuzz
# XM seeds are the shared corpus (../shared/xm-corpus beside the checkout) with their samples cut
# short by make_xm_seeds, plus any input kept in fuzz/regressions/xm after a finding; inputs a
# run adds are kept in build/fuzz/corpus/TARGET for the next run, and an input that fails is
# written to build/fuzz/artifacts/. FUZZ_JOBS=N runs N processes per target.
# A long run: nice -n 10 scripts/fuzz.sh 36000 xm_image_fuzz
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
targets=("${@:2}")
[ ${#targets[@]} -gt 0 ] || targets=(xm_image_fuzz switch_file_fuzz)
build=$root/build/fuzz
corpus_dir=$root/../shared/xm-corpus
"$root/scripts/setup-packages.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DDEMO_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" \
  -DDEMO_SANITIZE=address,undefined -DDEMO_BUILD_TESTS=OFF -DDEMO_BUILD_BENCHMARKS=OFF >/dev/null
if ! cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" make_xm_seeds \
  >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  exit 1
fi

seeds_xm=$build/seeds/xm
if [ ! -d "$seeds_xm" ] && [ -d "$corpus_dir" ]; then
  find "$corpus_dir" -name '*.xm' -print0 | sort -z |
    xargs -0 "$build/fuzz/make_xm_seeds" "$seeds_xm" >/dev/null
fi
mkdir -p "$seeds_xm" "$build/artifacts"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "${targets[@]}"; do
  case $target in
    xm_image_fuzz) seeds=("$seeds_xm" "$root/fuzz/regressions/xm") ;;
    switch_file_fuzz) seeds=("$root/fuzz/seeds/switch") ;;
    *) echo "fuzz.sh: unknown target $target" >&2; exit 2 ;;
  esac
  work=$build/corpus/$target
  mkdir -p "$work"
  existing=()
  for dir in "${seeds[@]}"; do
    if [ -d "$dir" ]; then existing+=("$dir"); fi
  done
  echo "== $target: $seconds s =="
  # Seeds and regression inputs run first; a crash, leak, timeout or sanitizer report fails.
  log=$build/$target.log
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -rss_limit_mb=2048 ${FUZZ_JOBS:+-jobs=$FUZZ_JOBS -workers=$FUZZ_JOBS} -print_final_stats=1 \
    -close_fd_mask=1 -artifact_prefix="$build/artifacts/$target-" "$work" "${existing[@]}" \
    >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|stat::(number_of_executed|average)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzz.sh: $target failed (status $status); the input is in $build/artifacts/" >&2
    exit "$status"
  fi
done
