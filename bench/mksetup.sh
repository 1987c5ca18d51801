#!/bin/bash
# Package building against what an author would otherwise do by hand: a 10 MB
# project of mixed files (text, program-like bytes, random data) made into
# 1.44 MB floppies by mksetup (verification included) and by `zip -9 -r` plus
# `split`. Best of three runs each; prints the time ratio and the archive size
# ratio. Argument: the build folder.
set -eu
cd "$(dirname "$0")/.."
B=$(cd "${1:-build}" && pwd)
W=$B/bench-mksetup
mk=$B/bench/mksetup/mksetup
[ -x "$mk" ] || { echo "mksetup: no $mk (make bench builds it)"; exit 1; }
mkdir -p "$W"

if [ ! -f "$W/project/setup.ini" ]; then
  rm -rf "$W/project" "$W/bin" && mkdir -p "$W/project" "$W/bin"
  for i in $(seq 1 12); do  # 12 x 0.5 MB of text-like lines
    awk -v seed="$i" 'BEGIN { srand(seed); split("the of and to in is was for on that with as by at from install disk setup file folder program window", w, " ");
      while (n < 524288) { l = sprintf("%06d", int(rand() * 999999)); for (j = 0; j < 10; j++) l = l " " w[1 + int(rand() * 20)]; print l; n += length(l) + 1 } }' \
      > "$W/project/doc$i.txt"
  done
  # Program-like bytes: the project's own objects and libraries, as found.
  find "$B/native" -name '*.a' -size +100k | sort | head -8 | while read -r f; do head -c 400000 "$f"; done > "$W/project/program.ex_"
  for i in 1 2; do head -c 1000000 /dev/urandom > "$W/project/media$i.dat"; done
  { printf '\\Bench\r\nBench\r\nBench 1.0\r\n:INSTALL\r\n'
    (cd "$W/project" && ls | grep -v setup.ini | sed 's/$/\r/')
    printf ':\r\n'; } > "$W/project/setup.ini"
  head -c 174592 /dev/urandom > "$W/bin/setup.exe"
  head -c 121344 /dev/urandom > "$W/bin/UNPACK32.DLL"
fi
size=$(du -sb "$W/project" | cut -f1)

now() { date +%s.%N; }
best() {  # best() CMD...: fastest of three wall times, in seconds
  local b=""
  for _ in 1 2 3; do
    rm -rf "$W/out" "$W/zip" && mkdir -p "$W/zip"
    local t0 t1; t0=$(now); "$@" >/dev/null; t1=$(now)
    b=$(echo "$t0 $t1 ${b:-999}" | awk '{ d = $2 - $1; print (d < $3 ? d : $3) }')
  done
  echo "$b"
}
zipsplit() { (cd "$W/project" && zip -q -9 -r -X "$W/zip/all.zip" .) && split -b 1457664 -d "$W/zip/all.zip" "$W/zip/part."; }

mk_t=$(best "$mk" --bin "$W/bin" "$W/project" "$W/out")
zip_t=$(best zipsplit)
"$mk" --bin "$W/bin" "$W/project" "$W/out" >/dev/null
ours=$(cat "$W"/out/disk*/package.* | wc -c)
theirs=$(stat -c %s "$W/zip/all.zip")
echo "mksetup: $(echo "$size" | awk '{ printf "%.1f", $1 / 1048576 }') MB project, $(ls -d "$W"/out/disk* | wc -l) disks"
printf 'mksetup: %.3f s (verification included), zip -9 -r + split %.3f s, time ratio mksetup/zip %s (goal <= 1.20)\n' \
  "$mk_t" "$zip_t" "$(echo "$mk_t $zip_t" | awk '{ printf "%.2f", $1 / $2 }')"
printf 'mksetup: archive %d bytes, zip -9 %d bytes, size ratio %s (goal <= 1.01)\n' \
  "$ours" "$theirs" "$(echo "$ours $theirs" | awk '{ printf "%.4f", $1 / $2 }')"
