#!/bin/bash
# Makes a one-disk package that ships the uninstaller in :WIN and a shared
# file in :SYSTEM, beside the wizard sample's texts.
# Usage: make-package.sh <out dir> <kwdemo.exe> <qfunin.exe>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
texts=$here/../wizard/package
out=$1
rm -rf "$out"
mkdir -p "$out/pkg" "$out/disk1"
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
crlf "$here/package/setup.ini" "$out/pkg/setup.ini"
for f in license.txt readme.txt copyMott.txt; do crlf "$texts/$f" "$out/pkg/$f"; done
cp "$2" "$out/pkg/kwdemo.ex_"
cp "$3" "$out/pkg/qfunin.exe"
printf 'A library other programs may use too.\r\n' > "$out/pkg/kwshared.dll"
(cd "$out/pkg" && zip -q -X -9 ../qfdemo.zip *)
cp "$out/qfdemo.zip" "$out/disk1/qfdemo.1"
crlf "$texts/copyBrin.txt" "$out/disk1/copyBrin.txt"
printf ':PACKAGE\r\nqfdemo.1\r\n:\r\n' > "$out/disk1/setup.lst"
