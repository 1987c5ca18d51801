#!/bin/bash
# Slicing speed: a 1 GiB file cut at "1.44" by our engine (native, and the
# win64 build under Wine) against GNU split into the same slice size and a
# plain cat copy, all on the same file in the same run; and what the check
# values (a CRC-32 of every slice and of the file) add, against the same
# engine without them.
# Usage: bench/slice.sh BUILD_DIR   (make bench B=BUILD_DIR)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
B=$(cd "${1:-build}" && pwd)
native=$B/bench/tests/slicing/kwslice
win=$B/win64/tests/slicing/kwslice.exe
MiB=${KW_BENCH_MIB:-1024}
work=$(mktemp -d /tmp/kwbench.XXXXXX)
trap 'rm -rf "$work"' EXIT
head -c $((MiB * 1048576)) /dev/urandom > "$work/big.bin"
mkdir "$work/out"

TIMEFORMAT=%R
# Best of five; the output folder is emptied before each pass.
best() {
  local b=
  for _ in 1 2 3 4 5; do
    rm -rf "$work/out"/* "$work/copy"
    t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    if [ -z "$b" ] || awk "BEGIN{exit !($t < $b)}"; then b=$t; fi
  done
  echo "$b"
}

t_ours=$(best "$native" 1.44 "$work/out" "$work/big.bin")
t_bare=$(best "$native" --no-check 1.44 "$work/out" "$work/big.bin")
n_ours=$(ls "$work/out" | grep -c '\.s[0-9]' || true)
t_split=$(best split -b 1441792 "$work/big.bin" "$work/out/x")
t_cat=$(best sh -c "cat '$work/big.bin' > '$work/copy'")
t_wine=
if [ -x "$win" ] || [ -f "$win" ]; then
  export WINEPREFIX=$B/win64/wineprefix
  wout=$(printf 'Z:%s' "$work/out" | tr / '\\')
  wbig=$(printf 'Z:%s' "$work/big.bin" | tr / '\\')
  "$root/tests/wine/winerun.sh" "$win" 1.44 "$wout" "$wbig" >/dev/null 2>&1 || true  # warm the prefix
  t_wine=$(best "$root/tests/wine/winerun.sh" "$win" 1.44 "$wout" "$wbig")
fi

# Memory stays flat whatever the size: the peak of one native run.
rss=
if [ -x /usr/bin/time ]; then
  rm -rf "$work/out"/*
  rss=$(/usr/bin/time -f %M "$native" 1.44 "$work/out" "$work/big.bin" 2>&1 >/dev/null | tail -1)
fi

ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }
added() { awk "BEGIN{printf \"%+.1f%%\", ($1 / $2 - 1) * 100}"; }
echo "slice: ${MiB} MiB at 1.44 ($n_ours slices), best of 5, seconds"
printf '  %-22s %7s  %s\n' "kerfwise (native)" "$t_ours" "x$(ratio "$t_ours" "$t_split") of split, check values $(added "$t_ours" "$t_bare")"
printf '  %-22s %7s  %s\n' "  without check values" "$t_bare" "x$(ratio "$t_bare" "$t_split") of split"
[ -n "$t_wine" ] && printf '  %-22s %7s  %s\n' "kerfwise (win64, Wine)" "$t_wine" "x$(ratio "$t_wine" "$t_split") of split"
printf '  %-22s %7s\n' "split -b 1441792" "$t_split"
printf '  %-22s %7s  %s\n' "cat > copy" "$t_cat" "x$(ratio "$t_cat" "$t_split") of split"
[ -n "$rss" ] && echo "  peak memory of the native run: $((rss / 1024)) MiB"
exit 0
