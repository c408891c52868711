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
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its Windows locale from LC_ALL by name, but the code page of Unix file names from the C
# library: without the ja_JP.UTF-8 locale compiled, a Wine run with LC_ALL=ja_JP.UTF-8 cannot name a
# file with a Japanese character.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: compiling the ja_JP.UTF-8 locale"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# Wine prefixes of the project's own: "null" runs headless (tests), "x11" draws on a display (the
# product, screenshots). Never the user's default prefix; never a prompt to install Mono or Gecko.
make_prefix() {
  local prefix=$1 driver=$2
  [ -f "$prefix/.lumisk-ready" ] && return 0
  echo "setup: creating Wine prefix $prefix"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  env -u DISPLAY /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  if [ "$driver" = null ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  fi
  /usr/lib/wine/wineserver -w
  touch "$prefix/.lumisk-ready"
}
make_prefix "$root/build/wineprefix" null
make_prefix "$root/build/wineprefix-x11" x11
