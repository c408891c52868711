#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang with ASan and UBSan), replays every saved finding in
# fuzz/regressions/<target>/, then fuzzes each target for the given number of seconds on one core, starting
# from the seeds in fuzz/corpus/<target>/. Ends with "fuzz: 4 targets, N executions, N findings" and exits
# non-zero when a regression fails again or fuzzing finds a new input that breaks a property.
#
#   scripts/fuzz.sh            20 s per target, under two minutes in all (the short run of the test command)
#   scripts/fuzz.sh 600        a long run: 10 minutes per target
#   LUMISK_FUZZ_BUILD=build/my-fuzz scripts/fuzz.sh 600    another build directory (default build/fuzz)
#   LUMISK_FUZZ_JOBS=1         build jobs (default 2)
#
# What the fuzzer learns is kept in <build>/fuzz-corpus/<target>/ (the seed folders are only read), so a
# later run goes on from there. A finding is saved as <build>/fuzz-findings/<target>/crash-*: reproduce it
# with `<build>/fuzz/<target> <file>`, fix the fault, and keep the file in fuzz/regressions/<target>/.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

seconds=${1:-20}
build=${LUMISK_FUZZ_BUILD:-build/fuzz}
targets=(fuzz_roundtrip fuzz_batched fuzz_integer fuzz_menu)

. scripts/build-env.sh
lumisk_build fuzz "$build" "${LUMISK_FUZZ_JOBS:-2}" fuzz "${targets[@]}"

total_execs=0
findings=0
for target in "${targets[@]}"; do
  bin=$build/fuzz/$target
  regressions=fuzz/regressions/$target
  work=$build/fuzz-corpus/$target
  out=$build/fuzz-findings/$target
  log=$build/fuzz-logs/$target.log
  mkdir -p "$work" "$out" "$(dirname "$log")"

  # Saved findings first: each file runs once and must pass.
  replayed=0
  if compgen -G "$regressions/*" >/dev/null; then
    replayed=$(find "$regressions" -type f | wc -l)
    if ! "$bin" -runs=0 $(find "$regressions" -type f | sort) >"$log.regressions" 2>&1; then
      echo "$target: a saved regression fails again:"
      grep -E 'Running:|property violated|ERROR:|SUMMARY' "$log.regressions" | tail -n 8
      findings=$((findings + 1))
      continue
    fi
  fi

  dict=()
  [ -f "fuzz/${target#fuzz_}.dict" ] && dict=(-dict="fuzz/${target#fuzz_}.dict")
  # fuzz_batched reads the same design files as fuzz_roundtrip: the same tokens and seeds serve both.
  [ "$target" = fuzz_batched ] && dict=(-dict=fuzz/roundtrip.dict)
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/" "${dict[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
  execs=${execs:-0}
  total_execs=$((total_execs + execs))
  if [ "$rc" -ne 0 ]; then
    findings=$((findings + 1))
    echo "$target: $execs executions, FINDING (log $log):"
    grep -E 'property violated|ERROR:|SUMMARY|Test unit written' "$log" | tail -n 6
  else
    echo "$target: $execs executions in ${seconds}s, $replayed regressions replayed, corpus $(find "$work" -type f | wc -l) inputs"
  fi
done

echo "fuzz: ${#targets[@]} targets, $total_execs executions, $findings findings"
[ "$findings" -eq 0 ]
