#!/bin/bash
# The installer's start-up: a sample package zipped and cut over three floppy
# disks, setup.exe started from drive A: under Wine, each disk prompt answered
# by changing the disk in the drive, and the wizard's first page photographed
# before Cancel. The picture lands in <build>/demo-setup/.
set -eu
. "$(dirname "$0")/../demo-env.sh"
out=$B/demo-setup
rm -rf "$out"
mkdir -p "$out/pkg" "$out/disks/disk1" "$out/disks/disk2" "$out/disks/disk3"

printf '\\Sample Notes\\\r\nSample Notes\r\nSample Notes 2.1\r\n:INSTALL\r\nnotes.txt\r\n:\r\n' > "$out/pkg/setup.ini"
printf 'Sample Notes keeps short notes.\r\n' > "$out/pkg/readme.txt"
printf 'Use it as you like.\r\n' > "$out/pkg/license.txt"
printf 'Please read the notes before you start.\r\n' > "$out/pkg/copyMott.txt"
head -c 40000 /dev/urandom | base64 > "$out/pkg/notes.txt"
convert -size 104x120 gradient:darkgreen-palegreen BMP3:"$out/pkg/logo.bmp" 2>/dev/null || true
(cd "$out/pkg" && zip -q -X -9 ../notes.zip *)
size=$(stat -c %s "$out/notes.zip")
third=$(( (size + 2) / 3 ))
# Joined last listed first: the archive's first third is the last part.
dd if="$out/notes.zip" of="$out/disks/disk3/notes.3" bs=$third count=1 status=none
dd if="$out/notes.zip" of="$out/disks/disk2/notes.2" bs=$third skip=1 count=1 status=none
dd if="$out/notes.zip" of="$out/disks/disk1/notes.1" bs=$third skip=2 status=none
printf ':PACKAGE\r\nnotes.1\r\nnotes.2\r\nnotes.3\r\n:\r\n' > "$out/disks/disk1/setup.lst"
printf 'Sample Notes Setup\r\nQuillfen demo disks\r\n' > "$out/disks/disk1/copyBrin.txt"
for d in 1 2 3; do echo "disk $d: $(ls "$out/disks/disk$d" | tr '\n' ' ')"; done

"$root/tests/wine/winerun.sh" "$B/win64/tests/setup/setup_demo.exe" \
  "$(win "$out/disks")" "$(win "$out/wizard.bmp")" | tr -d '\r'
convert "$out/wizard.bmp" "$out/wizard.png" 2>/dev/null && rm -f "$out/wizard.bmp"
echo "picture of the wizard's first page: $(ls "$out"/wizard.*)"
