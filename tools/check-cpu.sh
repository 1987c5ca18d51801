#!/bin/bash
# check-cpu.sh [-m MAPDIR] FILE|FOLDER...: fails when a 32-bit program or DLL
# holds an instruction that a 486 lacks: CMOV, FCMOV, FCOMI/FUCOMI and the
# long NOP (0F 1F) of the Pentium Pro, RDTSC and CMPXCHG8B of the Pentium, any
# MMX or SSE register or instruction. Windows 95 runs on 486s and on Pentiums
# without MMX, and a program stops with an invalid-instruction fault the
# first time it reaches one. Each find is named by instruction and address,
# and, where MAPDIR/<file name>.map (the linker's map of that very link)
# exists, by function and the object or library member it came from. The map
# also tells code from the data the linker places at the end of .text
# (constructor lists, exception tables), which would otherwise read as random
# instructions. MAPDIR/<file name>.tool marks a program that is not held to
# the 486 (its text says why): its finds are listed, not refused. A folder
# stands for every .exe and .dll in it; a folder with none fails.
set -u
maps=
if [ "${1:-}" = -m ]; then maps=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [-m MAPDIR] FILE|FOLDER..." >&2; exit 2; }
files=()
for a in "$@"; do
  if [ -d "$a" ]; then
    found=$(find "$a" -maxdepth 1 -type f \( -iname '*.exe' -o -iname '*.dll' \) | sort)
    [ -n "$found" ] || { echo "$a: no programs to check"; exit 1; }
    while read -r f; do files+=("$f"); done <<< "$found"
  else
    files+=("$a")
  fi
done
bad=0
for file in "${files[@]}"; do
  name=$(basename "$file")
  map=${maps:+$maps/$name.map}
  tool=
  [ -n "$maps" ] && [ -f "$maps/$name.tool" ] && tool=$(head -1 "$maps/$name.tool")
  dis=$(mktemp)
  i686-w64-mingw32-objdump -d --no-show-raw-insn "$file" > "$dis" || { bad=1; rm -f "$dis"; continue; }
  text=$(i686-w64-mingw32-objdump -h "$file" | awk '$2==".text"{print "0x" $4, "0x" $3}')
  if [ -z "$map" ] || [ ! -f "$map" ]; then
    echo "$name: no link map: every byte of .text read as code, finds named by address only"
    map=/dev/null
  fi
  awk -v name="$name" -v text="$text" -v tool="$tool" '
    function hex(s,   i, n) {
      s = tolower(s); sub(/^0x/, "", s); n = 0
      for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
      return n
    }
    function section(nm, a, sz, obj) {
      if (a + sz > last) last = a + sz
      if (nm !~ /^\.(text|init$|fini$)/ || sz == 0) return
      ns++; s_lo[ns] = a; s_hi[ns] = a + sz; s_name[ns] = nm; s_obj[ns] = obj
    }
    # The map, read first: the input sections of the output section .text,
    # and the symbols in them.
    FILENAME == ARGV[1] {
      if ($0 ~ /^\.text[ \t]/ && $2 ~ /^0x/) { intext = 1; start = hex($2); next }
      if (!intext) next
      if ($0 ~ /^\.[A-Za-z]/) { intext = 0; next }
      if ($0 ~ /^ [^ ]/) {
        pending = ""
        if ($1 ~ /^\*/) next
        if (NF >= 3 && $2 ~ /^0x/) { obj = $0; sub(/^ *[^ ]+ +[^ ]+ +[^ ]+ */, "", obj); section($1, hex($2), hex($3), obj) }
        else pending = $1
        next
      }
      if ($1 !~ /^0x/) next
      if (pending != "") {
        obj = $0; sub(/^ *[^ ]+ +[^ ]+ */, "", obj); section(pending, hex($1), hex($2), obj); pending = ""; next
      }
      if ($2 ~ /^0x/) { if (hex($1) + hex($2) > last) last = hex($1) + hex($2); next }   # LONG, BYTE
      if ($0 ~ / = |PROVIDE/) next
      sym = $0; sub(/^ *[^ ]+ +/, "", sym)
      nsym++; y_at[nsym] = hex($1); y_name[nsym] = sym
      next
    }
    !started {
      started = 1; split(text, t, " ")
      if (ns > 0 && (start != hex(t[1]) || last != start + hex(t[2]))) {
        print name ": its map is not of this file (another .text): checked without it"; ns = -1
      }
    }
    /^ *[0-9a-f]+:\t/ {
      split($0, f, "\t"); at = f[1]; sub(/^ */, "", at); sub(/:$/, "", at)
      ins = f[2]; n = split(ins, w, " ")
      for (i = 1; i < n && w[i] ~ /^(lock|rep|repz|repnz|repe|repne|data16|addr16|cs|ds|es|ss|fs|gs)$/; i++);
      op = w[i]; args = ""; for (j = i + 1; j <= n; j++) args = args w[j]
      if (!(op ~ /^f?cmov/ || op ~ /^fu?comip?$/ || args ~ /%[xyz]?mm[0-9]/ ||
            op ~ /^(emms|femms|rdtscp?|cmpxchg8b|fisttp.*|fxsave|fxrstor|(ld|st)mxcsr|[slm]fence|clflush|movnti|prefetch.*|sysenter|sysexit)$/ ||
            (op ~ /^nop[lw]?$/ && args != ""))) next
      a = hex(at)
      where = ""
      if (ns > 0) {
        for (k = 1; k <= ns && !(a >= s_lo[k] && a < s_hi[k]); k++);
        if (k > ns) next                    # data or padding, not code
        best = -1
        for (m = 1; m <= nsym; m++) if (y_at[m] >= s_lo[k] && y_at[m] <= a && (best < 0 || y_at[m] >= y_at[best])) best = m
        where = best < 0 ? s_name[k] : y_name[best] sprintf("+0x%x", a - y_at[best])
        where = " in " where " (" s_obj[k] ")"
      }
      found++
      if (found <= 40) print name ": " ins " at 0x" at where
    }
    END {
      if (found > 40) print name ": ... " found - 40 " more"
      if (found && tool != "") { print name ": " found " instructions that a 486 lacks, not refused: " tool; exit 0 }
      if (found) { print name ": " found " instructions that a 486 lacks"; exit 1 }
      print name ": ok, nothing beyond a 486"
    }
  ' "$map" "$dis" || bad=1
  rm -f "$dis"
done
exit $bad
