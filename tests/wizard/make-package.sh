#!/bin/bash
# Makes the three-disk sample package: the ZIP of the installation files cut
# into kwdemo.1 to kwdemo.3 so that joining them last listed first gives the
# archive back; disk1/ also holds setup.lst and the extra files.
# Usage: make-package.sh <out dir> <kwdemo.exe>
set -eu
src=$(cd "$(dirname "$0")/package" && pwd)
out=$1
exe=$2
rm -rf "$out"
mkdir -p "$out/pkg" "$out/disk1" "$out/disk2" "$out/disk3"
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
for f in setup.ini license.txt readme.txt copyMott.txt; do crlf "$src/$f" "$out/pkg/$f"; done
cp "$exe" "$out/pkg/kwdemo.ex_"
convert -size 104x120 gradient:navy-deepskyblue BMP3:"$out/pkg/logo.bmp" 2>/dev/null || true
(cd "$out/pkg" && zip -q -X -9 ../kwdemo.zip *)
size=$(stat -c %s "$out/kwdemo.zip")
third=$(( (size + 2) / 3 ))
# The archive's first third is the last part, on disk 3.
dd if="$out/kwdemo.zip" of="$out/disk3/kwdemo.3" bs=$third count=1 status=none
dd if="$out/kwdemo.zip" of="$out/disk2/kwdemo.2" bs=$third skip=1 count=1 status=none
dd if="$out/kwdemo.zip" of="$out/disk1/kwdemo.1" bs=$third skip=2 status=none
crlf "$src/copyBrin.txt" "$out/disk1/copyBrin.txt"
crlf "$src/extra.txt" "$out/disk1/extra.txt"
printf ':EXTRA\r\nextra.txt\r\n:\r\n:PACKAGE\r\nkwdemo.1\r\nkwdemo.2\r\nkwdemo.3\r\n:\r\n' > "$out/disk1/setup.lst"
