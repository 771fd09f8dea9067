#!/usr/bin/env bash
# The CP932 tables are compiled in: zevro-cli calls no character converter of
# the C library (a machine without glibc's CP932 module runs it all the same),
# and Japanese names still go through a list file unchanged.
source "$(dirname "$0")/harness.bash"
if command -v nm >/dev/null; then
  calls=$(nm -u "$cli" 2>/dev/null | grep -c 'iconv_open')
  expect "no converter opened at run time" 0 "$calls"
fi
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/表計算"
printf 'x' >"$media/表計算/ポスター.txt"
printf 'K\t%s\tHD\t日本語\n' "$media" >"$prog/drives.map"
check "read Japanese names" 0 "$cli" --program-dir "$prog" read K:
check "dump them" 0 "$cli" --program-dir "$prog" dump "$(cat "$tmp/out")"
names=$(awk -F'\t' 'NR > 1 { print $4 }' "$tmp/out" | tr '\n' ' ')
expect "names as they were" "表計算 ポスター.txt " "$names"
exit $fail
