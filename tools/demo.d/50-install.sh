#!/bin/bash
# The installer as a user meets it: the sample project made by mksetup into
# three 1.44 MB floppies (disk folders and FAT12 images), setup.exe started
# from drive A: under Wine (on $DISPLAY when there is one, else Xvfb), the disk
# prompts answered by swapping the drive's contents, the five wizard pages
# walked and Finish pressed; the program started at "run now?" is waited for,
# then what was installed is listed and removed again as a user does, through
# the uninstall entry's own command (qfunin.exe). Pictures of the pages land
# in <build>/demo-install.
set -euo pipefail
. "$(dirname "$0")/../demo-env.sh"
shots=$B/demo-install
pkg=$B/demo-package
rm -rf "$shots" "$pkg"
"$root/tests/mksetup/sample-project.sh" "$pkg/project" "$B/win64/tests/wizard/kwdemo.exe"
echo "mksetup --uninstaller --images $pkg/project $pkg/disks"
"$root/dist/linux/mksetup" --bin "$root/dist/win64" --uninstaller --images "$pkg/project" "$pkg/disks" 2>&1 | sed 's/^/  /'
"$root/tests/wine/winerun.sh" "$B/win64/tests/wizard/wizard_demo.exe" \
  'C:\Program Files\Kerf Demo' "$(win "$shots")" "$(win "$pkg/disks")" | tr -d '\r'
for f in "$shots"/*.bmp; do convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f "$f"; done
echo "pictures of the pages: $(cd "$shots" && ls | tr '\n' ' ')"
# The uninstaller the package put in the Windows folder goes too.
rm -f "$WINEPREFIX/drive_c/windows/qfunin.exe"
