#!/usr/bin/env bash
# Runs one end-to-end script: the stand-in host loads the built plug-in under Wine (headless), follows
# the script and writes a transcript, which must equal the expected one line for line. Lines starting
# with "time " hold measured times: they are shown, not compared.
#
#   run-e2e.sh HOST PLUGIN SCRIPT EXPECTED WORKFOLDER
#
# LUMISK_E2E_PRELOAD, when set, holds libraries (Unix paths separated by ":") that the host loads before
# the plug-in, in that order.
set -uo pipefail
if [ $# -ne 5 ]; then
  echo "usage: run-e2e.sh HOST PLUGIN SCRIPT EXPECTED WORKFOLDER" >&2
  exit 2
fi
host=$1 plugin=$2 script=$3 expected=$4 work=$5
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

. "$root/scripts/wine-env.sh"

script_w=$(lumisk_windows_path "$script")
plugin_w=$(lumisk_windows_path "$plugin")
data_w=$(lumisk_windows_path "$root/tests/e2e")
expected=$(realpath "$expected")
preload=()
IFS=: read -r -a libraries <<<"${LUMISK_E2E_PRELOAD:-}"
for library in "${libraries[@]}"; do
  [ -n "$library" ] && preload+=(--preload "$(lumisk_windows_path "$library")")
done
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
"$root/scripts/wine-run.sh" "$host" "${preload[@]}" --script "$script_w" --plugin "$plugin_w" --data "$data_w" --timeout 240 \
  >transcript.txt 2>stderr.txt
status=$?

grep -a '^time ' transcript.txt
grep -av '^time ' transcript.txt >actual.txt
if ! diff -u "$expected" actual.txt; then
  echo "e2e: the transcript differs from $expected (work folder $work)"
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "e2e: the host ended with status $status"
  cat stderr.txt
  exit 1
fi
echo "e2e: $(basename "$script" .txt) as expected"
