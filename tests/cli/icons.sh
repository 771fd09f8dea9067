#!/usr/bin/env bash
# zevro-cli kind and the icon-table stamp of info: the standard tables, the
# user's icons of the program folder (IconList.CCZ with MarkIcon.BMP, made
# here byte by byte), and the standard tables again when either file is
# missing or damaged.
source "$(dirname "$0")/harness.bash"
prog="$tmp/p"
media="$tmp/media"
mkdir -p "$prog" "$media"

# --- The standard tables ------------------------------------------------------------
check "kind of standard extensions" 0 "$cli" --program-dir "$prog" kind jpg JPEG .HTML xyz MP3 MP1 zip 7z ""
expect_out "kind lines" 'jpg\t82\t7\nJPEG\t82\t7\nHTML\t73\t10\nxyz\t6\t6\nMP3\t109\t26\nMP1\t106\t26\nzip\t171\t18\n7z\t6\t6\n\t6\t6\n'
check "kind as JSON" 0 "$cli" --program-dir "$prog" kind --json gif 3gp
expect_out "kind JSON" '[\n{"extension":"gif","kind":65,"icon":20},\n{"extension":"3gp","kind":10,"icon":28}\n]\n'
check "an extension after --" 0 "$cli" --program-dir "$prog" kind -- --json
expect_out "-- ends the options" '--json\t6\t6\n'
check "no extension" 2 "$cli" --program-dir "$prog" kind
check "unknown option" 2 "$cli" --program-dir "$prog" kind --frobnicate jpg

# A reading with the standard icons stores the 12 blanks.
printf 'x' >"$media/a.jpg"
printf 'x' >"$media/b.aaa"
printf 'K\t%s\tHD\tICONS\n' "$media" >"$prog/drives.map"
check "read with standard icons" 0 "$cli" --program-dir "$prog" read K:
check "info of it" 0 "$cli" --program-dir "$prog" info _00HD_ICONS.cct
expect "stamp of standard icons" "stamp	            " "$(grep '^stamp' "$tmp/out")"

# --- The user's icons --------------------------------------------------------------
# IconList.CCZ: a map giving codes 1..6 icons 1..6, 10 (AAA) icon 7 and 11 (JPG)
# icon 2; the table "010.AAA|011.JPG|".
icon_table() {  # [bytes to cut from the end]
  {
    printf '\000\001\002\003\004\005\006\000\000\000\007\002'
    head -c 244 /dev/zero
    printf '0016010.AAA|011.JPG|'
  } | head -c $((256 + 4 + 16 - ${1:-0}))
}
# MarkIcon.BMP: a white 24-bit strip of 7 icons (32 x 112).
strip_bitmap() {
  printf 'BM'
  printf '\066\055\000\000'  # file size: 54 + 11520 = 11574 (0x2D36)
  printf '\000\000\000\000\066\000\000\000'
  printf '\050\000\000\000\040\000\000\000\160\000\000\000\001\000\030\000'
  printf '\000\000\000\000\000\055\000\000\023\013\000\000\023\013\000\000'
  printf '\000\000\000\000\000\000\000\000'
  head -c 11520 /dev/zero | tr '\000' '\377'
}
icon_table >"$prog/IconList.CCZ"
strip_bitmap >"$prog/MarkIcon.BMP"
touch -d '2024-01-31 14:59:59 UTC' "$prog/IconList.CCZ"
check "set MarkIconFile" 0 "$cli" --program-dir "$prog" options set MarkIconFile "$prog/MarkIcon.BMP"

check "kind under the user's icons" 0 "$cli" --program-dir "$prog" kind aaa jpg zip
expect_out "user kinds" 'aaa\t10\t7\njpg\t11\t2\nzip\t6\t6\n'

check "read under the user's icons" 0 "$cli" --program-dir "$prog" read --replace K:
check "info stamp" 0 "$cli" --program-dir "$prog" info _00HD_ICONS.cct
expect "stamp of the user's icons (nine hours past UTC)" "stamp	240131235959" "$(grep '^stamp' "$tmp/out")"
check "dump" 0 "$cli" --program-dir "$prog" dump _00HD_ICONS.cct
expect "kinds of the user's table" "10 11" "$(awk -F'\t' '$4 == "b.aaa" { a = $2 } $4 == "a.jpg" { j = $2 } END { print a, j }' "$tmp/out")"

# --- Damaged or missing files bring back the standard set -------------------------
icon_table 5 >"$prog/IconList.CCZ"
check "a short icon table" 0 "$cli" --program-dir "$prog" kind aaa jpg
expect_out "standard after a short table" 'aaa\t6\t6\njpg\t82\t7\n'

icon_table >"$prog/IconList.CCZ"
strip_bitmap | head -c 3000 >"$prog/MarkIcon.BMP"
check "a short picture" 0 "$cli" --program-dir "$prog" kind aaa jpg
expect_out "standard after a short picture" 'aaa\t6\t6\njpg\t82\t7\n'

rm "$prog/MarkIcon.BMP"
check "no picture" 0 "$cli" --program-dir "$prog" kind aaa
expect_out "standard without the picture" 'aaa\t6\t6\n'

strip_bitmap >"$prog/MarkIcon.BMP"
check "the option emptied" 0 "$cli" --program-dir "$prog" options set MarkIconFile ""
check "no option" 0 "$cli" --program-dir "$prog" kind aaa
expect_out "standard without the option" 'aaa\t6\t6\n'

exit $fail
