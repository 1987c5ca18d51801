#!/bin/bash
# Lays out the sample package as an author's project folder for mksetup: the
# wizard's sample texts and setup.ini (with the uninstaller qfunin.exe, to be
# packed by mksetup --uninstaller), the sample program as kwdemo.ex_, the
# files beside the installer in disk1, and 3 MB of data that does not
# compress, so that the package needs three 1.44 MB floppies.
# Usage: sample-project.sh <project folder> <kwdemo.exe>
set -eu
src=$(cd "$(dirname "$0")/../wizard/package" && pwd)
p=$1
rm -rf "$p"
mkdir -p "$p/disk1"
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
for f in license.txt readme.txt copyMott.txt; do crlf "$src/$f" "$p/$f"; done
# The project's own uninstaller (mksetup --uninstaller packs it) in the
# Windows folder, where the uninstall entry looks for it.
sed 's/\r*$/\r/; s/^extra\.txt\r$/extra.txt\r\ndata.bin\r/; s/^kwunin\.exe\r$/qfunin.exe\r/;
     s/^:SHORTCUTS\r$/:WIN\r\nqfunin.exe\r\n:\r\n:SHORTCUTS\r/' "$src/setup.ini" > "$p/setup.ini"
crlf "$src/copyBrin.txt" "$p/disk1/copyBrin.txt"
crlf "$src/extra.txt" "$p/disk1/extra.txt"
cp "$2" "$p/kwdemo.ex_"
head -c 3000000 /dev/urandom > "$p/data.bin"
convert -size 104x120 gradient:navy-deepskyblue BMP3:"$p/logo.bmp" 2>/dev/null || true
