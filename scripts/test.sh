#!/usr/bin/env bash
# Runs every test of Lumisk: installs what is missing, builds the three builds, runs the native unit
# tests, the Wine tests and end-to-end scripts on the shipped 32-bit build (emulated 32-bit Wine) and on
# its 64-bit twin (wine64), the checks of the shipped plug-in's file and a short fuzzing run. Ends with
# one line counting all tests: "tests: N passed, N failed".
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

build() {  # preset
  if [ ! -f "build/$1/CMakeCache.txt" ]; then
    cmake --preset "$1" >"build/$1.configure.log" 2>&1 || { cat "build/$1.configure.log"; return 1; }
  fi
  cmake --build "build/$1" -j"$jobs" >"build/$1.build.log" 2>&1 || { tail -n 60 "build/$1.build.log"; return 1; }
}

mkdir -p build
for preset in native win64 win32; do
  echo "== build $preset"
  build "$preset" || { echo "build $preset failed"; failed=$((failed + 1)); }
done

echo "== native tests"
(cd build/native && ctest --output-on-failure -j"$jobs") | tee build/native.test.log | tail -n 3
count_ctest build/native.test.log

# The Wine suites run side by side, the 32-bit one (the shipped build, under emulation, the longer) two
# tests at a time. Tests that run together each have a Wine of their own (prefix and server, see
# scripts/wine-run.sh): in one Wine they would share the desktop and the input, and one test's keys would
# reach another's window.
echo "== Wine tests: the shipped 32-bit build (emulated) and its 64-bit twin"
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
(cd build/win64 && ctest --output-on-failure -j1 >../win64.test.log 2>&1)
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
