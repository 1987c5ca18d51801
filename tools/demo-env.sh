# Sourced by each piece of tools/demo.d: the repository, the build folder named
# as the piece's argument, and the Wine environment the test programs expect.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
B=$(cd "${1:-build}" && pwd)
run=$root/tests/wine/winerun.sh
win() { printf 'Z:%s' "$1" | tr / '\\'; }
export WINEPREFIX=$B/win64/wineprefix
if [ -n "${DISPLAY:-}" ]; then export KW_DISPLAY=$DISPLAY; fi
KW_DIST=$(win "$root/dist/win64") KW_BIN=$(win "$B/win64") KW_SRC=$(win "$root")
export KW_DIST KW_BIN KW_SRC
