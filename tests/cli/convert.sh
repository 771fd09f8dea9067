#!/usr/bin/env bash
# zevro-cli convert on list files of earlier versions made here byte by
# byte: "AH", untagged and "AX" files become current ones (records, kinds,
# the original in Backup, the time + 1 s); a current file and a stranger stay
# as they are; a damaged file is told and left; ".DAT" files are only told.
source "$(dirname "$0")/harness.bash"

p="$tmp/p"
c="$p/Catalog"
mkdir -p "$c"

# Old heap, 62 characters (hex 3E), record marker code 1, fields split by code 2:
#   01 "MYDISC" 02 "TITLE" 02 02 "1,234"                                  20
#   01 "README.TXT" 02 "Read me" 02 "01/02/03 04:05 " 02 "1,200"          41
#   end marker                                                             1
heap() {
  printf '\001MYDISC\002TITLE\002\0021,234'
  printf '\001README.TXT\002Read me\00201/02/03 04:05 \0021,200'
  printf '\000'
  printf '\015\006'  # kind codes: an old hard-disk title line, a file
  printf '\000\001'  # levels
}
{ printf 'AH00003E000200020----'; heap; } >"$c/_01HD_AH.cct"
{ printf 'AX0002000200003E0----'; heap; printf 'S      654321%51s' ''; } >"$c/_02HD_AX.cct"
{ printf '%8d%04d%04d0----' 62 2 2; heap; } >"$c/_03HD_UN.cct"
{ printf '%s' BX 00002 00002 00002 00002 000005 2 1 '            ' '              0' 0000000
  printf '\020X\021\000\000\000\000\000\000\000\000\000'; } >"$c/_04HD_BX.cct"
printf 'ZZ not a list file of any kind' >"$c/_06HD_ZZ.cct"
touch -d '2020-01-02 03:04:05' "$c"/*
cp -p "$c/_02HD_AX.cct" "$tmp/ax.original"
cp -p "$c/_04HD_BX.cct" "$tmp/bx.original"

check "convert" 0 "$cli" --program-dir "$p" convert
expect_out "convert: each old file with its generation" '_01HD_AH.cct\tAH\n_02HD_AX.cct\tAX\n_03HD_UN.cct\tuntagged\n'
expect "nothing on stderr" "" "$(cat "$tmp/err")"

for f in _01HD_AH.cct _02HD_AX.cct _03HD_UN.cct; do
  expect "$f: tag" "BX" "$(head -c 2 "$c/$f")"
  expect "$f: time + 1 s" "$(( $(date -d '2020-01-02 03:04:05' +%s) + 1 ))" "$(stat -c %Y "$c/$f")"
  check "$f: dump" 0 "$cli" --program-dir "$p" dump "$f"
  expect "$f: rows" $'MYDISC\tTITLE\t\t1,234\t2\t\t\t\nREADME.TXT\tRead me\t01/02/03 04:05\t1,200\t6\t\t\t' \
    "$(cut -f4- "$tmp/out")"
  expect "$f: levels and old title kind" $'0\t4\n1' "$(cut -f1,2 "$tmp/out" | head -1; cut -f1 "$tmp/out" | tail -1)"
done
cmp -s "$tmp/ax.original" "$p/Backup/_02HD_AX.cct" || { echo "FAIL: AX original not in Backup"; fail=1; }
expect "free space from the S trailer" "         654321" "$(dd if="$c/_02HD_AX.cct" bs=1 skip=42 count=15 2>/dev/null)"
cmp -s "$tmp/bx.original" "$c/_04HD_BX.cct" || { echo "FAIL: BX file changed"; fail=1; }
expect "BX file time kept" "$(stat -c %Y "$tmp/bx.original")" "$(stat -c %Y "$c/_04HD_BX.cct")"
expect "stranger kept" "ZZ not a list file of any kind" "$(cat "$c/_06HD_ZZ.cct")"

check "second run" 0 "$cli" --program-dir "$p" convert
expect_out "second run converts nothing" ''

# A damaged old file is told and left as it is.
printf 'AX0002000200003E0----\001MYDISC' >"$c/_05HD_CUT.cct"
cp -p "$c/_05HD_CUT.cct" "$tmp/cut.original"
check "damaged file" 1 "$cli" --program-dir "$p" convert
expect_out "damaged file: nothing converted" ''
expect "damaged file: told" "_05HD_CUT.cct	リストファイルが壊れているため、変換できません" "$(cat "$tmp/err")"
cmp -s "$tmp/cut.original" "$c/_05HD_CUT.cct" || { echo "FAIL: damaged file changed"; fail=1; }
rm "$c/_05HD_CUT.cct"

printf 'old' >"$c/_00CD_OLD.DAT"
check ".DAT files" 0 "$cli" --program-dir "$p" convert
grep -q '古い形式のファイルがあります' "$tmp/err" || { echo "FAIL: no old-version message"; cat "$tmp/err"; fail=1; }
expect ".DAT file kept" "old" "$(cat "$c/_00CD_OLD.DAT")"

check "an argument" 2 "$cli" --program-dir "$p" convert extra
check "an option" 2 "$cli" --program-dir "$p" convert --force
exit $fail
