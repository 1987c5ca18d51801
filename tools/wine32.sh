#!/bin/bash
# Lets 32-bit Windows programs run on this 64-bit-only kernel: Wine's 32-bit
# half under qemu 10 (Debian 12's own qemu 7.2 turns Wine's address-space
# reservation into a minute of CPU per process), behind a gate that opens only
# for WINE32_QEMU=1. Idempotent; root. Quiet when all is there.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

src=/etc/apt/sources.list.d/backports.sources
updated=0
if [ ! -f "$src" ]; then
  uri=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri" >"$src"
  apt-get update -qq >/dev/null
  updated=1
fi
qv=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
case "$qv" in
  1:[1-9][0-9].*) ;;
  *) echo "installing: qemu-user-static (backports)"
     apt-get install -y -qq -t bookworm-backports --no-install-recommends qemu-user-static >/dev/null ;;
esac
if ! installed wine32:i386; then
  echo "installing: wine32:i386"
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; updated=0; }
  [ "$updated" = 1 ] || apt-get update -qq >/dev/null
  apt-get install -y -qq --no-remove --no-install-recommends wine32:i386 >/dev/null
fi

gate=/usr/local/bin/qemu-i386-gate
if [ ! -x "$gate" ] || [ "$here/qemu-i386-gate.c" -nt "$gate" ]; then
  gcc -O2 -static -o "$gate" "$here/qemu-i386-gate.c"
fi
bf=/proc/sys/fs/binfmt_misc
mountpoint -q $bf || mount -t binfmt_misc binfmt_misc $bf
# qemu's own package may have registered qemu for i386 ungated: replace that.
if [ -e $bf/qemu-i386 ] && ! grep -qx "interpreter $gate" $bf/qemu-i386; then
  echo -1 >$bf/qemu-i386
fi
if [ ! -e $bf/qemu-i386 ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/local/bin/qemu-i386-gate:F' >$bf/register
fi
