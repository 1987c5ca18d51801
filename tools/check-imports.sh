#!/bin/bash
# check-imports.sh FILE [EXTRA.DLL ...]: fails when a 32-bit deliverable imports a
# DLL outside the system set (plus the extras named), a C runtime DLL (a bare
# Windows 95 has none), or a function that Windows 95/98 do not have
# (tools/win95-refused.txt).
set -u
file=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
allowed=" $(printf '%s ' KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL SHELL32.DLL OLE32.DLL COMCTL32.DLL COMDLG32.DLL "$@" | tr a-z A-Z)"
dump=$(i686-w64-mingw32-objdump -p "$file") || exit 1
bad=0
name=$(basename "$file")
dlls=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p')
for d in $dlls; do
  up=$(printf '%s' "$d" | tr a-z A-Z)
  case "$allowed" in *" $up "*) continue ;; esac
  case "$up" in
    MSVCRT*|MSVCR*|MSVCP*|CRTDLL*|UCRT*|API-MS-*|VCRUNTIME*|LIBGCC*|LIBSTDC++*|LIBWINPTHREAD*)
      echo "$name: imports from $d, a C or C++ runtime DLL that a bare Windows 95 lacks" ;;
    SHLWAPI*) echo "$name: imports from $d, which Windows 95 lacks (it came with later browsers)" ;;
    *) echo "$name: imports from $d, which is not a system DLL" ;;
  esac
  bad=1
done
# Function names: objdump lists them under each DLL as "<hint> <name>" rows.
names=$(printf '%s\n' "$dump" | awk '/^[ \t]*DLL Name:/{on=1;next} on && /^[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/{print $3}')
while read -r pat; do
  case "$pat" in ''|'#'*) continue ;; esac
  for n in $names; do
    # shellcheck disable=SC2053
    if [[ $n == $pat ]]; then echo "$name: imports $n, which Windows 95 lacks"; bad=1; fi
  done
done < "$here/win95-refused.txt"
[ $bad = 0 ] && echo "$name: $(printf '%s\n' $dlls | tr '\n' ' ')ok"
exit $bad
