#!/bin/bash
# check-imports.sh FILE [EXTRA.DLL ...]: fails when a 32-bit deliverable imports a
# DLL outside the system set (plus the extras named) or a function that
# Windows 95/98 do not have (tools/win95-refused.txt).
set -u
file=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
allowed="KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL SHELL32.DLL OLE32.DLL COMCTL32.DLL COMDLG32.DLL MSVCRT.DLL $*"
dump=$(i686-w64-mingw32-objdump -p "$file") || exit 1
bad=0
dlls=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p')
for d in $dlls; do
  up=$(printf '%s' "$d" | tr a-z A-Z)
  case " $(printf '%s' "$allowed" | tr a-z A-Z) " in
    *" $up "*) ;;
    *) echo "$(basename "$file"): imports from $d, which is not a system DLL"; bad=1 ;;
  esac
done
# Function names: objdump lists them under each DLL as "<hint> <name>" rows.
names=$(printf '%s\n' "$dump" | awk '/^\s*DLL Name:/{on=1;next} on && /^\s*[0-9a-f]+\s+[0-9]+\s+[A-Za-z_]/{print $3} /^$/{ }')
while read -r pat; do
  case "$pat" in ''|'#'*) continue ;; esac
  for n in $names; do
    # shellcheck disable=SC2053
    if [[ $n == $pat ]]; then echo "$(basename "$file"): imports $n, which Windows 95/98 lack"; bad=1; fi
  done
done < "$here/win95-refused.txt"
[ $bad = 0 ] && echo "$(basename "$file"): $(printf '%s\n' $dlls | tr '\n' ' ')ok"
exit $bad
