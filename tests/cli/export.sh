#!/usr/bin/env bash
# zevro-cli export: a list file made here byte by byte, written as text and
# as CSV (CP932, CR LF), every stored row or a level build of the folder
# pane, to stdout or to a file whose extension decides the form.
source "$(dirname "$0")/harness.bash"
same() {  # description, expected file, actual file
  if ! cmp -s "$2" "$3"; then
    echo "FAIL: $1"; diff <(od -c "$2") <(od -c "$3") | head -20; fail=1
  fi
}

catalogs="$tmp/p/Catalog"
mkdir -p "$catalogs"

# Heap, 87 characters (hex 57):
#   row 0: 10 "MYDISC" 11 表示 13 "1,234"                              16
#   row 1: 10 "DOCS" 11 'say "hi", ok' 14 "0"                          20
#   row 2: 10 ソフト.TXT 11 ポ 12 "03/04/05 12:34" 13 "1,234" 14 "0"     33
#   row 3: 10 "PICS" 14 "0"                                            7
#   end marker and ten spare characters                               11
# 表 = 95 5C, 示 = 8E A6, ソ = 83 5C, フ = 83 74, ト = 83 67, ポ = 83 7C.
{
  printf '%s' BX 00005 00005 00005 00005 000057 2 1 '            ' '              0' 0000000
  printf '\020MYDISC\021\225\134\216\246\0231,234'
  printf '\020DOCS\021say "hi", ok\0240'
  printf '\020\203\134\203\164\203\147.TXT\021\203\174\02203/04/05 12:34\0231,234\0240'
  printf '\020PICS\0240'
  printf '\000\000\000\000\000\000\000\000\000\000\000'
  printf '\000\001\002\001\000'  # levels
  printf '\004\001\006\001\000'  # kind codes
  printf '\001\001\000\000\000'  # tree flags
  printf '\000\002\000\002\000'  # colour indexes
} >"$catalogs/_03FD_HAND.cct"

pad() { printf "%*s" "$1" ''; }
{
  printf 'MYDISC'; pad 25; printf '\225\134\216\246'; pad 39; pad 9; pad 7; printf '1,234\r\n'
  printf '  DOCS'; pad 25; printf 'say "hi", ok\r\n'
  printf '    \203\134\203\164\203\147.TXT'; pad 20; printf '\203\174'; pad 40; printf '03/04/05'; pad 8; printf '1,234\r\n'
  printf '  PICS\r\n'
} >"$tmp/txt.want"
check "export --txt" 0 "$cli" --program-dir "$tmp/p" export _03fd_hand.CCT --txt
same "export --txt: every stored row, fixed columns" "$tmp/txt.want" "$tmp/out"

{
  printf '"Folder/File","\203\122\203\201\203\223\203\147","\223\372\225\164","\203\124\203\103\203\131"\r\n'
  printf '"MYDISC","\225\134\216\246","","1,234"\r\n'
  printf '"  DOCS","say ""hi"", ok","",""\r\n'
  printf '"    \203\134\203\164\203\147.TXT","\203\174","03/04/05 12:34","1,234"\r\n'
  printf '"  PICS","","",""\r\n'
} >"$tmp/csv.want"
check "export --csv" 0 "$cli" --program-dir "$tmp/p" export "$catalogs/_03FD_HAND.cct" --csv
same "export --csv: quoted values, inner quotes doubled" "$tmp/csv.want" "$tmp/out"

check "export -o x.CSV" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct -o "$tmp/x.CSV"
same "export -o: the extension CSV decides" "$tmp/csv.want" "$tmp/x.CSV"
expect "export -o: nothing on stdout" "" "$(cat "$tmp/out")"
check "export -o -" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv -o -
same "export -o -: stdout" "$tmp/csv.want" "$tmp/out"
check "export -o x.lst" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct -o "$tmp/x.lst"
same "export -o: any other extension is text" "$tmp/txt.want" "$tmp/x.lst"
check "export --txt -o x.csv" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --txt -o "$tmp/y.csv"
same "export: the flag beats the extension" "$tmp/txt.want" "$tmp/y.csv"

# Mode 0: folders only; level 1: rows down to level 1 (the file of DOCS
# stays inside it).
sed -n '1,3p;5p' "$tmp/csv.want" >"$tmp/folders.want"
check "export --mode 0" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv --mode 0
same "export --mode 0: folders only" "$tmp/folders.want" "$tmp/out"
{ sed -n '1,3p;5p' "$tmp/csv.want"; } >"$tmp/level1.want"
check "export --level 1" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv --level 1
same "export --level 1: rows down to level 1" "$tmp/level1.want" "$tmp/out"
check "export --mode 1 --level 0" 0 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv --mode 1 --level 0
same "export --mode 1: every row" "$tmp/csv.want" "$tmp/out"

# Bad arguments and bad files: exit 2, no file written.
check "no form" 2 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct
check "both forms" 2 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv --txt
check "bad mode" 2 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv --mode 3
check "bad level" 2 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct --csv --level 5
check "missing file" 2 "$cli" --program-dir "$tmp/p" export _09CD_NONE.cct --csv
printf 'not a list file at all, no' >"$catalogs/_00CD_BAD.cct"
check "invalid list file" 2 "$cli" --program-dir "$tmp/p" export _00CD_BAD.cct -o "$tmp/bad.csv"
[ -e "$tmp/bad.csv" ] && { echo "FAIL: a file was written for an invalid list"; fail=1; }
printf 'earlier' >"$tmp/keep.csv"
check "unwritable output" 2 "$cli" --program-dir "$tmp/p" export _03FD_HAND.cct -o "$tmp/nofolder/keep.csv"
expect "earlier file kept" "earlier" "$(cat "$tmp/keep.csv")"
exit $fail
