#!/usr/bin/env bash
# zevro-cli extract on LZH archives written here byte by byte (level-0
# headers, stored members): one member by its catalog path, every member,
# the exit statuses, and members that would land outside the folder, a link
# in the way and an existing file, none of which is ever written.
source "$(dirname "$0")/harness.bash"
z() { "$cli" "$@"; }

source "$(dirname "$0")/lzh.bash"

# 表 is 0x95 0x5C: its second byte is a "\".
lzh "$tmp/tool.lzh" 'doc\\\x95\x5c readme.txt' 'hello' 'tool.exe' 'MZ'

# --- One member, by the path a catalog row gives ------------------------------------
check "one member" 0 z extract "$tmp/tool.lzh" 'DOC\表 README.TXT' --to "$tmp/one/new"
expect_out "its path on stdout" 'doc/表 readme.txt\n'
expect "its bytes" "hello" "$(cat "$tmp/one/new/doc/表 readme.txt")"
expect "nothing else" "1" "$(find "$tmp/one" -type f | wc -l)"

# --- Every member -------------------------------------------------------------------
check "every member" 0 z extract "$tmp/tool.lzh" --to "$tmp/all"
expect_out "both paths" 'doc/表 readme.txt\ntool.exe\n'
check "again: both exist" 1 z extract "$tmp/tool.lzh" --to "$tmp/all"
expect_out "nothing written" ''
expect "both reported" "$(printf 'doc/表 readme.txt\texists\ntool.exe\texists')" "$(cat "$tmp/err")"
printf 'mine' >"$tmp/all/tool.exe"
check "an existing file" 1 z extract "$tmp/tool.lzh" tool.exe --to "$tmp/all"
expect "it is kept" "mine" "$(cat "$tmp/all/tool.exe")"
check "a missing member" 1 z extract "$tmp/tool.lzh" nothing.txt --to "$tmp/all"
expect "reported" "$(printf 'nothing.txt\tnot found')" "$(cat "$tmp/err")"

# --- Members that would land outside ----------------------------------------------
lzh "$tmp/bad.lzh" '../up.txt' 'x' '..\\up2.txt' 'x' '/tmp/abs.txt' 'x' 'C:\\drive.txt' 'x' \
  'link\\x.txt' 'x' 'ok.txt' 'ok'
mkdir -p "$tmp/bad" "$tmp/elsewhere"
ln -s "$tmp/elsewhere" "$tmp/bad/link"
check "unsafe members" 1 z extract "$tmp/bad.lzh" --to "$tmp/bad"
expect_out "only the safe one" 'ok.txt\n'
# Reported by their paths with "/" between folders.
expect "each refusal" "$(printf '../up.txt\tunsafe path\n../up2.txt\tunsafe path\n/tmp/abs.txt\tunsafe path\nC:/drive.txt\tunsafe path\nlink/x.txt\tunsafe path')" "$(cat "$tmp/err")"
expect "nothing outside" "0" "$(find "$tmp/elsewhere" "$tmp/up.txt" "$tmp/up2.txt" -type f 2>/dev/null | wc -l)"

# --- Bad input ----------------------------------------------------------------------
check "no --to" 2 z extract "$tmp/tool.lzh"
check "no archive" 2 z extract --to "$tmp/x"
printf 'junk' >"$tmp/junk.zip"
check "not an archive" 2 z extract "$tmp/junk.zip" --to "$tmp/x"
check "a missing archive" 2 z extract "$tmp/none.lzh" --to "$tmp/x"
check "not an archive type" 2 z extract "$tmp/tool.txt" --to "$tmp/x"

exit $fail
