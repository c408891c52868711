#!/usr/bin/env bash
# Runs every test of Lumisk: installs what is missing, builds, runs the native unit tests, the Wine tests
# and end-to-end scripts on the shipped 32-bit build (emulated 32-bit Wine), the end-to-end scripts on its
# 64-bit twin (wine64, the build scripts/run.sh starts), the checks of the shipped plug-in's file and a
# short fuzzing run. Ends with one line counting all tests: "tests: N passed, N failed".
#
# The 64-bit twin's own Wine unit tests (the same sources as the 32-bit ones) are left to
# LUMISK_TEST_WIN64=all: with them the run takes some minutes more on two cores.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh || { echo "setup failed"; exit 1; }

passed=0
failed=0
count_ctest() {  # adds ctest's "N tests failed out of M" to the totals
  local log=$1 line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "no ctest summary in $log"
    failed=$((failed + 1))
    return
  fi
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

. scripts/build-env.sh
build() {  # preset [target...]
  local preset=$1
  shift
  lumisk_build "$preset" "build/$preset" "$jobs" test "$@"
}

# What the 64-bit end-to-end scripts run: the plug-in, its probe build and the two hosts.
win64_all=${LUMISK_TEST_WIN64:-e2e}
win64_targets=(lumisk lumisk-probe orbiqa-sim orbiqa-sim-lacking)
win64_tests=(-R '^e2e\.')
if [ "$win64_all" = all ]; then win64_targets=(); win64_tests=(); fi

mkdir -p build
echo "== layers"
if bash scripts/check-layers.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo "== build native"
build native || { echo "build native failed"; failed=$((failed + 1)); }
echo "== build win32"
build win32 || { echo "build win32 failed"; failed=$((failed + 1)); }
echo "== build win64"
build win64 "${win64_targets[@]}" || { echo "build win64 failed"; failed=$((failed + 1)); }

echo "== native tests"
(cd build/native && ctest --output-on-failure -j"$jobs") | tee build/native.test.log | tail -n 3
count_ctest build/native.test.log

# The Wine suites run side by side, the 32-bit one (the shipped build, under emulation, the longer) two
# tests at a time. Tests that run together each have a Wine of their own (prefix and server, see
# scripts/wine-run.sh): in one Wine they would share the desktop and the input, and one test's keys would
# reach another's window.
echo "== Wine tests: the shipped 32-bit build (emulated); end-to-end scripts on its 64-bit twin"
# Each Wine's server and its system processes stay up for the whole run: a test then starts in well under
# a second rather than four under emulation, and never meets a server that is just shutting down.
. scripts/wine-env.sh
wine_servers() {  # -p (start, persistent) or -k (stop)
  local bits slot
  for bits in 32 64; do
    for slot in 1 2; do
      [ "$bits" = 64 ] && [ "$slot" = 2 ] && continue
      lumisk_wine_env "$bits" null "$slot"
      /usr/lib/wine/wineserver "$1" 2>/dev/null || true
    done
  done
}
wine_servers -p
(cd build/win32 && LUMISK_WINE_SLOTS=2 ctest --output-on-failure -j2 >../win32.test.log 2>&1) &
wine32_tests=$!
(cd build/win64 && ctest --output-on-failure -j1 "${win64_tests[@]}" >../win64.test.log 2>&1)
wait "$wine32_tests"
wine_servers -k
for bits in 32 64; do
  echo "-- $bits-bit"
  log=build/win$bits.test.log
  grep -E '(Failed|\*\*\*|Not Run|Timeout)' "$log" | grep -E '^ *[0-9]+/[0-9]+ Test' || true
  tail -n 3 "$log"
  count_ctest "$log"
done

echo "== shipped 32-bit plug-in"
if bash scripts/check-dll.sh build/win32/lumisk.oqx; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzzing (short run)"
  if bash scripts/fuzz.sh "${LUMISK_FUZZ_SECONDS:-15}"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
fi

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
