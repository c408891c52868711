#!/usr/bin/env bash
# Runs Lumisk: builds the 64-bit Windows build and starts the stand-in host with the plug-in and the
# example designs under wine64. With --32 it runs the shipped 32-bit build instead, in the emulated
# 32-bit Wine: the same, only slower.
#
# With a display ($DISPLAY set) the host opens one window per pad: right-click a pad for the plug-in
# menu; closing the last pad ends the plug-in, which then writes its INI file. Without a display the host
# runs its demo under Xvfb and the screenshots it takes are printed at the end.
#
# The designs live in build/run/lumisk.ini, copied from examples/ with their wallpapers when it is not
# there yet (delete it to start again from the examples); build/run/sample.dsg is a design file to import.
# The pads keep their looks between runs in build/run/orbiqa-sim.ini, the host's own file (delete it for
# the pads as they first start).
# LUMISK_BUILD_DIR chooses another build folder (default build/win64, with --32 build/win32),
# LUMISK_WINEPREFIX another Wine prefix for the windows (default build/wineprefix-x11, with --32
# build/wineprefix32-x11), LUMISK_DEMO_DIR another folder for the demo's pictures (default build/demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bits=64
if [ "${1:-}" = --32 ]; then bits=32; fi
bash scripts/setup.sh
. scripts/wine-env.sh
. scripts/build-env.sh
build=${LUMISK_BUILD_DIR:-build/win$bits}
# Only what runs: the plug-in and the host (scripts/test.sh builds everything).
lumisk_build "win$bits" "$build" "$(nproc)" run lumisk orbiqa-sim

lumisk_wine_env "$bits" x11
WINEPREFIX=$(realpath -m "${LUMISK_WINEPREFIX:-$WINEPREFIX}")
# Wine's menu and caption font (Tahoma) falls back to "MS UI Gothic" for Japanese, which Linux lacks:
# without this the plug-in menu shows empty boxes. IPA P Gothic comes with fonts-ipafont-gothic.
replacements='HKCU\Software\Wine\Fonts\Replacements'
if [ ! -f "$WINEPREFIX/.lumisk-ready" ]; then  # a prefix of the caller's own: made like setup.sh makes one
  mkdir -p "$WINEPREFIX"
  env -u DISPLAY "$wine" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.lumisk-ready"
fi
if ! "$wine" reg query "$replacements" /v 'MS UI Gothic' >/dev/null 2>&1; then
  "$wine" reg add "$replacements" /v 'MS UI Gothic' /d 'IPAPGothic' /f >/dev/null 2>&1
fi
host=$root/$build/orbiqa-sim.exe
plugin=$(lumisk_windows_path "$root/$build/lumisk.oqx")

if [ -n "${DISPLAY:-}" ]; then
  mkdir -p build/run
  [ -f build/run/lumisk.ini ] || cp examples/lumisk.ini build/run/lumisk.ini
  [ -f build/run/sample.dsg ] || cp examples/sample.dsg build/run/sample.dsg
  for wall in examples/*.bmp; do [ -f "build/run/${wall##*/}" ] || cp "$wall" build/run/; done
  echo "run: designs in build/run/lumisk.ini; right-click a pad for the plug-in menu"
  cd build/run
  status=0
  "$wine" "$host" --plugin "$plugin" --ini "$(lumisk_windows_path lumisk.ini)" || status=$?
  /usr/lib/wine/wineserver -w
  exit $status
fi

# No display: the demo under Xvfb, in a fresh copy of the examples. The host says "demo: shot NAME" when a
# picture is due and waits for shot-NAME.done.
demo=$(realpath -m "${LUMISK_DEMO_DIR:-$root/build/demo}")
rm -rf "$demo"
mkdir -p "$demo"
cp examples/lumisk.ini examples/sample.dsg examples/*.bmp "$demo/"
cat >"$demo/demo.sh" <<'DEMO'
#!/usr/bin/env bash
# Runs inside xvfb-run: the host's transcript is read line by line and each picture taken when asked for.
set -uo pipefail
demo=$1 host=$2 plugin=$3 ini=$4 wine=$5
cd "$demo"
# Wine draws the windows' frames itself only on a desktop of its own: Xvfb has no window manager.
"$wine" explorer /desktop=lumisk,1280x800 "$host" --plugin "$plugin" --ini "$ini" --demo 2>"$demo/host.err" |
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$demo/transcript.txt"
    case $line in
      "demo: shot "*)
        name=${line#demo: shot }
        name=${name%$'\r'}
        import -window root "$demo/$name.png"
        touch "$demo/shot-$name.done"
        echo "$demo/$name.png"
        ;;
    esac
  done
/usr/lib/wine/wineserver -w
DEMO
echo "run: no display; running the demo under Xvfb"
LC_ALL=${LUMISK_DEMO_LOCALE:-ja_JP.UTF-8} xvfb-run -a -s "-screen 0 1280x800x24" \
  bash "$demo/demo.sh" "$demo" "$host" "$plugin" "$(lumisk_windows_path "$demo/lumisk.ini")" "$wine"
echo "run: screenshots above; the host's transcript is $demo/transcript.txt"
