#!/bin/bash
# The Linux and the Windows mksetup on one project: the same disks, byte for
# byte, and the same summary. The Windows program is the 32-bit one, run by
# Wine's 32-bit half (under qemu) in a prefix of its own. Neither is told
# where the installer's files are: dist/linux/mksetup finds dist/win32, and
# mksetup.exe takes its own folder, dist/win32. The times in the archive
# come from the files, in UTC: a second Linux run and the Windows run are
# in a time zone 5:30 east of it (a POSIX rule, no zone files needed). Then a
# --best package (Linux only: mksetup.exe refuses the option, saying so)
# unpacked by the 32-bit UNPACK32.DLL, byte for byte.
# Usage: same-output.sh <dist/linux/mksetup> <dist/win32/mksetup.exe> <work folder> <unpack_host.exe>
set -eu
mk=$(realpath -m "$1") exe=$(realpath -m "$2") work=$(realpath -m "$3") host=$(realpath -m "$4")
here=$(cd "$(dirname "$0")" && pwd)
win() { printf 'Z:%s' "$1" | tr / '\\'; }
[ -x "$mk" ] || { echo "no $mk: make build makes it"; exit 1; }
rm -rf "$work"
"$here/sample-project.sh" "$work/project" "$exe"
printf 'An author\x27s own disk 1 note.\r\n' > "$work/project/disk1/note.txt"
TZ=UTC0 "$mk" --uninstaller --disk 720K "$work/project" "$work/linux" > "$work/linux.txt" 2>&1
TZ=IST-5:30 "$mk" --uninstaller --disk 720K "$work/project" "$work/linux-tz" > /dev/null 2>&1
diff -r "$work/linux" "$work/linux-tz"
export TZ=IST-5:30
export WINEPREFIX; WINEPREFIX=$(dirname "$work")/wineprefix32
export WINE32_QEMU=1
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT  # this prefix's server ends with the test
"$here/../wine/winerun.sh" "$exe" --uninstaller --disk 720K "$(win "$work/project")" "$(win "$work/windows")" |
  tr -d '\r' > "$work/windows.txt"
diff -r "$work/linux" "$work/windows"
diff "$work/linux.txt" "$work/windows.txt"
echo "same disks and summary: $(grep -m1 "disks\? of" "$work/linux.txt")"

set +e
"$here/../wine/winerun.sh" "$exe" --best "$(win "$work/project")" "$(win "$work/nobest")" 2>&1 | tr -d '\r' > "$work/nobest.txt"
set -e
grep -q -- "--best: this build has no exhaustive encoder; use the Linux build of mksetup for it" "$work/nobest.txt" ||
  { cat "$work/nobest.txt"; echo "mksetup.exe --best: no clear refusal"; exit 1; }
[ ! -e "$work/nobest" ] || { echo "mksetup.exe --best wrote disks"; exit 1; }
"$mk" --uninstaller --best "$work/project" "$work/best" >/dev/null
for d in $(ls -d "$work"/best/disk* | sort -V -r); do cat "$d"/package.*; done > "$work/best.zip"
mkdir -p "$work/host" "$work/unpacked"
cp "$host" "$(dirname "$exe")/UNPACK32.DLL" "$work/host/"
"$here/../wine/winerun.sh" "$work/host/$(basename "$host")" "$(win "$work/best.zip")" "$(win "$work/unpacked")"
for f in "$work"/project/*; do
  if [ -f "$f" ]; then cmp "$f" "$work/unpacked/$(basename "$f")"; fi
done
cmp "$(dirname "$exe")/qfunin.exe" "$work/unpacked/qfunin.exe"
echo "--best package unpacked by the 32-bit UNPACK32.DLL: $(ls "$work/unpacked" | wc -l) files, byte for byte"
