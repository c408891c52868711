#!/usr/bin/env bash
# Checks that the shipped plug-in is what a stock 32-bit Windows loads: a PE i386 DLL importing only system
# DLLs, with the seven plain-named exports at ordinals 7 down to 1, and none of the test machinery.
set -uo pipefail
dll=${1:-build/win32/lumisk.oqx}
fail() { echo "check-dll: $*"; exit 1; }
[ -f "$dll" ] || fail "$dll does not exist"
dump=$(i686-w64-mingw32-objdump -p "$dll") || fail "objdump cannot read $dll"
grep -q 'file format pei-i386' <<<"$dump" || fail "not a PE i386 file"
grep -qE 'Characteristics .*' <<<"$dump" && grep -q 'DLL' <<<"$dump" || fail "not a DLL"
bad=$(sed -n 's/.*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' |
  grep -v -x -E 'kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|shlwapi.dll|advapi32.dll|msvcrt.dll|ole32.dll|uxtheme.dll|api-ms-win-.*')
[ -z "$bad" ] || fail "imports non-system DLLs: $bad"
# The export table lists "[ index] name", the ordinal being the index plus the ordinal base.
base=$(sed -n 's/^Ordinal Base[[:space:]]*\([0-9]*\).*/\1/p' <<<"$dump" | head -n 1)
[ -n "$base" ] || fail "no export table"
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n -E 's/^[[:space:]]*\[ *([0-9]+)\] ([^ ]+)$/\1 \2/p' |
  while read -r index name; do echo "$((index + base)) $name"; done | sort -n)
expected=$'1 OQXMenuClick\n2 OQXGetMenu\n3 OQXEndPlugin\n4 OQXBeginPlugin\n5 OQXSetInitFile\n6 OQXGetExplanation\n7 OQXGetName'
[ "$exports" = "$expected" ] || fail "exports differ from the seven plain names at ordinals 7..1:
$exports"
# The live-object counters, the probe export and the throw points belong to the test builds only. The
# symbols are seen while the DLL keeps its symbol table; the throw points' variable name in any case.
machinery=$(i686-w64-mingw32-nm "$dll" 2>/dev/null | grep -E 'GuiCounters|LumiskLiveGuiObjects|throwPoint')
[ -z "$machinery" ] || fail "test machinery in the product:
$machinery"
if LC_ALL=C grep -q -a -P 'L\x00U\x00M\x00I\x00S\x00K\x00_\x00T\x00H\x00R\x00O\x00W\x00' "$dll"; then
  fail "throw points in the product (LUMISK_THROW)"
fi
echo "check-dll: $dll is a PE i386 DLL, imports only system DLLs, exports the seven entry points at ordinals 7..1, holds no test machinery"
