#!/usr/bin/env bash
# Runs every test of Lumisk: installs what is missing, builds the three builds, runs the native unit
# tests, the Wine tests (64-bit build of the same sources), the checks of the shipped 32-bit plug-in and a
# short fuzzing run. Ends with one line counting all tests: "tests: N passed, N failed".
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

echo "== Wine tests (wine64)"
# One Wine process at a time: modal dialogs driven by timers lose their race on a loaded machine.
(cd build/win64 && ctest --output-on-failure -j1) | tee build/win64.test.log | tail -n 3
count_ctest build/win64.test.log

echo "== shipped 32-bit plug-in"
if bash scripts/check-dll.sh build/win32/lumisk.oqx; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzzing (short run)"
  if bash scripts/fuzz.sh "${LUMISK_FUZZ_SECONDS:-15}"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
fi

WINEPREFIX=$root/build/wineprefix /usr/lib/wine/wineserver -w 2>/dev/null || true
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
