#!/usr/bin/env bash
# zevro-cli info and dump on list files made here byte by byte from the file
# layout (never by the program): header, heap with Shift-JIS names whose
# second byte is "\" or "|", level, kind, tree-flag and colour blocks.
source "$(dirname "$0")/harness.bash"
same() {  # description, expected file, actual file
  if ! cmp -s "$2" "$3"; then
    echo "FAIL: $1"; diff "$2" "$3" | head -20; fail=1
  fi
}

catalogs="$tmp/p/Catalog"
mkdir -p "$catalogs"

# Heap, 61 characters (hex 3D):
#   row 0: 10 "MYDISC" 11 表示                                         10 characters
#   row 1: 10 "DOCS" 11 "Do" CR LF "c" TAB "s"                         13 characters
#   row 2: 10 ソフト ".TXT" 11 ポ "\" 12 "03/04/05 12:34" 13 "1,234" 14 "0"   34 characters
#   end marker and three spare characters                              4 characters
# 表 = 95 5C, 示 = 8E A6, ソ = 83 5C, フ = 83 74, ト = 83 67, ポ = 83 7C.
header() {  # tag, heap length
  printf '%s' "$1" 00004 00004 00004 00004 "$2" 2 1 240131120000 '      123456789' 0000000
}
body() {
  printf '\020MYDISC\021\225\134\216\246'
  printf '\020DOCS\021Do\r\nc\ts'
  printf '\020\203\134\203\164\203\147.TXT\021\203\174\134\02203/04/05 12:34\0231,234\0240'
  printf '\000\000\000\000'
  printf '\000\001\002\000'  # levels
  printf '\004\001\006\000'  # kind codes
  printf '\001\001\002\000'  # tree flags
  printf '\000\002\000\000'  # colour indexes
}
{ header BX 00003D; body; } >"$catalogs/_03FD_HAND.cct"
[ "$(wc -c <"$catalogs/_03FD_HAND.cct")" = $((64 + 67 + 16)) ] || { echo "FAIL: hand-made file size"; fail=1; }

# --- info, by name in the catalog folder (any case) and by path -------------
printf 'tag\tBX\nrows\t3\nkind\t2\ngenre\t3\nlabel\tMYDISC\ntitle\t表示\nsort\t2\nfree\t123456789\nstamp\t240131120000\n' >"$tmp/info.want"
check "info by name" 0 "$cli" --program-dir "$tmp/p" info _03fd_hand.CCT
same "info by name" "$tmp/info.want" "$tmp/out"
check "info by path" 0 "$cli" --program-dir "$tmp/p" info "$catalogs/_03FD_HAND.cct"
same "info by path" "$tmp/info.want" "$tmp/out"

# --- dump -------------------------------------------------------------------
{
  printf '0\t4\t1\tMYDISC\t表示\t\t\t\t\t\t\n'
  printf '1\t1\t1\tDOCS\tDo\\r\\nc\\ts\t\t\t\t\t\t\n'
  printf '2\t6\t2\tソフト.TXT\tポ\\\\\t03/04/05 12:34\t1,234\t0\t\t\t\n'
} >"$tmp/dump.want"
check "dump" 0 "$cli" --program-dir "$tmp/p" dump _03FD_HAND.cct
same "dump" "$tmp/dump.want" "$tmp/out"
[ -s "$tmp/err" ] && { echo "FAIL: dump wrote to stderr"; cat "$tmp/err"; fail=1; }

# Lower-case hexadecimal lengths and a newer tag read the same.
{ header CX 00003d; body; } >"$tmp/lower.cct"
check "lower-case lengths" 0 "$cli" --program-dir "$tmp/p" dump "$tmp/lower.cct"
same "lower-case lengths" "$tmp/dump.want" "$tmp/out"

# --- files that are not list files: exit 2, one line on stderr ---------------
one_line_error() {  # description, file
  check "$1" 2 "$cli" --program-dir "$tmp/p" info "$2"
  [ "$(wc -l <"$tmp/err")" = 1 ] || { echo "FAIL: $1: not one line on stderr"; cat "$tmp/err"; fail=1; }
  [ -s "$tmp/out" ] && { echo "FAIL: $1: output on stdout"; fail=1; }
}
{ header BX 00G03D; body; } >"$tmp/badhex.cct"
one_line_error "damaged length field" "$tmp/badhex.cct"
printf 'BX0000' >"$tmp/short.cct"
one_line_error "header cut short" "$tmp/short.cct"
{ header BX 00003D; printf 'not a heap'; } >"$tmp/foreign.cct"
one_line_error "heap of another format" "$tmp/foreign.cct"
printf 'AX00030003000014000000' >"$tmp/old.cct"
one_line_error "old layout" "$tmp/old.cct"
one_line_error "missing file" "$tmp/none.cct"
grep -q "no such list file" "$tmp/err" || { echo "FAIL: missing file message"; fail=1; }
check "dump of a damaged file" 2 "$cli" --program-dir "$tmp/p" dump "$tmp/badhex.cct"
[ "$(wc -l <"$tmp/err")" = 1 ] || { echo "FAIL: dump of a damaged file: not one line on stderr"; fail=1; }

# A truncated file shows what is there, with a warning.
head -c 100 "$catalogs/_03FD_HAND.cct" >"$tmp/cut.cct"
check "truncated file" 0 "$cli" --program-dir "$tmp/p" dump "$tmp/cut.cct"
[ "$(wc -l <"$tmp/out")" = 3 ] || { echo "FAIL: truncated file rows"; cat "$tmp/out"; fail=1; }
grep -q "truncated" "$tmp/err" || { echo "FAIL: truncated file warning"; fail=1; }

check "no file argument" 2 "$cli" --program-dir "$tmp/p" info
exit $fail
