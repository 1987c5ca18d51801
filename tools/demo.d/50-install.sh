#!/bin/bash
# The installer as a user meets it: the sample package cut over three floppy
# disks, setup.exe started from drive A: under Wine (on $DISPLAY when there is
# one, else Xvfb), the disk prompts answered by swapping the drive's contents,
# the five wizard pages walked and Finish pressed; then what was installed is
# listed and removed again. Pictures of the pages land in <build>/demo-install.
set -euo pipefail
. "$(dirname "$0")/../demo-env.sh"
shots=$B/demo-install
rm -rf "$shots"
"$root/tests/wizard/make-package.sh" "$B/win64/tests/wizard/package" "$B/win64/tests/wizard/kwdemo.exe"
echo "three disks:"
for d in 1 2 3; do
  echo "  disk $d: $(ls "$B/win64/tests/wizard/package/disk$d" | tr '\n' ' ')"
done
"$root/tests/wine/winerun.sh" "$B/win64/tests/wizard/wizard_demo.exe" \
  'C:\Program Files\Kerf Demo' "$(win "$shots")" | tr -d '\r'
for f in "$shots"/*.bmp; do convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f "$f"; done
echo "pictures of the pages: $(cd "$shots" && ls | tr '\n' ' ')"
