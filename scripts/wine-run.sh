#!/usr/bin/env bash
# Runs a Windows program headless in the project's own Wine prefix (ctest's cross-compiling emulator):
# a 32-bit program in the emulated 32-bit Wine, any other in wine64. The program's output is passed on
# when it has ended: the Wine system processes that its start may bring up (services, explorer) inherit
# its standard handles and can outlive it by the whole run; given files rather than the caller's pipes,
# they never keep a caller such as ctest waiting.
#
# LUMISK_WINE_SLOTS=N lets up to N programs of one kind run side by side, each in a prefix of its own:
# the processes of one Wine share its desktop, foreground window and input, and the keys and clicks of
# one test would land in the window of another. Each program takes the first free prefix (a lock file
# beside it says which are taken) and keeps it until it ends.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/wine-env.sh"
bits=$(lumisk_pe_bits "$1")
slots=${LUMISK_WINE_SLOTS:-1}
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
err=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'cat "$out"; cat "$err" >&2; rm -f "$out" "$err"' EXIT
busy=199
while :; do
  for slot in $(seq 1 "$slots"); do
    lumisk_wine_env "$bits" null "$slot"
    if [ "$slots" -le 1 ]; then
      "$wine" "$@" </dev/null >"$out" 2>"$err"
      exit
    fi
    flock --nonblock --close --conflict-exit-code $busy "$WINEPREFIX.lock" "$wine" "$@" </dev/null >"$out" 2>"$err"
    status=$?
    [ $status -eq $busy ] || exit $status
  done
  sleep 0.2
done
