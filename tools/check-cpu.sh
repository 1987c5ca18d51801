#!/bin/bash
# check-cpu.sh FILE: fails when a 32-bit program holds an instruction that a
# 486 or Pentium lacks (cmov*, fcmov*, fcomi, fcomip, fucomi, fucomip) or uses
# an MMX or SSE register, and lists the functions that do. FILE is the program
# before stripping (kw_deliver keeps it as FILE.full): its symbols tell the
# exception tables, which the linker puts at the end of the code, from code.
set -u
file=$1
i686-w64-mingw32-objdump -d --no-show-raw-insn "$file" | awk -v name="$(basename "$file" .full)" '
  /^[0-9a-f]+ <.*>:$/ { fn = $2; data = (fn ~ /^<(\.gcc_except_table|_*CTOR_LIST__|_*DTOR_LIST__)/); next }
  !data && /\t(cmov|fcmov|fcomi|fucomi)|%[xy]?mm[0-9]/ { n[fn]++; total++ }
  END {
    if (!total) { print name ": nothing beyond a 486"; exit 0 }
    print name ": " total " instructions beyond a 486 or Pentium, in:"
    for (f in n) print "  " n[f] " " f
    exit 1
  }'
