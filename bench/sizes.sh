#!/bin/bash
# Sizes of the shipped 32-bit programs (stripped, as in dist/win32) against
# their budgets: setup.exe and UNPACK32.DLL sit together on disk 1. Then what
# each holds beyond a 486 (tools/check-cpu.sh), and where it comes from.
# Usage: bench/sizes.sh [BUILD_DIR]   (make bench B=BUILD_DIR)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
B=$(cd "${1:-build}" && pwd)
dist=$root/dist/win32
size() { stat -c %s "$dist/$1"; }
verdict() { [ "$1" -le "$2" ] && echo "within" || echo "OVER"; }
echo "sizes of dist/win32 (bytes):"
for f in setup.exe UNPACK32.DLL kerfwise.exe kerfwise.dll unkerf.exe; do
  [ -f "$dist/$f" ] && printf '  %-14s %8d\n' "$f" "$(size "$f")"
done
pair=$(( $(size setup.exe) + $(size UNPACK32.DLL) ))
printf '  setup.exe + UNPACK32.DLL: %d of %d (220 KB): %s\n' "$pair" 225280 "$(verdict "$pair" 225280)"
printf '  kerfwise.exe: %d of %d (120 KB): %s\n' "$(size kerfwise.exe)" 122880 "$(verdict "$(size kerfwise.exe)" 122880)"
"$root/tools/check-cpu.sh" -m "$B/win32/maps" "$dist" | sed 's/^/  /' || true
