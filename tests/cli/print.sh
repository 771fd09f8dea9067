#!/usr/bin/env bash
# zevro-cli print: a catalog made by zevro-cli read and the results of a
# search printed into PDF files, checked with poppler's pdfinfo and
# pdftotext: the page count, "No.k" on page k, a page range that equals the
# same pages of the whole print, and no file when nothing is printed.
source "$(dirname "$0")/harness.bash"
if ! command -v pdfinfo >/dev/null || ! command -v pdftotext >/dev/null; then
  echo "SKIP: poppler-utils (pdfinfo, pdftotext) not installed"; exit 0
fi
if ! "$cli" --help | grep -q '^  print '; then
  echo "SKIP: this zevro-cli was built without Qt Gui"; exit 0
fi
prog=$tmp/prog
mkdir -p "$prog" "$tmp/disc/DOCS/OLD" "$tmp/disc/写真"
for i in $(seq 1 150); do printf 'x' >"$tmp/disc/DOCS/file$i.txt"; done
for i in $(seq 1 40); do printf 'xy' >"$tmp/disc/写真/写真その$i.jpg"; done
printf 'old' >"$tmp/disc/DOCS/OLD/README.TXT"
printf 'K\t%s\tCD\tDISC1\n' "$tmp/disc" >"$prog/drives.map"
check "read K:" 0 "$cli" --program-dir "$prog" read K:
list=$(cat "$tmp/out")
rows=$("$cli" --program-dir "$prog" dump "$list" | wc -l)

print() { "$cli" --program-dir "$prog" print "$@"; }
pages() { pdfinfo "$1" | awk '/^Pages:/ { print $2 }'; }
# The text of page k of a PDF.
page_text() { pdftotext -f "$2" -l "$2" -layout "$1" -; }

# --- The whole list ---------------------------------------------------------------
check "print the list" 0 print "$list" --pdf "$tmp/all.pdf"
n=$(cut -f2 "$tmp/out")
expect "stdout names the pages" "pages	$n" "$(cat "$tmp/out")"
expect "pdfinfo agrees" "$n" "$(pages "$tmp/all.pdf")"
expect "A4, the whole sheet" "595 x 842 pts (A4)" "$(pdfinfo "$tmp/all.pdf" | sed -n 's/^Page size: *//p')"
[ "$n" -ge 3 ] || { echo "FAIL: $rows rows should take 3 pages at least, got $n"; fail=1; }
for k in $(seq 1 "$n"); do
  page_text "$tmp/all.pdf" "$k" | grep -q "No\.$k\b" || { echo "FAIL: No.$k not on page $k"; fail=1; }
done
page_text "$tmp/all.pdf" 1 | grep -q "CD:" || { echo "FAIL: the title"; fail=1; }
page_text "$tmp/all.pdf" 1 | grep -q "Folder/File" || { echo "FAIL: the column header"; fail=1; }
all_names=$(pdftotext "$tmp/all.pdf" - | grep -c 'file[0-9]*\.txt')
expect "every file row printed once" "150" "$all_names"
pdftotext "$tmp/all.pdf" - | grep -q "写真その40.jpg" || { echo "FAIL: Japanese names"; fail=1; }
ls "$tmp" | grep -q '\.part' && { echo "FAIL: a temporary file was left"; fail=1; }

# --- A page range -------------------------------------------------------------------
check "page 2 only" 0 print "$list" --from 2 --to 2 --pdf "$tmp/two.pdf"
expect "one page" "pages	1" "$(cat "$tmp/out")"
expect "page 2 of the whole print" "$(page_text "$tmp/all.pdf" 2)" "$(page_text "$tmp/two.pdf" 1)"
check "from 2 to the end" 0 print "$list" --from 2 --pdf "$tmp/rest.pdf"
expect "the rest" "$((n - 1))" "$(pages "$tmp/rest.pdf")"
check "a range past the end" 1 print "$list" --from 50 --pdf "$tmp/none.pdf"
[ -e "$tmp/none.pdf" ] && { echo "FAIL: a file without pages"; fail=1; }
grep -q "nothing printed" "$tmp/err" || { echo "FAIL: no message"; fail=1; }

# --- Views and settings -----------------------------------------------------------
check "folders only" 0 print "$list" --folders-only --pdf "$tmp/folders.pdf"
expect "folders only fit one page" "pages	1" "$(cat "$tmp/out")"
pdftotext "$tmp/folders.pdf" - | grep -q 'file1\.txt' && { echo "FAIL: a file among the folders"; fail=1; }
pdftotext "$tmp/folders.pdf" - | grep -q 'OLD' || { echo "FAIL: the folder OLD"; fail=1; }
check "files of DOCS\\OLD" 0 print "$list" --files-of 'DOCS\OLD' --pdf "$tmp/files.pdf"
pdftotext "$tmp/files.pdf" - | grep -q 'README.TXT' || { echo "FAIL: the file of OLD"; fail=1; }
pdftotext "$tmp/files.pdf" - | grep -q 'DOCS\\OLD' || { echo "FAIL: the folder line"; fail=1; }
check "an unknown folder" 2 print "$list" --files-of 'NOPE' --pdf "$tmp/x.pdf"
check "the largest font and gap take more pages" 0 print "$list" --set SizeIndex=4 --set GapIndex=3 --pdf "$tmp/big.pdf"
[ "$(cut -f2 "$tmp/out")" -gt "$n" ] || { echo "FAIL: more pages with a larger font"; fail=1; }
check "A3 takes fewer pages" 0 print "$list" --paper A3 --pdf "$tmp/a3.pdf"
[ "$(cut -f2 "$tmp/out")" -lt "$n" ] || { echo "FAIL: fewer pages on A3"; fail=1; }
check "nothing stored" 0 "$cli" --program-dir "$prog" options get SizeIndex
expect "the stored size stays" "1" "$(tr -d ' ' <"$tmp/out")"

# --- Search results -------------------------------------------------------------
check "print a search" 0 print --search README --pdf "$tmp/found.pdf"
expect "one page" "pages	1" "$(cat "$tmp/out")"
pdftotext "$tmp/found.pdf" - | grep -q '検索結果【README】' || { echo "FAIL: the search title"; fail=1; }
pdftotext "$tmp/found.pdf" - | grep -q 'Catalog Title' || { echo "FAIL: the result header"; fail=1; }
check "search options before and after --search" 0 print --case --search readme --names --pdf "$tmp/found2.pdf"
expect "the same rows" "$(pdftotext "$tmp/found.pdf" - | grep -c README.TXT)" "$(pdftotext "$tmp/found2.pdf" - | grep -c README.TXT)"
check "a search option without --search" 2 print "$list" --case --pdf "$tmp/x.pdf"
check "a search finding nothing" 1 print --search absent --pdf "$tmp/empty.pdf"
[ -e "$tmp/empty.pdf" ] && { echo "FAIL: a file without rows"; fail=1; }

# --- Bad arguments -------------------------------------------------------------------
check "no --pdf" 2 print "$list"
check "--from 0" 2 print "$list" --from 0 --pdf "$tmp/x.pdf"
check "--to below --from" 2 print "$list" --from 3 --to 2 --pdf "$tmp/x.pdf"
check "--to 201" 2 print "$list" --to 201 --pdf "$tmp/x.pdf"
check "an unknown key" 2 print "$list" --set Colour=1 --pdf "$tmp/x.pdf"
check "an unknown paper" 2 print "$list" --paper A5 --pdf "$tmp/x.pdf"
check "no such list" 2 print nothing.cct --pdf "$tmp/x.pdf"
printf 'not a list' >"$tmp/bad.cct"
check "not a list file" 2 print "$tmp/bad.cct" --pdf "$tmp/x.pdf"
[ -e "$tmp/x.pdf" ] && { echo "FAIL: a file after bad arguments"; fail=1; }

exit $fail
