#!/bin/bash
# make fuzz: runs every libFuzzer target of the native build in turn, one
# process at a time, growing its corpus in fuzz/corpus/<target>/ and then
# minimising it there. One line per target: runs, runs a second, coverage
# (edges, and features in brackets) when it started and when it ended, the
# corpus kept, findings. A finding stops the whole run with its reproducer in
# fuzz/findings/<target>/ and the command that replays it.
#   tools/fuzz.sh [BUILD]    BUILD: the build folder (default build)
#   FUZZ_S      seconds per target (default 600)
#   FUZZ_RUNS   also stop a target after this many runs
#   FUZZ_ONLY   an extended regex: only the targets whose names match
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
nat=$(cd "${1:-build}" && pwd)/native
list=$(ls "$nat"/fuzz-targets/* 2>/dev/null | sort)
[ -n "$list" ] || { echo "no fuzz targets in $nat (clang build?)" >&2; exit 1; }
mkdir -p "$nat/fuzz-logs"

# "cov: 812 ft: 2100" from the last libFuzzer line that holds a tag.
cov() { grep -E "^#[0-9]+[[:space:]]+$1 " "$2" | tail -1 | sed -nE 's/.* cov: ([0-9]+) ft: ([0-9]+).*/\1 (\2)/p'; }
stat() { sed -nE "s/^stat::$1:[[:space:]]*([0-9]+).*/\1/p" "$2" | tail -1; }

for f in $list; do
  name=$(basename "$f")
  if [ -n "${FUZZ_ONLY:-}" ] && ! echo "$name" | grep -qE "$FUZZ_ONLY"; then continue; fi
  bin=$(sed -n 's/^bin=//p' "$f")
  dict=$(sed -n 's/^dict=//p' "$f")
  corpus=$src/fuzz/corpus/$name
  found=$src/fuzz/findings/$name
  mkdir -p "$corpus" "$found"
  # The corpus first: libFuzzer adds what it finds to the first folder.
  seeds=$(for d in $(sed -n 's/^seeds=//p' "$f"); do [ -d "$d" ] && [ "$d" != "$corpus" ] && echo "$d"; done)
  args=(-max_total_time="${FUZZ_S:-600}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$found/")
  [ -n "${FUZZ_RUNS:-}" ] && args+=(-runs="$FUZZ_RUNS")
  [ -n "$dict" ] && args+=(-dict="$dict")
  log=$nat/fuzz-logs/$name.log
  "$bin" "${args[@]}" "$corpus" $seeds >"$log" 2>&1
  rc=$?

  # Minimised in place: what adds no coverage goes.
  tmp=$(mktemp -d)
  if "$bin" -merge=1 "$tmp" "$corpus" >"$log.merge" 2>&1; then
    find "$corpus" -maxdepth 1 -type f -delete
    mv "$tmp"/* "$corpus"/ 2>/dev/null
  fi
  rm -rf "$tmp"
  files=$(find "$corpus" -maxdepth 1 -type f | wc -l)
  kib=$(find "$corpus" -maxdepth 1 -type f -printf '%s\n' | awk '{ s += $1 } END { print int((s + 1023) / 1024) }')

  artifact=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$log" | tail -1)
  printf '%-22s runs %10s  runs/s %7s  cov %s -> %s  corpus %s files %s KiB  findings %s\n' "$name" \
    "$(stat number_of_executed_units "$log")" "$(stat average_exec_per_sec "$log")" \
    "$(cov INITED "$log")" "$(cov '[A-Z]+' "$log")" "$files" "$kib" "$([ $rc = 0 ] && echo 0 || echo 1)"
  if [ $rc != 0 ]; then
    grep -E "^(==[0-9]+==)?ERROR|^SUMMARY|deadly signal|timeout|out-of-memory" "$log" | head -5
    echo "finding in $name (log $log); reproducer: ${artifact:-none written}"
    [ -n "$artifact" ] && echo "replay: $bin $artifact" &&
      echo "once mended, keep it as a regression seed: mv $artifact $src/fuzz/regress/$name/"
    exit 1
  fi
done
