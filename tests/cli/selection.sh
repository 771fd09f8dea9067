#!/usr/bin/env bash
# zevro-cli selection, genres and move: the catalog selection list, the genre
# table and moving a catalog between genres, on the files the desktop program
# uses (CatList.CCZ, CatJan.CCZ).
source "$(dirname "$0")/harness.bash"
list_file() {  # path, label, title (CP932 bytes as a printf format)
  { printf 'BX%062d' 0; printf "\x10$2\x11$3\x12\x13\x14"; printf '0\x10README.TXT\x11\x12\x13\x14'; printf '0\0'; } >"$1"
}
state_of() {  # genre number -> its state character in CatJan.CCZ
  dd if="$c/CatJan.CCZ" bs=1 skip=$((200 + $1)) count=1 2>/dev/null
}

p=$tmp/p
c=$p/Catalog
mkdir -p "$c"
check "option Group01" 0 "$cli" --program-dir "$p" options set Group01 Foo
list_file "$c/_00CD_GAMES.cct" GAMES '\x83\x51\x81\x5b\x83\x80'   # ゲーム
list_file "$c/_00hd_Docs.CCT" DOCS ''
list_file "$c/_04FD_TOOLS.cct" TOOLS 'Tools'
list_file "$c/_27CD_HIGH.cct" HIGH 'High'

# No CatJan.CCZ yet: migrated from the options and the files, written first.
check "genres, migrated" 0 "$cli" --program-dir "$p" genres
expect_out "genres 00, 01 (option), 04 (files) in order; list files counted" \
  '00\tジャンル00\t0\t2\n01\tFoo\t0\t0\n04\tジャンル04\t0\t1\n'
expect "CatJan.CCZ written" yes "$([ -f "$c/CatJan.CCZ" ] && echo yes)"
expect "names length counts characters" "0036" "$(dd if="$c/CatJan.CCZ" bs=1 skip=300 count=4 2>/dev/null)"

check "selection, grouped" 0 "$cli" --program-dir "$p" selection --grouped
expect_out "closed genres, hidden catalogs, genre 27 after the table" \
  '0\t5\t1\tジャンル00\t00\n1\t1\t0\tゲーム\t_00cd_games.cct\n1\t3\t0\t無題(DOCS)\t_00hd_docs.cct\n0\t5\t1\tFoo\t01\n0\t5\t1\tジャンル04\t04\n1\t2\t0\tTools\t_04fd_tools.cct\n0\t4\t1\tジャンル27\t27\n1\t1\t1\tHigh\t_27cd_high.cct\n'
check "selection, by title, CD and HD" 0 "$cli" --program-dir "$p" selection --by-title --media CD,hd
expect_out "one flat list by title" \
  '0\t1\t1\tHigh\t_27cd_high.cct\n0\t1\t1\tゲーム\t_00cd_games.cct\n0\t3\t1\t無題(DOCS)\t_00hd_docs.cct\n'
check "bad medium" 2 "$cli" --program-dir "$p" selection --media CD,XD

# Genre commands.
check "add" 0 "$cli" --program-dir "$p" genres add 'ポ|表'
expect_out "lowest free number" '02\n'
check "rename" 0 "$cli" --program-dir "$p" genres rename 1 'Bar'
check "up" 0 "$cli" --program-dir "$p" genres up 02
check "first up: nothing" 0 "$cli" --program-dir "$p" genres up 00
check "last down: nothing" 0 "$cli" --program-dir "$p" genres down 04
check "genres after the changes" 0 "$cli" --program-dir "$p" genres
expect_out "the bar stored full-width, genre 02 before 04" \
  '00\tジャンル00\t0\t2\n01\tBar\t0\t0\n02\tポ｜表\t0\t0\n04\tジャンル04\t0\t1\n'
check "delete a genre holding files: refused" 1 "$cli" --program-dir "$p" genres delete 4
check "a genre not in use" 2 "$cli" --program-dir "$p" genres delete 7
check "not a genre number" 2 "$cli" --program-dir "$p" genres up 123

# Moving a catalog.
cp "$c/_04FD_TOOLS.cct" "$tmp/tools"
list_file "$c/_01fd_tools.CCT" OTHER 'Other'
check "move onto an existing name: refused" 1 "$cli" --program-dir "$p" move _04fd_tools.cct 1
cmp -s "$c/_04FD_TOOLS.cct" "$tmp/tools" || { echo "FAIL: refused move changed the file"; fail=1; }
rm "$c/_01fd_tools.CCT"
check "move" 0 "$cli" --program-dir "$p" move _04fd_tools.cct 1
expect_out "the new name as on disk" '_01FD_TOOLS.cct\n'
expect "genre 01 opened" 3 "$(state_of 1)"
check "same genre" 0 "$cli" --program-dir "$p" move _01FD_TOOLS.cct 01
check "delete the emptied genre" 0 "$cli" --program-dir "$p" genres delete 04
check "genres after the move" 0 "$cli" --program-dir "$p" genres
expect_out "later genres keep their order" \
  '00\tジャンル00\t0\t2\n01\tBar\t3\t1\n02\tポ｜表\t0\t0\n'
check "catalogs: the moved one entered under its new name" 0 "$cli" --program-dir "$p" catalogs
grep -q '^_01fd_tools.cct	Tools$' "$tmp/out" || { echo "FAIL: new index entry"; cat "$tmp/out"; fail=1; }
grep -q '_04fd_tools' "$tmp/out" && { echo "FAIL: old index entry kept"; fail=1; }
check "move: no such catalog" 2 "$cli" --program-dir "$p" move _00cd_none.cct 1

# Twenty genres: no more.
for n in $(seq 1 17); do "$cli" --program-dir "$p" genres add "G$n" >/dev/null 2>&1; done
check "the 21st genre" 1 "$cli" --program-dir "$p" genres add Extra
grep -q 'これ以上の追加はできません' "$tmp/err" || { echo "FAIL: full message"; cat "$tmp/err"; fail=1; }
exit $fail
