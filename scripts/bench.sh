#!/usr/bin/env bash
# Builds and runs the load/save benchmark of the design store (1,000, 10,000 and 100,000 designs; about
# 20 s). Prints per size the median load and save times, wall-clock and CPU, and the peak heap during load
# against the file size, and the floors: what reading the file line by line and writing its bytes cost. The
# last line is "scaling: load 100k/10k = X, save 100k/10k = Y; floor: load/floor = A, save/floor = B"
# (the floor ratios at 10,000 designs).
#
#   scripts/bench.sh                    build in build/native (preset "native", -O2), run
#   LUMISK_BENCH_BUILD=build/mine scripts/bench.sh     another build directory
#   scripts/bench.sh --release-heap     let glibc return freed memory to the kernel between runs
#   LUMISK_BENCH_JOBS=1                 build jobs (default 2)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

build=${LUMISK_BENCH_BUILD:-build/native}
if [ ! -f "$build/CMakeCache.txt" ]; then
  mkdir -p "$(dirname "$build")"
  cmake --preset native -B "$build" >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
fi
cmake --build "$build" -j"${LUMISK_BENCH_JOBS:-2}" --target load_save_bench >"$build.bench-build.log" 2>&1 ||
  { tail -n 60 "$build.bench-build.log"; exit 1; }

# The files go to a folder of their own, removed afterwards.
folder=$(mktemp -d "${TMPDIR:-/tmp}/lumisk-bench.XXXXXX")
trap 'rm -rf "$folder"' EXIT
args=()
if [ "${1:-}" = "--release-heap" ]; then args+=(--release-heap); fi
"$build/bench/load_save_bench" "${args[@]}" "$folder"
