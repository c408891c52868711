#!/usr/bin/env bash
# Keeps the layers: every folder includes only what lies below it (README, "Architecture"). Prints each
# include that points up or across, with its file and line, and fails if there is one.
#
#   store/    the portable design store: no platform header, nothing of the project above it
#   plugin/   the portable plug-in core: store/ only, no platform header
#   win32/    the Win32 side of the core's interfaces and the thin controls: store/ only
#   editor/   the editor window: store/, plugin/ (never PlugFunc.h, the plug-in itself), win32/
#   dll/      the composition root: everything above
#   host/     the stand-in host (its core; script/, pads/), a program of its own: store/ and win32/
#   checker/  the design checker tool: store/ and win32/
# Tests, fuzzers and benchmarks may include anything.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

platform='windows|win[a-z0-9]*|commctrl|commdlg|shellapi|shlobj|objbase|unistd|io|direct|sys/[a-z_]+'
declare -A forbidden=(
  [store]="\"(plugin|win32|editor|dll|host|checker|tests)/|<($platform)\.h>"
  [plugin]="\"(win32|editor|dll|host|checker|tests)/|<($platform)\.h>"
  [win32]="\"(plugin|editor|dll|host|checker|tests)/"
  [editor]="\"(dll|host|checker|tests)/|\"plugin/PlugFunc\.h\""
  [dll]="\"(host|checker|tests)/"
  [host]="\"(plugin|editor|dll|checker|tests)/"
  [checker]="\"(plugin|editor|dll|host|tests)/"
)

bad=0
for folder in store plugin win32 editor dll host checker; do
  [ -d "$folder" ] || { echo "check-layers: folder $folder/ is missing"; bad=1; continue; }
  hits=$(grep -rnE --include='*.h' --include='*.cpp' --include='*.rc' --include='*.rc.in' \
    "^[[:space:]]*#[[:space:]]*include[[:space:]]*(${forbidden[$folder]})" "$folder")
  if [ -n "$hits" ]; then
    echo "check-layers: $folder/ includes what lies above or beside it:"
    sed 's/^/  /' <<<"$hits"
    bad=1
  fi
done
[ "$bad" = 0 ] && echo "check-layers: every include points downwards (store, plugin, win32, editor, dll; host, checker)"
exit "$bad"
