#!/bin/bash
# Unpacking speed against Info-ZIP's unzip, on a 50 MB archive of mixed files
# (compressible text and random bytes) made by Info-ZIP's zip: the extraction
# core natively (unpackcli, bench build) and UNPACK32.DLL under Wine
# (unpackrun, win64 build). Best of three runs each. Argument: the build folder.
set -eu
cd "$(dirname "$0")/.."
B=$(cd "${1:-build}" && pwd)
W=$B/bench-unpack
cli=$B/bench/unpack/unpackcli
run=$B/win64/unpack/unpackrun.exe
mkdir -p "$W"

if [ ! -f "$W/mixed.zip" ]; then
  rm -rf "$W/src" && mkdir -p "$W/src/text" "$W/src/random"
  for i in $(seq 1 20); do  # 20 x 1.75 MB of text-like lines
    awk -v seed="$i" 'BEGIN { srand(seed); split("the of and to in is was for on that with as by at from install disk setup file folder program window", w, " ");
      while (n < 1835008) { l = sprintf("%06d", int(rand() * 999999)); for (j = 0; j < 10; j++) l = l " " w[1 + int(rand() * 20)]; print l; n += length(l) + 1 } }' \
      > "$W/src/text/t$i.txt"
  done
  for i in $(seq 1 10); do head -c 1500000 /dev/urandom > "$W/src/random/r$i.bin"; done
  (cd "$W/src" && zip -qr ../mixed.zip .)
fi
size=$(du -sm "$W/src" | cut -f1)

now() { date +%s.%N; }
best() {  # best() CMD...: fastest of three wall times, in seconds
  local b=""
  for _ in 1 2 3; do
    rm -rf "$W/out" && mkdir -p "$W/out"
    local t0 t1; t0=$(now); "$@" >/dev/null 2>&1; t1=$(now)
    b=$(echo "$t0 $t1 ${b:-999}" | awk '{ d = $2 - $1; print (d < $3 ? d : $3) }')
  done
  echo "$b"
}
ratio() { echo "$1 $2" | awk '{ printf "%.2f", $1 / $2 }'; }

unzip_t=$(best unzip -qo "$W/mixed.zip" -d "$W/out")
core_t=$(best "$cli" -d -o "$W/mixed.zip" "$W/out")
diff -r "$W/src" "$W/out" >/dev/null && ok=identical || ok=DIFFERENT
echo "unpack: ${size} MB of mixed files, $(du -m "$W/mixed.zip" | cut -f1) MB archive"
printf 'unpack native: core %.3f s, unzip %.3f s, unzip/core %s (output %s)\n' "$core_t" "$unzip_t" "$(ratio "$unzip_t" "$core_t")" "$ok"

if [ -x "$run" ] && [ -f "$B/win64/unpack/UNPACK32.DLL" ]; then
  export WINEPREFIX=$B/win64/wineprefix
  zw="Z:$(echo "$W/mixed.zip" | tr / '\\')"
  ow="Z:$(echo "$W/out" | tr / '\\')"
  dll_ms=999999
  for _ in 1 2 3; do
    rm -rf "$W/out" && mkdir -p "$W/out"
    ms=$(tests/wine/winerun.sh "$run" "$zw" "$ow" | sed -n 's/^unpackrun: \([0-9]*\) ms.*/\1/p')
    [ -n "$ms" ] && [ "$ms" -lt "$dll_ms" ] && dll_ms=$ms
  done
  diff -r "$W/src" "$W/out" >/dev/null && ok=identical || ok=DIFFERENT
  dll_t=$(echo "$dll_ms" | awk '{ printf "%.3f", $1 / 1000 }')
  printf 'unpack wine64: UNPACK32.DLL %.3f s (inside the call), unzip %.3f s, unzip/DLL %s (output %s)\n' \
    "$dll_t" "$unzip_t" "$(ratio "$unzip_t" "$dll_t")" "$ok"
fi
