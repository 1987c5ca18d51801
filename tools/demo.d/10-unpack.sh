#!/bin/bash
# The archive component at work: the sample package, made here with Info-ZIP's
# zip, unpacked under Wine by TZipExtractor through UNPACK32.DLL, one line per
# file as its progress report arrives. Builds nothing: make demo has built.
set -eu
. "$(dirname "$0")/../demo-env.sh"
cd "$root"
demo=$B/win64/tests/zipextr/zipdemo.exe
W=$B/demo-unpack
rm -rf "$W" && mkdir -p "$W/out"
tests/zipextr/make-sample.sh "$W" >/dev/null
echo "sample package (Info-ZIP's listing):"
unzip -v "$W/sample.zip" | sed -n '2,$p' | sed 's/^/  /'
echo "unpacking with TZipExtractor and UNPACK32.DLL (wine64):"
"$run" "$demo" "$(win "$W/sample.zip")" "$(win "$W/out")" | tr -d '\r'
diff -r "$W/zipsample" "$W/out" >/dev/null && echo "unpacked files are identical to the originals"
