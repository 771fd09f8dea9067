#!/usr/bin/env bash
# zevro-cli read with archive contents: LZH members below the archive row,
# ZIP archives only with --zip on, members only with --archives on, the
# stored options holding when no switch is given (and a switch not saved),
# and a folder named like an archive walked as a folder.
source "$(dirname "$0")/harness.bash"
source "$(dirname "$0")/lzh.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/pack.zip"
z() { "$cli" --program-dir "$prog" "$@"; }

lzh "$media/tool.lzh" 'doc\\readme.txt' 'hello' 'tool.exe' 'MZ'
cp "$media/tool.lzh" "$media/pack.zip/inner.lzh"
# Not a ZIP the reader can open: with --zip on it stays a plain row too.
printf 'not a zip' >"$media/broken.zip"

# Level, kind and name of each row below the title line, one a line.
rows() {  # read options...
  rm -rf "$prog/Catalog"
  z read --quiet --sort name "$@" "$media" >"$tmp/name" || { echo "FAIL: read $*"; fail=1; return; }
  z dump "$(cat "$tmp/name")" | awk -F'\t' 'NR > 1 { printf "%s %s %s|", $1, $2, $4 }'
}

lzh_rows='2 5 doc|3 153 readme.txt|2 173 tool.exe|'
inner_rows='3 5 doc|4 153 readme.txt|3 173 tool.exe|'
expect "members of LZH archives, also in a folder named pack.zip" \
  "1 171 broken.zip|1 91 tool.lzh|${lzh_rows}1 1 pack.zip|2 91 inner.lzh|${inner_rows}" \
  "$(rows --archives on --zip on)"
expect "no members without --archives" "1 171 broken.zip|1 91 tool.lzh|1 1 pack.zip|2 91 inner.lzh|" \
  "$(rows --archives off --archive-comments on)"

# A member's date as stored, the archive's own date and size on its row.
rows --archives on >/dev/null
z dump "$(cat "$tmp/name")" >"$tmp/dump"
expect "member date and size" "05/03/04 10:20 5" "$(awk -F'\t' '$4 == "readme.txt" { print $6, $7; exit }' "$tmp/dump")"
expect "archive size" "$(stat -c %s "$media/tool.lzh")" "$(awk -F'\t' '$4 == "tool.lzh" { print $7 }' "$tmp/dump")"

# Without switches the option store holds; a switch is not saved.
z options set RecordUnzip -1 >/dev/null
expect "RecordUnzip from the options" "1 171 broken.zip|1 91 tool.lzh|${lzh_rows}1 1 pack.zip|2 91 inner.lzh|${inner_rows}" "$(rows)"
rows --archives off >/dev/null
check "the switch was not saved" 0 z options get RecordUnzip
expect "RecordUnzip kept" "-1" "$(tr -d ' ' <"$tmp/out")"

# --- An archive read as the medium ------------------------------------------------
rm -rf "$prog/Catalog"
check "read tool.lzh" 0 z read --quiet --sort name --archives off "$media/tool.lzh"
z dump "$(cat "$tmp/out")" | awk -F'\t' 'NR > 1 { printf "%s %s %s|", $1, $2, $4 }' >"$tmp/rows"
expect "its members are the medium's content" "1 5 doc|2 153 readme.txt|1 173 tool.exe|" "$(cat "$tmp/rows")"
printf 'x' >"$media/notes.txt"
check "another file is no medium" 2 z read --quiet "$media/notes.txt"

# --- Bad values ---------------------------------------------------------------------
for o in --archives --archive-comments --zip; do
  check "$o without on or off" 2 z read "$o" maybe "$media"
  expect "$o: the error line" "zevro-cli: read: $o needs on or off (see zevro-cli read --help)" "$(cat "$tmp/err")"
done

exit $fail
