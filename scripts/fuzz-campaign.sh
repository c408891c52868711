#!/usr/bin/env bash
# The long fuzzing campaign: runs each libFuzzer target (ASan + UBSan) for a number of executions on one
# core, growing the corpus kept in <build>/fuzz-corpus/<target>/, and prints per target the executions,
# the time taken, the rate and the findings. Run it on a quiet machine; it takes hours for fuzz_roundtrip.
#
#   scripts/fuzz-campaign.sh                       10 million executions for every target
#   scripts/fuzz-campaign.sh 2000000 fuzz_menu     two million for one target
#   LUMISK_FUZZ_BUILD=build/my-fuzz                another build directory (default build/fuzz)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-10000000}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_integer fuzz_menu fuzz_roundtrip fuzz_batched)
build=${LUMISK_FUZZ_BUILD:-build/fuzz}

. scripts/build-env.sh
lumisk_build fuzz "$build" "${LUMISK_FUZZ_JOBS:-2}" fuzz "${targets[@]}"

findings=0
for target in "${targets[@]}"; do
  work=$build/fuzz-corpus/$target out=$build/fuzz-findings/$target log=$build/fuzz-logs/campaign-$target.log
  mkdir -p "$work" "$out" "$(dirname "$log")"
  dict=()
  [ -f "fuzz/${target#fuzz_}.dict" ] && dict=(-dict="fuzz/${target#fuzz_}.dict")
  [ "$target" = fuzz_batched ] && dict=(-dict=fuzz/roundtrip.dict)
  start=$(date +%s)
  "$build/fuzz/$target" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/" "${dict[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  seconds=$(( $(date +%s) - start ))
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
  execs=${execs:-0}
  if [ "$rc" -ne 0 ]; then
    findings=$((findings + 1))
    echo "$target: FINDING after $execs executions (log $log)"
    grep -E 'property violated|ERROR:|SUMMARY|Test unit written' "$log" | tail -n 6
  else
    echo "$target: $execs executions in ${seconds}s ($((execs / (seconds > 0 ? seconds : 1))) per second), 0 findings, corpus $(find "$work" -type f | wc -l) inputs"
  fi
done
[ "$findings" -eq 0 ]
