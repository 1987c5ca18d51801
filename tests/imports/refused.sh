#!/bin/sh
# refused.sh CHECK CRT_PROBE LATE_PROBE: the import check fails each probe for
# the right reasons, and lets MSVCRT.DLL through only when it is named.
check=$1 crt=$2 late=$3
fail() { echo "FAIL: $*"; exit 1; }
out=$("$check" "$crt") && fail "a program importing MSVCRT.DLL passed: $out"
echo "$out" | grep -qi 'imports from msvcrt.dll, a C or C++ runtime DLL' || fail "no C runtime message: $out"
"$check" "$crt" MSVCRT.DLL >/dev/null || fail "MSVCRT.DLL named as allowed, still refused"
out=$("$check" "$late") && fail "later COMCTL32/SHELL32/SHLWAPI passed: $out"
for want in 'SHLWAPI.dll, which Windows 95 lacks' 'imports InitCommonControlsEx' 'imports SHGetSpecialFolderPathA'; do
  echo "$out" | grep -qi "$want" || fail "missing '$want' in: $out"
done
echo "$out" | grep -qi 'msvcrt' && fail "the project's runtime still imports MSVCRT.DLL: $out"
echo ok
