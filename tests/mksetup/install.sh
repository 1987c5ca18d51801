#!/bin/bash
# A package made by mksetup, three 1.44 MB disks, installed through the wizard
# from drive A: under Wine: once from the disk folders, once from the FAT12
# images of the same project packed with --best, their files taken out by mtools.
# Usage: install.sh <mksetup> <dist/win64> <kwdemo.exe> <test program> <work folder>
set -eu
mk=$1 dist=$2 demo=$3 exe=$4 work=$5
here=$(cd "$(dirname "$0")" && pwd)
win() { printf 'Z:%s' "$1" | tr / '\\'; }
[ -x "$mk" ] || { echo "no $mk: make build makes it"; exit 1; }
rm -rf "$work"
"$here/sample-project.sh" "$work/project" "$demo"
"$mk" --bin "$dist" --uninstaller "$work/project" "$work/out"
"$mk" --bin "$dist" --uninstaller --best --images "$work/project" "$work/best"
for o in out best; do
  disks=$(cd "$work/$o" && ls -d disk? | wc -l)
  [ "$disks" = 3 ] || { echo "$o: expected three disks, got $disks"; exit 1; }
done
for n in 1 2 3; do
  mkdir -p "$work/images/disk$n"
  mcopy -n -m -i "$work/best/disk$n.img" '::*' "$work/images/disk$n/"
done
export KW_PROJECT; KW_PROJECT=$(win "$work/project")
for from in out images; do
  echo "== from $from"
  KW_PACKAGE=$(win "$work/$from") "$here/../wine/winerun.sh" "$exe"
done
