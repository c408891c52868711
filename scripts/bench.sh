#!/usr/bin/env bash
# Builds and runs the load/save benchmark of the design store (1,000, 10,000 and 100,000 designs; about
# 20 s), then the plug-in's benchmark under Wine on the same 10,000 design file (about 10 s).
#
# The native benchmark prints per size the median load and save times, wall-clock and CPU, their floors
# (reading the file line by line, writing its bytes) and the peak heap during load against the file
# size. Its last line is "scaling: load 100k/10k = X, save 100k/10k = Y; floor: load/floor = A,
# save/floor = B" (the floor ratios at 10,000 designs). The Wine benchmark builds build/win64 (preset
# "win64") and prints one line: the medians of OQXBeginPlugin, of one walk over the plug-in's menu and
# of OQXEndPlugin, as the stand-in host measures them (bench/wine-begin-end.txt).
#
#   scripts/bench.sh                    build in build/native (preset "native", -O2), run
#   LUMISK_BENCH_BUILD=build/mine scripts/bench.sh     another build directory
#   scripts/bench.sh --release-heap     let glibc return freed memory to the kernel between runs
#   LUMISK_BENCH_JOBS=1                 build jobs (default 2)
#   LUMISK_BENCH_WINE=0                 the native benchmark only
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

. scripts/build-env.sh
. scripts/wine-env.sh
build=${LUMISK_BENCH_BUILD:-build/native}
lumisk_build native "$build" "${LUMISK_BENCH_JOBS:-2}" bench load_save_bench

# The files go to a folder of their own, removed afterwards.
folder=$(mktemp -d "${TMPDIR:-/tmp}/lumisk-bench.XXXXXX")
trap 'rm -rf "$folder"' EXIT
args=()
if [ "${1:-}" = "--release-heap" ]; then args+=(--release-heap); fi
"$build/bench/load_save_bench" "${args[@]}" "$folder"
[ "${LUMISK_BENCH_WINE:-1}" = 0 ] && exit 0

wine_build=build/win64
lumisk_build win64 "$wine_build" "${LUMISK_BENCH_JOBS:-2}" bench lumisk orbiqa-sim
work="$folder/wine"
mkdir -p "$work"
(cd "$work" && "$root/scripts/wine-run.sh" "$root/$wine_build/orbiqa-sim.exe" --script "$(lumisk_windows_path "$root/bench/wine-begin-end.txt")" \
  --plugin "$(lumisk_windows_path "$root/$wine_build/lumisk.oqx")" --data "$(lumisk_windows_path "$folder")" --timeout 300 \
  >transcript.txt 2>stderr.txt) || { cat "$work/transcript.txt" "$work/stderr.txt"; exit 1; }
# Every start must have loaded the file, and the file written at the end must be the file read.
if [ "$(grep -c '^OQXBeginPlugin -> -1$' "$work/transcript.txt")" != 8 ] || ! grep -qx 'same' "$work/transcript.txt"; then
  echo "bench: the plug-in's run under Wine went wrong:"
  cat "$work/transcript.txt"
  exit 1
fi
# The first round warms up; the medians are those of the others.
awk '
  function median(list, n,   i, j, t) {
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (list[j] < list[i]) { t = list[i]; list[i] = list[j]; list[j] = t }
    return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
  }
  /^menu-cost: / { items = $2 }
  /^time OQXBeginPlugin / { if (nb++) begins[nb - 1] = $3 * 1000 }
  /^time OQXGetMenu / { if (nm++) walks[nm - 1] = $3 * items }
  /^time OQXEndPlugin / { if (ne++) ends[ne - 1] = $3 * 1000 }
  END {
    if (nb < 2 || nm < 2 || ne < 2) { print "bench: no times in the transcript"; exit 1 }
    printf "wine64, 10000 designs: OQXBeginPlugin %.1f ms, menu walk %.1f us (%d items), OQXEndPlugin %.1f ms (medians of %d rounds)\n",
      median(begins, nb - 1), median(walks, nm - 1), items, median(ends, ne - 1), nb - 1
  }' "$work/transcript.txt"
# No Wine process outlives the benchmark.
WINEPREFIX=$root/build/wineprefix /usr/lib/wine/wineserver -w 2>/dev/null || true
