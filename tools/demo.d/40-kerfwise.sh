#!/bin/bash
# The splitter as the shell's right-click entry starts it: kerfwise.exe with a
# file on its command line slices it with the stored settings (here: "1.44",
# into a folder of its own) and ends by itself; the joiner copy beside the
# slices (<base>s.exe) then rebuilds the file, and the bytes are compared.
set -eu
. "$(dirname "$0")/../demo-env.sh"
work=$(mktemp -d /tmp/kwcmd.XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir "$work/prog" "$work/slices"
cp "$root/dist/win64/kerfwise.exe" "$root/dist/win64/unkerf.exe" "$work/prog/"
head -c 3000000 /dev/urandom > "$work/Annual Report.doc"

key='HKLM\SOFTWARE\Quillfen\Kerfwise'
set_value() { "$run" reg add "$key" /v "$1" /d "$2" /f >/dev/null; }
set_value path "$(win "$work")"
set_value format 1.44
set_value cdir false
set_value fdir false
set_value tdir true
set_value tdirp "$(win "$work/slices")"
set_value delfile false
set_value delcat false

echo "kerfwise.exe $(win "$work/Annual Report.doc")   (unquoted: the arguments are joined)"
"$run" "$work/prog/kerfwise.exe" $(win "$work/Annual Report.doc")
echo "slices at 1.44 in the slice path:"
(cd "$work/slices" && for f in *; do printf '  %-22s %9s\n' "$f" "$(stat -c %s "$f")"; done)
echo "Annual Report.sss:"; sed 's/\r$//; s/^/  /' "$work/slices/Annual Report.sss"
[ -e "$work/slices/Annual Reports.bat" ] || echo "(no batch file: the slice list path holds a space)"

"$run" "$work/slices/Annual Reports.exe" /q
if cmp -s "$work/Annual Report.doc" "$work/slices/Annual Report.doc"; then
  echo "Annual Reports.exe rebuilt Annual Report.doc: the bytes match"
else
  echo "Annual Reports.exe did not rebuild Annual Report.doc"; exit 1
fi
