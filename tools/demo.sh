#!/bin/bash
# make demo: runs each piece in tools/demo.d in order, with the build folder.
set -eu
cd "$(dirname "$0")/.."
B=${1:-build}
for s in tools/demo.d/*.sh; do
  [ -x "$s" ] || continue
  echo "== $(basename "$s" .sh)"
  "$s" "$B"
done
