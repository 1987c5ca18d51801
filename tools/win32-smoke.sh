#!/bin/bash
# win32-smoke.sh [BUILD]: starts each dist/win32 program under Wine's 32-bit
# half, each told by Wine that it runs on Windows 95, and checks its basic job:
# kerfwise.exe slices a file from its command line, the joiner it writes
# rebuilds it (and fails on a missing list), kerfwise.dll loads and makes its
# handler, UNPACK32.DLL unpacks with MSVCRT.DLL taken away, and setup.exe
# shows its first wizard page from a package in one folder. A by-hand proof
# (about a minute); the make-test roads are in tests/.
set -u
B=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$root/dist/win32
bin=$root/$B/win32
export WINEPREFIX=$bin/smoke-prefix WINE32_QEMU=1 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe="
export DISPLAY=${KW_DISPLAY:-:77}
wine=/usr/lib/wine/wine64
failed=0
check() { if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=1; fi; }
win() { printf 'Z:%s' "${1//\//\\}"; }
num=${DISPLAY#:}
if ! [ -S /tmp/.X11-unix/X$num ] || ! xdpyinfo >/dev/null 2>&1; then
  setsid Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
# Windows 95 for each program; MSVCRT.DLL taken away where Wine's own DLLs do
# not need it (its ADVAPI32 and USER32 do, so only KERNEL32-only programs).
app() {
  local key="HKCU\\Software\\Wine\\AppDefaults\\$1"
  "$wine" reg add "$key" /v Version /d win95 /f >/dev/null 2>&1
  [ "${2:-}" = nocrt ] && "$wine" reg add "$key\\DllOverrides" /v msvcrt /d "" /f >/dev/null 2>&1
}
for e in kerfwise.exe datas.exe setup.exe shellext_host.exe; do app $e; done
app unpack_host.exe nocrt
app crt_probe.exe nocrt
w=$(mktemp -d "$bin/smoke.XXXX")
cp "$dist"/* "$bin/tests/win32/unpack_host.exe" "$bin/tests/win32/shellext_host.exe" "$w/"
cp "$bin/tests/imports/imports_crt_probe.exe" "$w/crt_probe.exe"
cd "$w" || exit 1

what="a program importing MSVCRT.DLL does not start once it is taken away"
"$wine" ./crt_probe.exe >/dev/null 2>&1
check [ $? -ne 1 ]

mkdir -p in/sub out
head -c 300000 /dev/urandom > in/random.bin
seq 1 40000 > in/sub/numbers.txt
(cd in && zip -q -r -9 ../test.zip random.bin sub)
what="UNPACK32.DLL unpacks with no C runtime DLL in the process"
"$wine" ./unpack_host.exe test.zip "$(win "$w/out")"
check cmp -s in/sub/numbers.txt out/sub/numbers.txt
check cmp -s in/random.bin out/random.bin

head -c 3500000 /dev/urandom > in/data.bin
key='HKLM\SOFTWARE\Quillfen\Kerfwise'
for kv in "path=$(win "$w/in")" "fdirp=A:" "tdir=true" "tdirp=$(win "$w/out")" "format=1.44"; do
  "$wine" reg add "$key" /v "${kv%%=*}" /d "${kv#*=}" /f /reg:32 >/dev/null 2>&1
done
what="kerfwise.exe slices a file named on its command line"
start=$(date +%s.%N)
"$wine" ./kerfwise.exe "$(win "$w/in/data.bin")"
check [ "$(cd out && ls data.* datas.* | tr '\n' ' ')" = "data.s10 data.s11 data.s12 data.sss datas.bat datas.exe " ]
echo "   ($(echo "$(date +%s.%N) - $start" | bc) s)"
what="the joiner rebuilds it byte for byte"
(cd out && "$wine" ./datas.exe /q)
check cmp -s in/data.bin out/data.bin
what="the joiner fails on a missing slice list (an exception thrown and caught)"
(cd out && "$wine" ./datas.exe /q missing.sss)
check [ $? -eq 1 ]

what="kerfwise.dll loads, makes its handler and unloads"
"$wine" ./shellext_host.exe kerfwise.dll
check [ $? -eq 0 ]

"$root/tests/wizard/make-package.sh" "$w/pkg" "$w/unkerf.exe" >/dev/null
mkdir layout
cp pkg/disk1/* pkg/disk2/* pkg/disk3/* setup.exe UNPACK32.DLL layout/
what="setup.exe joins, unpacks and shows its first wizard page"
(cd layout && "$wine" ./setup.exe >/dev/null 2>&1 &)
shown=1
for _ in $(seq 120); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Kerf Demo 1.0": ("setup.exe"'; then shown=0; break; fi
  sleep 0.5
done
check [ $shown = 0 ]
/usr/lib/wine/wineserver -k
cd "$root" && rm -rf "$w"
exit $failed
