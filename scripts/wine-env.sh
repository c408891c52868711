# Sourced by the scripts that run Windows programs: which Wine runs what, in which of the project's own
# prefixes. Never the user's default prefix; never a prompt to install Mono or Gecko.
#
#   lumisk_wine_env BITS [DRIVER] [SLOT]
#                                   exports WINEPREFIX and the rest for the Wine of BITS (64 or 32) with
#                                   the graphics DRIVER null (headless, the default) or x11, and sets $wine
#                                   to the loader to run programs with. SLOT 2, 3... names a second, third...
#                                   prefix of the same kind, for programs that run side by side
#   lumisk_pe_bits FILE             prints 32 for a PE i386 program or library, 64 for any other
#   lumisk_windows_path PATH        prints PATH as the programs under Wine see it (the Unix root is Z:)
#
# The 64-bit Wine is the system's wine64. The 32-bit one is the i386 loader emulated by qemu-i386 in the
# folder that scripts/setup.sh prepares (build/wine32); it needs WINELOADERNOEXEC, or the loader tries to
# exec itself, which these kernels refuse.
lumisk_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

lumisk_wine_env() {
  local bits=$1 driver=${2:-null} slot=${3:-1} suffix=
  [ "$bits" = 32 ] && suffix=32
  [ "$driver" = x11 ] && suffix+=-x11
  [ "$slot" = 1 ] || suffix+=-$slot
  export WINEPREFIX=$lumisk_root/build/wineprefix$suffix WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  if [ "$bits" = 32 ]; then
    export WINEARCH=win32 WINELOADERNOEXEC=1
    wine=$lumisk_root/build/wine32/lib/wine/wine
  else
    export WINEARCH=win64
    unset WINELOADERNOEXEC
    wine=/usr/lib/wine/wine64
  fi
}

lumisk_pe_bits() {
  local header machine
  header=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -t x2 -j $((${header:-0} + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  if [ "$machine" = 14c ] || [ "$machine" = 014c ]; then echo 32; else echo 64; fi
}

lumisk_windows_path() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}
