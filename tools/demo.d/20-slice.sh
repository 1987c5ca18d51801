#!/bin/bash
# The splitter's engine under Wine: a 3,000,000-byte file cut at "1.44" into
# floppy-sized slices with its slice list, batch file and joiner copy; then the
# joiner copy (unkerf.exe as REPORTs.exe) rebuilds the file from the slices.
set -eu
. "$(dirname "$0")/../demo-env.sh"
work=$(mktemp -d /tmp/kwdemo.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The driver finds unkerf.exe in its own folder, as the splitter does.
cp "$B/win64/tests/slicing/kwslice.exe" "$B/win64/joiner/unkerf.exe" "$work/"
head -c 3000000 /dev/urandom > "$work/REPORT.DOC"
mkdir "$work/disk"
"$run" "$work/kwslice.exe" 1.44 "$(win "$work/disk")" "$(win "$work/REPORT.DOC")"
echo "slices of REPORT.DOC (3,000,000 bytes) at 1.44:"
(cd "$work/disk" && ls -l --time-style=+ | sed 1d | awk '{printf "  %-12s %9s\n", $NF, $5}')
echo "REPORT.sss:"; sed 's/\r$//; s/^/  /' "$work/disk/REPORT.sss"
echo "REPORTs.bat:"; sed 's/\r$//; s/^/  /' "$work/disk/REPORTs.bat"
echo "REPORT.ssc (CRC-32 and size of the file and of each slice, checked by the joiner):"
sed 's/\r$//; s/^/  /' "$work/disk/REPORT.ssc"

"$run" "$work/disk/REPORTs.exe" /q
if cmp -s "$work/REPORT.DOC" "$work/disk/REPORT.DOC"; then
  echo "REPORTs.exe rebuilt REPORT.DOC: the bytes match"
else
  echo "REPORTs.exe did not rebuild REPORT.DOC"; exit 1
fi
