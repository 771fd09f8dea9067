#!/usr/bin/env bash
# zevro-cli options get/set: one option of ZEVRO32.Opt, read with the table's
# default, written in the file's value forms without disturbing the rest.
source "$(dirname "$0")/harness.bash"
expect_file() {  # description, file, expected bytes (printf format)
  printf -- "$3" >"$tmp/want"
  cmp -s "$2" "$tmp/want" || { echo "FAIL: $1"; echo "got:"; cat -A "$2"; echo "wanted:"; cat -A "$tmp/want"; fail=1; }
}

p=$tmp/p
opt=$p/ZEVRO32.Opt

# Defaults of the table, without creating the file.
while read -r key want; do
  check "get $key" 0 "$cli" --program-dir "$p" options get "$key"
  expect_out "default of $key" "$want\n"
done <<'ROWS'
ListInterleave 2
FileFrames 4
isMsgModal -1
ColorF ON
StartWithCatalog -1
SelBackCol 0x8000000D
CsrBackCol 0xE8FFC8
FontSize 9.75
listinterleave 2
ROWS
[ -e "$opt" ] && { echo "FAIL: reading created the option file"; fail=1; }
check "default left to the program" 1 "$cli" --program-dir "$p" options get WIDTH
expect_out "no output without a value" ""
check "unknown key without value" 1 "$cli" --program-dir "$p" options get NoSuchKey

# Writing: the value forms, CR LF, the section.
check "set number" 0 "$cli" --program-dir "$p" options set ListInterleave 5
expect_file "number with a leading blank" "$opt" '[Options]\r\nListInterleave= 5\r\n'
check "set negative" 0 "$cli" --program-dir "$p" options set WindowX -100
check "set on/off" 0 "$cli" --program-dir "$p" options set colorf off
check "set colour" 0 "$cli" --program-dir "$p" options set SelForeCol 0x8000000E
check "set boolean" 0 "$cli" --program-dir "$p" options set AlphaSame 1
check "set Japanese text" 0 "$cli" --program-dir "$p" options set Group00 表計算
expect_file "every form" "$opt" '[Options]\r\nListInterleave= 5\r\nWindowX=-100\r\nColorF=OFF\r\nSelForeCol=-2147483634\r\nAlphaSame=-1\r\nGroup00=\x95\x5c\x8c\x76\x8e\x5a\r\n'
while read -r key want; do
  check "get $key" 0 "$cli" --program-dir "$p" options get "$key"
  expect_out "stored $key" "$want\n"
done <<'ROWS'
ListInterleave 5
WindowX -100
ColorF OFF
SelForeCol 0x8000000E
AlphaSame -1
Group00 表計算
ROWS

# Bad input: one line on stderr, file untouched.
cp "$opt" "$tmp/before"
check "unknown key" 2 "$cli" --program-dir "$p" options set NoSuchKey 1
check "not a number" 2 "$cli" --program-dir "$p" options set ListInterleave five
check "not a word" 2 "$cli" --program-dir "$p" options set ColorF yes
check "not a colour" 2 "$cli" --program-dir "$p" options set ListBackCol 0xGG
check "missing value" 2 "$cli" --program-dir "$p" options set ListInterleave
check "no subcommand" 2 "$cli" --program-dir "$p" options
[ "$(wc -l <"$tmp/err")" = 1 ] || { echo "FAIL: bad input gives one line on stderr"; fail=1; }
cmp -s "$opt" "$tmp/before" || { echo "FAIL: bad input changed the file"; fail=1; }

# An older version's file: other sections, unknown keys, comments kept byte
# for byte; an unchanged value leaves the file and its time alone.
printf '; old\r\n[Printer]\r\nName=x\r\n[Options]\r\nListInterleave=5\r\nOldKey=1\r\n\r\n[Tail]\r\nA=1' >"$opt"
touch -d '2001-02-03 04:05:06' "$opt"
check "same value" 0 "$cli" --program-dir "$p" options set ListInterleave 5
[ "$(stat -c %Y "$opt")" = "$(date -d '2001-02-03 04:05:06' +%s)" ] || { echo "FAIL: unchanged value touched the file"; fail=1; }
check "new value" 0 "$cli" --program-dir "$p" options set FileFrames 2
expect_file "older file kept" "$opt" '; old\r\n[Printer]\r\nName=x\r\n[Options]\r\nListInterleave=5\r\nOldKey=1\r\nFileFrames= 2\r\n\r\n[Tail]\r\nA=1'
check "unknown key of an older version" 0 "$cli" --program-dir "$p" options get oldkey
expect_out "older key's value" "1\n"

exit $fail
