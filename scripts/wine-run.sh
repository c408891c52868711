#!/usr/bin/env bash
# Runs a Windows program headless in the project's own Wine prefix (ctest's cross-compiling emulator).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=$root/build/wineprefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml="
exec /usr/lib/wine/wine64 "$@"
