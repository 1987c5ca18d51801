#!/bin/bash
# Package building against what an author would otherwise do by hand: a 10 MB
# project of mixed files (text, program-like bytes, random data) made into
# 1.44 MB floppies by mksetup (verification included) and by `zip -9 -r` plus
# `split`. Best of three runs each; prints the time ratio and the archive size
# ratio. Then --best, the exhaustive encoder, on that project and on two of
# plain text and program files: its time against the default's, its archive
# against zip -9's, and the disks each takes. Argument: the build folder.
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

# Two projects of plain text and program files. "shipped": a program as it
# goes out, the project's built programs with plain-text documents beside them
# (its guides, the licence texts Debian keeps). "sources": this tree's 400-odd
# small sources and its programs; there the archive's own headers and the
# little a small file leaves to gain bound any deflate encoder near 0.967.
mkproject() {  # mkproject NAME: the folder's files are already there
  { printf '\\%s\r\n%s\r\n%s 1.0\r\n:INSTALL\r\n' "$1" "$1" "$1"
    (cd "$W/$1" && ls | grep -v '^setup.ini$' | sed 's/$/\r/')
    printf ':\r\n'; } > "$W/setup.tmp"
  mv "$W/setup.tmp" "$W/$1/setup.ini"
}
programs() {  # programs DIR: the built programs of both builds, as found
  for f in dist/win32/*.exe dist/win32/*.dll dist/win64/*.exe dist/win64/*.dll; do
    [ -f "$f" ] && cp "$f" "$1/$(basename "$(dirname "$f")")_$(basename "$f")"
  done
}
if [ ! -f "$W/shipped/setup.ini" ]; then
  rm -rf "$W/shipped" && mkdir -p "$W/shipped"
  programs "$W/shipped"
  cp README.md "$W/shipped/overview.txt"
  for f in docs/*.md; do cp "$f" "$W/shipped/$(basename "$f" .md).txt"; done
  for f in /usr/share/common-licenses/*; do [ -L "$f" ] || cp "$f" "$W/shipped/$(basename "$f").txt"; done
  mkproject shipped
fi
if [ ! -f "$W/sources/setup.ini" ]; then
  rm -rf "$W/sources" && mkdir -p "$W/sources"
  git ls-files '*.cpp' '*.h' '*.md' '*.sh' '*.txt' '*.cmake' | grep -v '^fuzz/' |
    while read -r f; do cp "$f" "$W/sources/$(echo "$f" | tr / _)"; done
  programs "$W/sources"
  mkproject sources
fi
rm -rf "$W/project2"
secs() { local t0 t1; t0=$(now); "$@" >/dev/null; t1=$(now); echo "$t0 $t1" | awk '{ print $2 - $1 }'; }
zipsize() { rm -f "$W/z.zip"; (cd "$1" && zip -q -9 -r -X "$W/z.zip" .); stat -c %s "$W/z.zip"; }
packed() { cat "$1"/disk*/package.* | wc -c; }
for proj in project shipped sources; do
  rm -rf "$W/def" "$W/best"
  def_t=$(best "$mk" --bin "$W/bin" "$W/$proj" "$W/def")
  "$mk" --bin "$W/bin" "$W/$proj" "$W/def" >/dev/null
  best_t=$(secs "$mk" --best --bin "$W/bin" "$W/$proj" "$W/best")
  z=$(zipsize "$W/$proj")
  printf 'mksetup --best (%s, %.1f MB): %.2f s against the default %.3f s, time ratio %s (goal <= 30)\n' "$proj" \
    "$(du -sb "$W/$proj" | awk '{ print $1 / 1048576 }')" "$best_t" "$def_t" "$(echo "$best_t $def_t" | awk '{ printf "%.1f", $1 / $2 }')"
  printf 'mksetup --best (%s): archive %d bytes, default %d, zip -9 %d, size ratio --best/zip %s (goal <= 0.965), default/zip %s; disks: default %d, --best %d\n' \
    "$proj" "$(packed "$W/best")" "$(packed "$W/def")" "$z" \
    "$(echo "$(packed "$W/best") $z" | awk '{ printf "%.4f", $1 / $2 }')" "$(echo "$(packed "$W/def") $z" | awk '{ printf "%.4f", $1 / $2 }')" \
    "$(ls -d "$W"/def/disk* | wc -l)" "$(ls -d "$W"/best/disk* | wc -l)"
done
