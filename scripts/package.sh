#!/usr/bin/env bash
# Makes the release package build/lumisk-VERSION.zip: the shipped 32-bit lumisk.oqx, the example designs
# and the Japanese installation guide (code page 932, CRLF, as a Japanese Windows reads it).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
[ -f build/win32/CMakeCache.txt ] || cmake --preset win32 >/dev/null
cmake --build build/win32 -j"$(nproc)" --target lumisk >/dev/null
bash scripts/check-dll.sh build/win32/lumisk.oqx >/dev/null

version=$(sed -n 's/^project(Lumisk VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=build/package/lumisk-$version
rm -rf build/package
mkdir -p "$stage/examples"
cp build/win32/lumisk.oqx "$stage/"
for f in examples/*; do
  case "$f" in *.dsg|*.ini|*.bmp) cp "$f" "$stage/examples/" ;; esac
done
iconv -f UTF-8 -t CP932 docs/release/README.ja.txt | sed 's/$/\r/' >"$stage/README.txt"
(cd build/package && rm -f "../lumisk-$version.zip" && zip -qr "../lumisk-$version.zip" "lumisk-$version")
echo "build/lumisk-$version.zip"
