#!/usr/bin/env bash
# Installs what building, testing and running Lumisk needs on Debian 12, and creates the project's own
# Wine prefixes under build/. Idempotent, and silent when everything is already there.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(cmake ninja-build g++ clang libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth
          imagemagick fonts-ipafont-gothic googletest libgtest-dev libbenchmark-dev zip locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# The shipped plug-in is 32-bit: its tests need the i386 Wine, from the i386 architecture.
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || missing+=(wine32:i386)
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its Windows locale from LC_ALL by name, but the code page of Unix file names from the C
# library: without the ja_JP.UTF-8 locale compiled, a Wine run with LC_ALL=ja_JP.UTF-8 cannot name a
# file with a Japanese character.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: compiling the ja_JP.UTF-8 locale"
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# The 32-bit Wine. These kernels refuse 32-bit programs ("Exec format error"), so the i386 Wine loader
# runs under qemu-i386, user-mode emulation. Debian 12's own qemu (7.2) takes the fixed-address mapping
# flag for a hint and Wine cannot map its shared user data; the qemu of the backports suite (10) can. It
# is taken from the backports suite into build/ with a private apt configuration: nothing system-wide.
#
# Wine starts every child process (wineboot, services, explorer) as "<its own folder>/wine", the folder
# read from /proc/self/exe, and finds its libraries beside that folder. So the folder build/wine32/lib/wine
# holds the real i386 loader as wine.elf, a "wine" that runs it through qemu, and the native wineserver
# (it serves both kinds of process); the links beside it lead to the installed i386 libraries and data.
wine32=$root/build/wine32
if [ ! -f "$wine32/.lumisk-ready" ]; then
  echo "setup: preparing the emulated 32-bit Wine in $wine32"
  rm -rf "$wine32"
  mkdir -p "$wine32/apt/lists/partial" "$wine32/apt/cache/archives/partial" "$wine32/apt/parts" "$wine32/bin" "$wine32/lib/wine" "$wine32/share"
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  mirror=$(grep -h -E '^[[:space:]]*(URIs:|deb[[:space:]])' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
             /etc/apt/sources.list.d/*.list 2>/dev/null | grep -o -E 'https?://[^ ]+/debian/?' | head -n 1 || true)
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] ${mirror:-http://deb.debian.org/debian} $codename-backports main" \
    >"$wine32/apt/sources.list"
  apt_private=(-o Dir::Etc::sourcelist="$wine32/apt/sources.list" -o Dir::Etc::sourceparts="$wine32/apt/parts" -o Dir::State::status=/dev/null
               -o Dir::State::Lists="$wine32/apt/lists" -o Dir::Cache="$wine32/apt/cache" -o APT::Sandbox::User=root)
  apt-get -qq "${apt_private[@]}" update >/dev/null
  (cd "$wine32/apt" && apt-get -qq "${apt_private[@]}" download "qemu-user/$codename-backports" >/dev/null)
  dpkg-deb -x "$wine32"/apt/qemu-user_*.deb "$wine32/apt/root"
  cp "$wine32/apt/root/usr/bin/qemu-i386" "$wine32/bin/qemu-i386"
  rm -rf "$wine32/apt"
  cp /usr/lib/wine/wine "$wine32/lib/wine/wine.elf"
  ln -s /usr/lib/wine/wineserver "$wine32/lib/wine/wineserver"
  ln -s /usr/lib/i386-linux-gnu "$wine32/lib/i386-linux-gnu"
  ln -s /usr/share/wine "$wine32/share/wine"
  printf '#!/bin/sh\nexec "%s" -0 "%s" "%s" "$@"\n' "$wine32/bin/qemu-i386" "$wine32/lib/wine/wine" \
    "$wine32/lib/wine/wine.elf" >"$wine32/lib/wine/wine"
  chmod +x "$wine32/lib/wine/wine"
  "$wine32/bin/qemu-i386" --version | grep -q 'version 1[0-9]' || { echo "setup: qemu-i386 10 or later needed"; exit 1; }
  touch "$wine32/.lumisk-ready"
fi

# Wine prefixes of the project's own for the tests, one per kind of Wine, headless ("null" graphics
# driver); scripts/run.sh makes the one that draws on a display when it first needs it. A new prefix is
# waited for with "wineserver -w": a program started while its services still come up finds no explorer.
. "$root/scripts/wine-env.sh"
make_prefix() {  # bits driver
  lumisk_wine_env "$1" "$2"
  [ -f "$WINEPREFIX/.lumisk-ready" ] && return 0
  echo "setup: creating Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  env -u DISPLAY "$wine" wineboot -i >/dev/null 2>&1
  if [ "$2" = null ]; then
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  fi
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.lumisk-ready"
}
make_prefix 64 null
make_prefix 32 null
# The 32-bit tests run two at a time (scripts/test.sh), each in a prefix of its own: the second is a copy
# of the first, made in a moment where a new one takes half a minute.
lumisk_wine_env 32 null
first=$WINEPREFIX
lumisk_wine_env 32 null 2
if [ ! -f "$WINEPREFIX/.lumisk-ready" ]; then
  rm -rf "$WINEPREFIX"
  cp -a "$first" "$WINEPREFIX"
fi
