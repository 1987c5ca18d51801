#!/bin/bash
# Two packages made by mksetup with the default part names, for the disk-fault
# roads: the sample project ("ours", three disks) and another project whose
# parts are named alike ("other").
# Usage: disk-faults.sh <mksetup> <dist/win64> <kwdemo.exe> <folder>
set -eu
mk=$1 dist=$2 demo=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$mk" ] || { echo "no $mk: make build makes it"; exit 1; }
rm -rf "$out"
"$here/sample-project.sh" "$out/project" "$demo"
"$here/sample-project.sh" "$out/other-project" "$demo"
"$mk" --bin "$dist" --uninstaller "$out/project" "$out/ours"
"$mk" --bin "$dist" --uninstaller "$out/other-project" "$out/other"
[ -f "$out/ours/disk3/package.3" ] && [ -f "$out/other/disk2/package.2" ] || { echo "expected three disks each"; exit 1; }
