#!/bin/bash
# Installs what the builds and tests need on a fresh Debian machine; quiet when all is there.
set -eu
pkgs="cmake ninja-build clang libclang-rt-14-dev g++ make binutils-mingw-w64 g++-mingw-w64-i686-win32
      g++-mingw-w64-x86-64-posix libz-mingw-w64-dev zlib1g-dev googletest
      wine64 xvfb x11-utils zip unzip imagemagick mtools gcc-12-source xz-utils libzopfli-dev locales"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
# Wine's 32-bit half, for running the Windows 95 programs themselves.
"$(dirname "$0")/wine32.sh"
