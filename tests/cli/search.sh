#!/usr/bin/env bash
# zevro-cli search over catalogs made by zevro-cli read from folders mapped
# to drive letters: the rows found agree with what `dump` shows of the same
# list files, the switches and filters change the rows as the search window's
# do, and the exit status tells whether anything was found.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
catalogs=$prog/Catalog
mkdir -p "$prog" "$tmp/one/DOCS/OLD" "$tmp/one/photos" "$tmp/two"

search() { "$cli" --program-dir "$prog" search "$@"; }
# The rows found, as "list file name: path", in the order printed.
found() { cut -f2,5 "$tmp/out" | awk -F'\t' '{ print $2 ": " $1 }' | tr '\n' '|' | sed 's/|$//'; }

for f in DOCS/README.TXT DOCS/OLD/README.TXT readme.md photos/cat.jpg concat.c 'ｶﾞｲﾄﾞ.txt'; do
  printf 'x' >"$tmp/one/$f"
done
for f in README.TXT report_2023_final.txt report_2024_draft.txt notes.txt; do
  printf 'xy' >"$tmp/two/$f"
done
printf 'K\t%s\tHD\tDISC1\nJ\t%s\tFD\n' "$tmp/one" "$tmp/two" >"$prog/drives.map"
check "read K:" 0 "$cli" --program-dir "$prog" read K:
expect "first catalog" "_00HD_DISC1.cct" "$(cat "$tmp/out")"
check "read J:" 0 "$cli" --program-dir "$prog" read --genre 3 --title "Floppy Two" J:
expect "second catalog" "_03FD_Floppy Two.cct" "$(cat "$tmp/out")"
one="_00HD_DISC1.cct"
two="_03FD_Floppy Two.cct"

# --- Rows, fields and exit statuses ---------------------------------------------
check "a term found" 0 search README
expect "README rows" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT" "$(found)"
expect "five fields a line" "3" "$(awk -F'\t' 'NF == 5' "$tmp/out" | wc -l)"
date=$("$cli" --program-dir "$prog" dump "$one" | awk -F'\t' '$4 == "README.TXT" { print $6; exit }')
expect "the date of the row" "$date" "$(head -1 "$tmp/out" | cut -f3)"
check "nothing found" 1 search absent
expect "no output without hits" "" "$(cat "$tmp/out")"

# Every row whose name holds ".txt" in any list file, as dump shows them.
want=0
for f in "$one" "$two"; do
  n=$("$cli" --program-dir "$prog" dump "$f" | awk -F'\t' 'index($4, ".txt") > 0' | wc -l)
  want=$((want + n))
done
check "names holding .txt" 0 search .txt --names
expect "as many rows as dump shows" "$want" "$(wc -l <"$tmp/out")"

# --- Switches -------------------------------------------------------------------
check "case matters by default" 0 search readme
expect "lower case only" "$one: readme.md" "$(found)"
check "--case" 0 search readme --case
expect "any case, in row order" "$one: readme.md|$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT" "$(found)"
check "half-width without --width" 1 search ガイド
check "--width" 0 search ガイド --width
expect "the half-width name" "$one: ｶﾞｲﾄﾞ.txt" "$(found)"
check "a pattern is plain text without --pattern" 1 search 'rep*final'
check "--pattern" 0 search 'rep*final' --pattern
expect "pattern row" "$two: report_2023_final.txt" "$(found)"
check "part of a word" 0 search cat
expect "cat anywhere" "$one: concat.c|$one: photos\\cat.jpg" "$(found)"
check "--word" 0 search cat --word
expect "whole word" "$one: photos\\cat.jpg" "$(found)"
check "the option store holds without the switch" 0 "$cli" --program-dir "$prog" options set AlphaSame -1
check "case folding from the options" 0 search readme
expect "any case from the options" "$one: readme.md|$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT" "$(found)"
check "case folding off again" 0 "$cli" --program-dir "$prog" options set AlphaSame 0

# --- Two terms and columns ---------------------------------------------------------
check "--and" 0 search report --and final
expect "both terms in one row" "$two: report_2023_final.txt" "$(found)"
check "--and never pairs two rows" 1 search final --and draft
check "--or" 0 search final --or README
expect "either term, each row once, in row order" \
  "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT|$two: report_2023_final.txt" "$(found)"
check "--or with both terms in a row" 0 search report --or 2024
expect "one row each" "$two: report_2023_final.txt|$two: report_2024_draft.txt" "$(found)"
check "the volume label is a name" 0 search Floppy --names
expect "title line" "$two: Floppy Two" "$(found)"
check "a file name is no comment" 1 search report --comments
# A medium without other sources gets its title as the catalog title.
check "the medium title is the catalog title, a comment" 0 search Floppy --comments
year=$(echo "$date" | cut -c1-5)
check "a date counts as comment column" 0 search "$year" --comments
check "a date is no name" 1 search "$year" --names

# --- Filters ----------------------------------------------------------------------------
check "--media FD" 0 search README --media FD
expect "floppy only" "$two: README.TXT" "$(found)"
check "--media cd,hd" 0 search README --media cd,hd
expect "hard disk only" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT" "$(found)"
check "--media CD finds nothing here" 1 search README --media CD
check "--genre 3" 0 search README --genre 3
expect "genre 3 only" "$two: README.TXT" "$(found)"
check "--genre 3 --genre 0" 0 search README --genre 3 --genre 0
expect "both genres" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT" "$(found)"
check "--genre 5" 1 search README --genre 5

# The search window's stored filters hold where no option is given.
opts() { "$cli" --program-dir "$prog" options set "$@" >/dev/null || { echo "FAIL: options set $*"; fail=1; }; }
opts MediaMode 2
check "stored media" 0 search README
expect "floppy from the options" "$two: README.TXT" "$(found)"
check "--media over the stored media" 0 search README --media HD
expect "hard disk from the option" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT" "$(found)"
opts MediaMode 7
opts JanreMode 1
opts JanreList 10000000000000000000
check "stored genres" 0 search README
expect "genre 0 from the options" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT" "$(found)"
opts JanreMode 0
check "stored genres off" 0 search README
expect "every genre" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT" "$(found)"
opts SearchMode 2
check "stored columns: comments only" 1 search report
check "--names over the stored columns" 0 search Floppy --names
opts SearchMode 3

# --- Files that cannot be searched -------------------------------------------------
printf 'AX0000000000000000000\001README\002\002\002\000' >"$catalogs/_00CD_OLD.cct"
printf 'BX garbage' >"$catalogs/_00CD_BAD.cct"
check "old and damaged files do not stop the search" 0 search README
expect "rows of the other catalogs" "$one: DOCS\\README.TXT|$one: DOCS\\OLD\\README.TXT|$two: README.TXT" "$(found)"
grep -q "_00CD_OLD.cct is of the older layout" "$tmp/err" || { echo "FAIL: no note of the old file"; cat "$tmp/err"; fail=1; }
grep -q "_00CD_BAD.cct is no readable list file" "$tmp/err" || { echo "FAIL: no note of the damaged file"; cat "$tmp/err"; fail=1; }
expect "one note each" "2" "$(wc -l <"$tmp/err")"
rm "$catalogs/_00CD_OLD.cct" "$catalogs/_00CD_BAD.cct"

# --- Bad input ------------------------------------------------------------------------
check "a one-byte term" 2 search a
check "a one-byte half-width katakana" 2 search ｱ
check "one full-width character is enough" 1 search ａ
check "no term" 2 search
check "two terms without a condition" 2 search one two
check "--and with --or" 2 search one --and two --or three
check "--and without a term" 2 search one --and
check "unknown medium" 2 search README --media DVD
check "genre out of range" 2 search README --genre 20
check "unknown option" 2 search README --frobnicate

exit $fail
