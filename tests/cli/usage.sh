#!/usr/bin/env bash
# How every command of zevro-cli behaves as a Unix tool: its own --help and
# -h (usage, options, exit statuses; exit 0), a one-line error that names an
# unknown option and the command's --help (exit 2), the exit statuses of
# done, refused or not found, and bad input, JSON lines of search and dump,
# switches turned off for one run, catalog titles, and the progress line,
# which only a terminal gets.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
mkdir -p "$prog" "$tmp/one/DOCS" "$tmp/empty"
z() { "$cli" --program-dir "$prog" "$@"; }

for f in DOCS/README.TXT readme.md 'ｶﾞｲﾄﾞ.txt' 'tab	name.txt'; do printf 'x' >"$tmp/one/$f"; done
printf 'K\t%s\tHD\tDISC1\nL\t%s/absent\tCD\n' "$tmp/one" "$tmp" >"$prog/drives.map"

# --- Help of every command ---------------------------------------------------------
commands="catalogs info dump options drives read search title extract print"
for c in $commands; do
  for h in --help -h; do
    check "$c $h" 0 z $c $h
    expect "$c $h: usage line" "Usage: zevro-cli [--program-dir DIR] $c" "$(head -1 "$tmp/out" | cut -d' ' -f1-5)"
    grep -q '^Exit status:' "$tmp/out" || { echo "FAIL: $c $h: no exit statuses"; fail=1; }
    grep -q -- '--help' "$tmp/out" || { echo "FAIL: $c $h: no options"; fail=1; }
    expect "$c $h: nothing on stderr" "" "$(cat "$tmp/err")"
  done
  check "$c: help after other arguments" 0 z $c K: --help
done
check "the tool's help names the commands' help" 0 z --help
grep -q 'COMMAND --help' "$tmp/out" || { echo "FAIL: no hint at COMMAND --help"; fail=1; }

# --- Unknown options: one line naming the option and the command's help ----------
for c in $commands; do
  check "$c --frobnicate" 2 z $c --frobnicate
  expect "$c: the error line" "zevro-cli: $c: unknown option --frobnicate (see zevro-cli $c --help)" "$(cat "$tmp/err")"
  expect "$c: no output" "" "$(cat "$tmp/out")"
done

# --- Catalog titles -----------------------------------------------------------------
check "read with a catalog title" 0 z read --catalog-title "写真 2025" K:
one=$(cat "$tmp/out")
expect "the list file" "_00HD_DISC1.cct" "$one"
check "catalogs" 0 z catalogs
expect "the catalog title is listed" "_00hd_disc1.cct	写真 2025" "$(cat "$tmp/out")"
touch -d '2001-02-03 04:05:06' "$prog/Catalog/$one"
check "title" 0 z title _00hd_DISC1.CCT "家族 2026"
expect "title prints the file" "$one" "$(cat "$tmp/out")"
z catalogs >"$tmp/out"
expect "the new title in the index" "_00hd_disc1.cct	家族 2026" "$(cat "$tmp/out")"
z info "$one" >"$tmp/out"
expect "the new title in the file" "家族 2026" "$(awk -F'\t' '$1 == "title" { print $2 }' "$tmp/out")"
expect "a new file time" "0" "$(find "$prog/Catalog" -name "$one" ! -newermt 2002-01-01 | wc -l)"
expect "one catalog file" "1" "$(ls "$prog/Catalog" | grep -ci '\.cct$')"
check "title of a catalog that is not there" 2 z title _00HD_NONE.cct X
check "title without text" 2 z title "$one"
check "an empty title" 2 z title "$one" ""

# --- Switches both ways: --no-case beats a stored switch, for this run only ---------
found() { cut -f2 "$tmp/out" | tr '\n' '|'; }
check "stored case folding" 0 z options set AlphaSame -1
check "stored switch holds" 0 z search readme
expect "any case" "readme.md|DOCS\\README.TXT|" "$(found)"
check "--no-case" 0 z search readme --no-case
expect "only as written" "readme.md|" "$(found)"
z options get AlphaSame >"$tmp/out"
expect "nothing saved" "-1" "$(cat "$tmp/out")"
z options set HanZenSame -1 >/dev/null
check "stored width folding" 0 z search ガイド
check "--no-width" 1 z search ガイド --no-width
z options set HanZenSame 0 >/dev/null
z options set UseWildCard -1 >/dev/null
check "stored patterns" 0 z search 'READ*TXT'
check "--no-pattern" 1 z search 'READ*TXT'  --no-pattern
z options set FindTerm -1 >/dev/null
check "stored whole words" 1 z search EADM
check "--no-word" 0 z search EADM --no-word
check "the last of --case and --no-case holds" 0 z search README --no-case --case --no-word
expect "both" "readme.md|DOCS\\README.TXT|" "$(found)"

# --- JSON lines -----------------------------------------------------------------------
check "search --json" 0 z search readme --json
expect "one object a line" "2" "$(jq -c . "$tmp/out" | wc -l)"
expect "the fields" "title path date comment file" "$(head -1 "$tmp/out" | jq -r 'keys_unsorted | join(" ")')"
expect "the path" "DOCS\\README.TXT" "$(sed -n 2p "$tmp/out" | jq -r .path)"
check "search --json of a name with a TAB" 0 z search name.txt --json
expect "the name as on the medium" "tab	name.txt" "$(jq -r .path "$tmp/out")"
check "dump --json" 0 z dump --json "$one"
z dump "$one" >"$tmp/tsv"
expect "as many lines as the TAB form" "$(wc -l <"$tmp/tsv")" "$(jq -c . "$tmp/out" | wc -l)"
expect "the keys" "level kind treeflags field0 field1 field2 field3 field4 field5 field6 field7" \
  "$(head -1 "$tmp/out" | jq -r 'keys_unsorted | join(" ")')"
expect "the numbers of the TAB form" "$(cut -f1-3 "$tmp/tsv" | tr '\t' ' ')" \
  "$(jq -r '"\(.level) \(.kind) \(.treeflags)"' "$tmp/out")"
expect "names as on the medium" "$(cd "$tmp/one" && ls -A | sort)" \
  "$(jq -r 'select(.level == 1) | .field0' "$tmp/out" | sort)"

check "read --no-local-time" 0 z read --no-local-time --add K:

# --- Exit statuses of every command -----------------------------------------------
while IFS='|' read -r what want args; do
  # shellcheck disable=SC2086
  check "$what" "$want" z $args
done <<TABLE
catalogs: listed|0|catalogs
catalogs: an argument|2|catalogs extra
info: shown|0|info $one
info: no such file|2|info _00HD_NONE.cct
info: two files|2|info $one $one
dump: shown|0|dump $one
dump: no file|2|dump
options: get|0|options get AlphaSame
options: no value to tell|1|options get NoSuchKey
options: set a bad value|2|options set AlphaSame yes
drives: listed|0|drives
drives: an argument|2|drives extra
read: catalogued already|1|read K:
read: no medium in the drive|1|read L:
read: no path|2|read
search: hits|0|search README
search: no hits|1|search absent
search: no term|2|search
title: changed|0|title $one again
title: one argument|2|title $one
TABLE

# --- Progress: only on a terminal, and not with --quiet -----------------------------
check "read, stderr not a terminal" 0 z read --add K:
expect "nothing but the file on stderr" "" "$(cat "$tmp/err")"
if script -qc true /dev/null >/dev/null 2>&1; then
  # script gives the command a terminal; what it wrote comes back on stdout.
  script -qc "'$cli' --program-dir '$prog' read --add K:" /dev/null >"$tmp/tty"
  grep -q 'files, .* folders* read in ' "$tmp/tty" || { echo "FAIL: no summary on a terminal"; cat -A "$tmp/tty"; fail=1; }
  script -qc "'$cli' --program-dir '$prog' read --quiet --add K:" /dev/null >"$tmp/tty"
  grep -q ' read in ' "$tmp/tty" && { echo "FAIL: --quiet shows progress"; fail=1; }
  grep -q '_00HD_DISC1-0' "$tmp/tty" || { echo "FAIL: --quiet: no file name"; cat -A "$tmp/tty"; fail=1; }
fi
exit $fail
