#!/usr/bin/env bash
# zevro-cli search --export FILE: the rows the plain search prints, in the
# same order, written as the search window's Save writes them (CSV with a
# header when the extension is CSV in any case, else fixed text columns;
# CP932, CR LF), nothing printed, the same exit status.
source "$(dirname "$0")/harness.bash"
export LC_ALL=C.UTF-8  # widths below count characters
prog=$tmp/prog
mkdir -p "$prog" "$tmp/one/DOCS" "$tmp/two"
search() { "$cli" --program-dir "$prog" search "$@"; }

for f in 'DOCS/a"b,c.txt' 'DOCS/ｶﾞｲﾄﾞ.txt' 'DOCS/漢字のファイル名.txt' plain.txt; do
  printf 'x' >"$tmp/one/$f"
done
printf 'xy' >"$tmp/two/notes.txt"
printf 'K\t%s\tHD\tDISC1\nJ\t%s\tFD\n' "$tmp/one" "$tmp/two" >"$prog/drives.map"
check "read K:" 0 "$cli" --program-dir "$prog" read K:
check "read J:" 0 "$cli" --program-dir "$prog" read --title 'Disc "2" a title longer than twelve' J:

# Names, and the title row whose comment is the long title.
check "plain search" 0 search .txt --or twelve
cp "$tmp/out" "$tmp/plain"
expect "six rows found" "6" "$(wc -l <"$tmp/plain")"

# The CSV the window writes, made from the printed rows: quotes doubled,
# every value quoted, CR LF after each line, CP932.
{
  printf '"カタログ名","Folder/File","日付","コメント"\r\n'
  awk -F'\t' '{
    line = ""
    for (k = 1; k <= 4; k++) { v = $k; gsub(/"/, "\"\"", v); line = line (k > 1 ? "," : "") "\"" v "\"" }
    printf "%s\r\n", line
  }' "$tmp/plain"
} | iconv -f UTF-8 -t CP932 >"$tmp/want.csv"

check "--export to .csv" 0 search .txt --or twelve --export "$tmp/found.csv"
expect "nothing printed" "" "$(cat "$tmp/out")"
cmp "$tmp/found.csv" "$tmp/want.csv" || { echo "FAIL: CSV bytes"; fail=1; }
grep -q 'a""b,c.txt"' <(iconv -f CP932 -t UTF-8 "$tmp/found.csv") >/dev/null || { echo "FAIL: doubled quote"; fail=1; }

check "--export to .Csv picks CSV too" 0 search .txt --or twelve --export "$tmp/found.Csv"
cmp "$tmp/found.Csv" "$tmp/want.csv" || { echo "FAIL: .Csv bytes"; fail=1; }

# Text form: title in 30, path in 40, date's first 8, comment right in 12
# (never cut), trailing blanks gone; widths count characters.
pad() { local s=$1 n=$2; local len=${#s}; if [ "$len" -ge "$n" ]; then printf '%s' "${s:0:$n}"; else printf '%s%*s' "$s" $((n - len)) ''; fi; }
{
  while IFS= read -r row; do
    title=$(cut -f1 <<<"$row") path=$(cut -f2 <<<"$row") date=$(cut -f3 <<<"$row") comment=$(cut -f4 <<<"$row")
    line="$(pad "$title" 30) $(pad "$path" 40) $(pad "$date" 8) $(printf '%*s' $(( ${#comment} > 12 ? ${#comment} : 12 )) "$comment")"
    line="${line%"${line##*[! ]}"}"
    printf '%s\r\n' "$line"
  done <"$tmp/plain"
} | iconv -f UTF-8 -t CP932 >"$tmp/want.txt"
check "--export to .txt" 0 search .txt --or twelve --export "$tmp/found.txt"
expect "nothing printed for text" "" "$(cat "$tmp/out")"
cmp "$tmp/found.txt" "$tmp/want.txt" || { echo "FAIL: text bytes"; diff <(iconv -f CP932 -t UTF-8 "$tmp/found.txt" | cat -A) <(iconv -f CP932 -t UTF-8 "$tmp/want.txt" | cat -A); fail=1; }

check "a doubled-looking name is kept" 0 search .txt --or twelve --export "$tmp/data.v2.CSV"
cmp "$tmp/data.v2.CSV" "$tmp/want.csv" || { echo "FAIL: data.v2.CSV"; fail=1; }

# One row and no row still give a file (the window's beep is not the script's).
check "one row" 0 search notes --export "$tmp/one.csv"
expect "header and one row" "2" "$(wc -l <"$tmp/one.csv")"
check "no row: status 1" 1 search absent --export "$tmp/none.csv"
expect "header only" '"カタログ名","Folder/File","日付","コメント"' "$(iconv -f CP932 -t UTF-8 "$tmp/none.csv" | tr -d '\r')"
check "no row, text form" 1 search absent --export "$tmp/none.txt"
expect "an empty text file" "0" "$(wc -c <"$tmp/none.txt")"

check "--export without a file" 2 search .txt --export
check "--export twice" 2 search .txt --export a.csv --export b.csv
check "an unwritable place" 2 search .txt --or twelve --export "$tmp/no/such/folder/x.csv"
grep -q "cannot write" "$tmp/err" || { echo "FAIL: write error named"; fail=1; }
exit $fail
