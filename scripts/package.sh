#!/usr/bin/env bash
# Makes the release package build/lumisk-VERSION.zip: the shipped 32-bit lumisk.oqx, stripped, the example
# designs and the Japanese installation guide (code page 932, CRLF, as a Japanese Windows reads it).
# What the strip takes out (symbols, and the line tables that the shipped build is compiled with) stays in
# build/lumisk-VERSION-debug/lumisk.oqx.debug, which the shipped file names in its debug link. An offset
# in lumisk.oqx from a user's crash report reads as function and line with
#   i686-w64-mingw32-addr2line -f -e build/lumisk-VERSION-debug/lumisk.oqx.debug ADDRESS
# where ADDRESS is the offset plus the image base (i686-w64-mingw32-objdump -p lumisk.oqx | grep ImageBase).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
. scripts/build-env.sh
lumisk_build win32 build/win32 "$(nproc)" package lumisk
bash scripts/check-dll.sh build/win32/lumisk.oqx >/dev/null

version=$(sed -n 's/^project(Lumisk VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=build/package/lumisk-$version
rm -rf build/package
mkdir -p "$stage/examples"
debug=build/lumisk-$version-debug
rm -rf "$debug"
mkdir -p "$debug"
i686-w64-mingw32-objcopy --only-keep-debug build/win32/lumisk.oqx "$debug/lumisk.oqx.debug"
i686-w64-mingw32-objcopy --strip-all build/win32/lumisk.oqx "$stage/lumisk.oqx"
(cd "$debug" && i686-w64-mingw32-objcopy --add-gnu-debuglink=lumisk.oqx.debug "$root/$stage/lumisk.oqx")
bash scripts/check-dll.sh "$stage/lumisk.oqx" >/dev/null
for f in examples/*; do
  case "$f" in *.dsg|*.ini|*.bmp) cp "$f" "$stage/examples/" ;; esac
done
iconv -f UTF-8 -t CP932 docs/release/README.ja.txt | sed 's/$/\r/' >"$stage/README.txt"
(cd build/package && rm -f "../lumisk-$version.zip" && zip -qr "../lumisk-$version.zip" "lumisk-$version")
echo "build/lumisk-$version.zip"
echo "$debug/lumisk.oqx.debug"
