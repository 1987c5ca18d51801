#!/bin/bash
# Installs what the builds and tests need on a fresh Debian machine; quiet when all is there.
set -eu
pkgs="cmake ninja-build clang libclang-rt-14-dev g++ make binutils-mingw-w64 g++-mingw-w64-i686-win32
      g++-mingw-w64-x86-64-posix libz-mingw-w64-dev zlib1g-dev googletest
      wine64 xvfb x11-utils zip unzip imagemagick"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
# wine64 only: the 32-bit loader cannot start on this kernel.
apt-get install -y -qq --no-install-recommends $missing >/dev/null
