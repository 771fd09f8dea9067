#!/usr/bin/env bash
# Small faults that hid a problem or lost information: a file where the
# catalog folder should be, names that are not UTF-8, a Backup folder that
# cannot be made.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media"

# Names of single bytes that are not UTF-8 print as the escapes the list
# file stores, each one different.
for b in e8 e9 ea eb; do printf 'x' >"$media/$(printf "\\x$b").txt"; done
printf 'K\t%s\tHD\tBYTES\n' "$media" >"$prog/drives.map"
check "read names that are not UTF-8" 0 "$cli" --program-dir "$prog" read K:
check "dump them" 0 "$cli" --program-dir "$prog" dump _00HD_BYTES.cct
names=$(awk -F'\t' 'NR > 1 { print $4 }' "$tmp/out" | sort | tr '\n' ' ')
expect "each byte as its escape" "&#xDCE8;.txt &#xDCE9;.txt &#xDCEA;.txt &#xDCEB;.txt " "$names"

# Backup/ that cannot be made: the message says why, not "No such file".
printf 'not a folder' >"$prog/Backup"
check "replace with Backup a file" 2 "$cli" --program-dir "$prog" read --replace K:
grep -q 'No such file' "$tmp/err" && { echo "FAIL: the message hides why Backup cannot be made"; cat "$tmp/err"; fail=1; }
grep -qi 'exists\|not a directory' "$tmp/err" || { echo "FAIL: no reason for Backup"; cat "$tmp/err"; fail=1; }
check "the old catalog is still there" 0 "$cli" --program-dir "$prog" dump _00HD_BYTES.cct

# A file where the catalog folder should be is a fault, not an empty list.
fprog=$tmp/fprog
mkdir -p "$fprog"
printf 'x' >"$fprog/Catalog"
check "catalogs with Catalog a file" 2 "$cli" --program-dir "$fprog" catalogs
grep -q 'not a folder' "$tmp/err" || { echo "FAIL: no word about the catalog folder"; cat "$tmp/err"; fail=1; }
eprog=$tmp/eprog
mkdir -p "$eprog"
check "catalogs of a fresh program folder" 0 "$cli" --program-dir "$eprog" catalogs
expect_out "no catalogs yet" ""
exit $fail
