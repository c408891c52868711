#!/usr/bin/env bash
# Screenshots of the value dialog in its four forms, the picture file dialog and the clear question, under Xvfb with the
# project's x11 Wine prefix and a Japanese locale. Usage: tests/value/screens.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:?build directory holding tests/value/value_screens.exe}
out=${2:-$root/docs}
exe=$(find "$build" -name value_screens.exe | head -n 1)
[ -n "$exe" ] || { echo "no value_screens.exe under $build"; exit 1; }
mkdir -p "$out"
# A prefix of its own: Wine's system fonts (captions, message boxes) have no Japanese glyphs, so here
# they are replaced by the IPA Gothic font that the Japanese controls already fall back to.
export WINEPREFIX=$root/build/wineprefix-screens WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/.lumisk-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  env -u DISPLAY /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif" "MS UI Gothic"; do
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f >/dev/null 2>&1
  done
  # No window manager runs under Xvfb: Wine draws the title bars itself.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.lumisk-ready"
fi
export LC_ALL=ja_JP.UTF-8
display=:57
Xvfb $display -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
# The first Wine program also starts the Wine server: not in the time of a screenshot.
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 || true
for mode in list size number path picture clear; do
  /usr/lib/wine/wine64 "$exe" $mode &
  app=$!
  sleep 3
  import -window root -trim +repage "$out/value-$mode.png"
  wait $app || true
done
/usr/lib/wine/wineserver -w
echo "screenshots in $out"
