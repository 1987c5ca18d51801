#!/bin/bash
# Runs a Windows program under wine64 for the tests: a project-local prefix made
# once, an Xvfb display for windows, and one wineserver kept for the whole run.
# Drive A: is $WINEPREFIX/drive_a, a folder the tests fill and empty as disks.
#
# 32-bit mode (WINE32_QEMU=1): the prefix gets Wine's 32-bit half (under qemu)
# when it is made, and its windows go to a display of their own (KW_DISPLAY32,
# default KW_DISPLAY + 100), so that a 32-bit road and a 64-bit test running at
# once never cover each other's windows. The UI kit tells the programs under
# test their Windows version (KW_WINVER); with KW_MSVCRT=disabled it runs them
# from a copy of dist/win32 in which they find no C runtime DLL.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe="
export DISPLAY=${KW_DISPLAY:-:77}
if [ "${WINE32_QEMU:-}" = 1 ]; then
  export DISPLAY=${KW_DISPLAY32:-:$(( ${DISPLAY#:} + 100 ))}
  export KW_MSVCRT=${KW_MSVCRT:-disabled}
fi
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
num=${DISPLAY#:}
if ! [ -S /tmp/.X11-unix/X$num ] || ! xdpyinfo >/dev/null 2>&1; then
  rm -f /tmp/.X$num-lock /tmp/.X11-unix/X$num
  setsid Xvfb "$DISPLAY" -screen 0 ${KW_SCREEN:-800x600x24} -nolisten tcp </dev/null >/dev/null 2>&1 &
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
  # No window manager runs on the test display: unmanaged windows spare Wine a
  # 2 s wait for one each time a window is hidden.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  "$server" -w
fi
mkdir -p "$WINEPREFIX/drive_a"
[ -L "$WINEPREFIX/dosdevices/a:" ] || ln -sfn ../drive_a "$WINEPREFIX/dosdevices/a:"
# Keep one server across the tests of a run; `make test` stops it at the end.
setsid "$server" -p </dev/null >/dev/null 2>&1
flock -u 9
# Output goes through a file: services and the desktop process that Wine starts
# inherit it and outlive the program, and would hold a pipe open.
out=$(mktemp)
"$wine" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
# A program that fails without a word was ended from outside or never ran:
# say how it ended, so that the failure can be told from one of the test's.
[ $rc = 0 ] || [ -s "$out" ] || echo "winerun.sh: $1 printed nothing and ended with exit code $rc"
rm -f "$out"
exit $rc
