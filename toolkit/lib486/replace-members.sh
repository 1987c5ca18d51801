#!/bin/sh
# replace-members.sh AR IN OUT OBJECT...: OUT is a copy of the archive IN in
# which every member named like one of the objects (…/eh_alloc.cc.obj stands
# for eh_alloc.o) is that object instead. Objects the archive has no member
# for are left out.
set -eu
ar=$1 in=$2 out=$3; shift 3
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
have=$("$ar" t "$in")
for o in "$@"; do
  m=$(basename "$o" .obj); m=${m%.*}.o
  if printf '%s\n' "$have" | grep -qx "$m"; then cp "$o" "$tmp/$m"; fi
done
cp "$in" "$tmp/new.a"
if ls "$tmp"/*.o >/dev/null 2>&1; then "$ar" r "$tmp/new.a" "$tmp"/*.o; fi
mv "$tmp/new.a" "$out"
