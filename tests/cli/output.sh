#!/usr/bin/env bash
# Output that cannot be written is a failure: every command that prints
# exits 2 with one line naming the error when stdout is /dev/full, so that
# a script never takes cut output for the whole.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/DOCS"
for i in $(seq 1 300); do printf 'x' >"$media/DOCS/file-$i.txt"; done
printf 'K\t%s\tHD\tOUTPUT\n' "$media" >"$prog/drives.map"
check "a catalog to print" 0 "$cli" --program-dir "$prog" read K:

while IFS='|' read -r what args; do
  # shellcheck disable=SC2086
  check "$what to a terminal or file" 0 "$cli" --program-dir "$prog" $args
  [ -s "$tmp/out" ] || { echo "FAIL: $what printed nothing"; fail=1; }
  # shellcheck disable=SC2086
  "$cli" --program-dir "$prog" $args >/dev/full 2>"$tmp/err"
  got=$?
  expect "$what into /dev/full exits 2" 2 "$got"
  grep -q 'No space left on device' "$tmp/err" || { echo "FAIL: $what: no error named"; cat "$tmp/err"; fail=1; }
  expect "$what: one line on stderr" 1 "$(wc -l <"$tmp/err")"
done <<'ROWS'
--help|--help
--version|--version
catalogs|catalogs
catalogs --json|catalogs --json
dump|dump _00HD_OUTPUT.cct
info|info _00HD_OUTPUT.cct
search|search file-1
options get|options get ListInterleave
drives|drives
ROWS
exit $fail
