#!/bin/bash
# make-sample.sh OUTDIR: the sample package, made with Info-ZIP's zip from the
# files beside this script plus a block of random bytes: OUTDIR/zipsample/
# (the files) and OUTDIR/sample.zip (deflated entries, the random block
# stored, folder entries).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1
rm -rf "$out/zipsample" "$out/sample.zip"
mkdir -p "$out"
cp -r "$here/sample" "$out/zipsample"
mkdir -p "$out/zipsample/bin"
head -c 20000 /dev/urandom > "$out/zipsample/bin/noise.bin"
cd "$out/zipsample"
zip -qr ../sample.zip . -x bin/noise.bin
zip -q0 ../sample.zip bin/noise.bin
