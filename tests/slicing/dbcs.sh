#!/bin/sh
# Runs a command under a Japanese locale, from which Wine takes the ANSI code
# page 932 (Shift JIS). The locale is made once into the build folder given
# first, so the machine's own locales stay as they are.
set -u
dir=$1
shift
mkdir -p "$dir"
[ -f "$dir/ja_JP.UTF-8/LC_CTYPE" ] || localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1
[ -f "$dir/ja_JP.UTF-8/LC_CTYPE" ] || { echo "dbcs.sh: cannot make the ja_JP.UTF-8 locale" >&2; exit 1; }
LOCPATH=$dir LC_ALL=ja_JP.UTF-8 KW_ACP=932 exec "$@"
