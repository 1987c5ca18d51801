#!/bin/bash
# The sample project in samples/hello made into a floppy set by mksetup as the
# author's guide tells, then installed and removed under Wine.
# Usage: sample.sh <mksetup> <dist/win64> <test program> <work folder>
set -eu
mk=$1 dist=$2 exe=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
sample=$(cd "$here/../../samples/hello" && pwd)
win() { printf 'Z:%s' "$1" | tr / '\\'; }
[ -x "$mk" ] || { echo "no $mk: make build makes it"; exit 1; }
rm -rf "$work"
"$mk" --bin "$dist" --uninstaller "$sample" "$work/out"
KW_SAMPLE=$(win "$sample") KW_PACKAGE=$(win "$work/out") "$here/../wine/winerun.sh" "$exe"
