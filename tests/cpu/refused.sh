#!/bin/sh
# refused.sh CHECK PROBE MAPDIR: the processor check fails the probe and names
# each instruction with its function, through the probe's link map; without
# the map it still fails, by address.
check=$1 probe=$2 maps=$3
fail() { echo "FAIL: $*"; exit 1; }
out=$("$check" -m "$maps" "$probe") && fail "a program with Pentium Pro, MMX and SSE code passed: $out"
for want in 'cmovne %eax,%edx at 0x[0-9a-f]* in probe::PickWithCmov()+0x' \
    'fucomip %st(1),%st at 0x[0-9a-f]* in probe::CompareWithFcomi()' \
    'xorps  *%xmm0,%xmm0 at 0x[0-9a-f]* in probe::ClearSseRegister()' \
    'paddb  *%mm1,%mm0 at 0x[0-9a-f]* in probe::AddMmxRegisters()' \
    'rdtsc at 0x[0-9a-f]* in probe::ReadTimeStamp()' \
    'nopl  *0x0(%eax) at 0x[0-9a-f]* in probe::PadWithLongNop()' \
    ': 6 instructions that a 486 lacks'; do
  echo "$out" | grep -q "$want" || fail "missing '$want' in: $out"
done
out=$("$check" "$probe") && fail "the probe passed without its map: $out"
echo "$out" | grep -q 'no link map' || fail "no word of the missing map: $out"
echo "$out" | grep -q 'cmovne %eax,%edx at 0x[0-9a-f]*$' || fail "cmov not named by address: $out"
echo ok
