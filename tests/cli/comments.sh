#!/usr/bin/env bash
# zevro-cli read with generated comments: a file list and a readme describe
# their folders and files, the device table and issue dates always apply,
# --comments off reads no index or readme, a readme inside an archive gives
# the archive row its comment; zevro-cli readme-title on single files.
source "$(dirname "$0")/harness.bash"
source "$(dirname "$0")/lzh.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/TOOLS" "$media/GAME" "$media/drivers" "$media/SOFT9912"
z() { "$cli" --program-dir "$prog" "$@"; }
sj() { printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$1"; }  # file, UTF-8 text (written as Shift-JIS)

sj "$media/TOOLS/tools.txt" $'TOOLS  ツール集 ...\r\nSETUP.EXE インストーラ\r\n'
printf 'MZ' >"$media/TOOLS/SETUP.EXE"
sj "$media/GAME/README.TXT" $'パズルランド Ver1.0\r\n\r\n株式会社サンプル\r\n'
sj "$media/notes.txt" $'一行目\r\n二行目\r\n'
# A readme inside an archive: "\x83\x5c" is ソ, whose second byte is "\".
sj "$tmp/readme-body" $'ソフト工房 Ver.2\r\n'
lzh "$media/tool.lzh" 'readme.txt' "$(cat "$tmp/readme-body")" 'tool.exe' 'MZ'

# name<TAB>comment of every row, one a line (the title line first).
comments() {  # read options...
  rm -rf "$prog/Catalog"
  z read --quiet --sort name "$@" "$media" >"$tmp/name" || { echo "FAIL: read $*"; fail=1; return; }
  z dump "$(cat "$tmp/name")" | awk -F'\t' '{ print $4 "\t" $5 }'
}

comments --comments on --archives off --archive-comments on >"$tmp/on"
row() { awk -F'\t' -v n="$2" '$1 == n { print $2; exit }' "$1"; }
expect "a file list names its folder" "ツール集" "$(row "$tmp/on" TOOLS)"
expect "and its files" "インストーラ" "$(row "$tmp/on" SETUP.EXE)"
expect "a readme names its folder" "パズルランド Ver1.0" "$(row "$tmp/on" GAME)"
expect "device folder" "デバイス・ドライバー" "$(row "$tmp/on" drivers)"
expect "issue date" " 99年12月号" "$(row "$tmp/on" SOFT9912)"
expect "a text file's first lines" '一行目\r\n二行目\r\n' "$(row "$tmp/on" notes.txt)"
expect "an archive's readme" "ソフト工房 Ver.2" "$(row "$tmp/on" tool.lzh)"

comments --comments off --archives off --archive-comments on >"$tmp/off"
expect "off: no file list" "" "$(row "$tmp/off" TOOLS)"
expect "off: no file list entries" "" "$(row "$tmp/off" SETUP.EXE)"
expect "off: no readme" "" "$(row "$tmp/off" GAME)"
expect "off: no archive readme" "" "$(row "$tmp/off" tool.lzh)"
expect "off: the device table still applies" "デバイス・ドライバー" "$(row "$tmp/off" drivers)"
expect "off: issue dates still apply" " 99年12月号" "$(row "$tmp/off" SOFT9912)"
expect "off: file rules still apply" '一行目\r\n二行目\r\n' "$(row "$tmp/off" notes.txt)"

# Without the switch the option AutoCreate holds; the switch is not saved.
z options set AutoCreate 0 >/dev/null
comments --archives off >"$tmp/stored"
expect "AutoCreate 0 from the options" "" "$(row "$tmp/stored" GAME)"
comments --comments on --archives off >/dev/null
check "the switch was not saved" 0 z options get AutoCreate
expect "AutoCreate kept" "0" "$(tr -d ' ' <"$tmp/out")"
check "--comments needs on or off" 2 z read --comments maybe "$media"

# --- readme-title ---------------------------------------------------------------------
check "readme-title of a readme" 0 z readme-title "$media/GAME/README.TXT"
expect_out "its title" 'パズルランド Ver1.0\n'
sj "$tmp/empty-title.txt" $'お客様各位\r\n'
check "readme-title without a title" 0 z readme-title "$tmp/empty-title.txt"
expect_out "an empty line" '\n'
printf '\xd0\xcf\x11\xe0binary' >"$tmp/doc.txt"
check "a compound document" 0 z readme-title "$tmp/doc.txt"
expect_out "no title" '\n'
check "a missing file" 2 z readme-title "$tmp/none.txt"
mkfifo "$tmp/fifo.txt"
check "a FIFO is not opened" 2 timeout 10 "$cli" --program-dir "$prog" readme-title "$tmp/fifo.txt"
check "one file only" 2 z readme-title a b

exit $fail
