#!/bin/sh
# refused.sh CHECK P6_PROBE 486_PROBE MAPDIR: the processor check fails the
# Pentium Pro probe and names each instruction with its function through the
# probe's link map; without the map it still fails, by address; the same code
# built for a 486 passes; marked as an author's tool, it is listed, not refused.
check=$1 p6=$2 i486=$3 maps=$4
fail() { echo "FAIL: $*"; exit 1; }
out=$("$check" -m "$maps" "$p6") && fail "a program with Pentium Pro, MMX and SSE code passed: $out"
for want in 'cmov[a-z]* .* in Smaller+0x' \
    'cmovne %eax,%edx at 0x[0-9a-f]* in probe::PickWithCmov()+0x0 (.*Probe.cpp.obj)' \
    'fucomip %st(1),%st at 0x[0-9a-f]* in probe::CompareWithFcomi()' \
    'xorps  *%xmm0,%xmm0 at 0x[0-9a-f]* in probe::ClearSseRegister()' \
    'paddb  *%mm1,%mm0 at 0x[0-9a-f]* in probe::AddMmxRegisters()' \
    'rdtsc at 0x[0-9a-f]* in probe::ReadTimeStamp()' \
    'nopl  *0x0(%eax) at 0x[0-9a-f]* in probe::PadWithLongNop()' \
    ': [0-9]* instructions that a 486 lacks'; do
  echo "$out" | grep -q "$want" || fail "missing '$want' in: $out"
done
out=$("$check" "$p6") && fail "the probe passed without its map: $out"
echo "$out" | grep -q 'no link map' || fail "no word of the missing map: $out"
echo "$out" | grep -q 'cmovne %eax,%edx at 0x[0-9a-f]*$' || fail "cmov not named by address: $out"
out=$("$check" -m "$maps" "$i486") || fail "the same code built for a 486 refused: $out"
# A program marked as an author's tool: its finds listed, not refused.
tools=$(mktemp -d); trap 'rm -rf "$tools"' EXIT
name=$(basename "$p6")
cp "$maps/$name.map" "$tools/"; echo "a tool for the author's machine" > "$tools/$name.tool"
out=$("$check" -m "$tools" "$p6") || fail "a marked tool refused: $out"
echo "$out" | grep -q 'cmovne %eax,%edx at .* in probe::PickWithCmov()' || fail "a marked tool's finds not listed: $out"
echo "$out" | grep -q "instructions that a 486 lacks, not refused: a tool for the author's machine" ||
  fail "no word of why it is not refused: $out"
echo ok
