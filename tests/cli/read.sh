#!/usr/bin/env bash
# zevro-cli read as a script would use it: a folder mapped to a drive letter
# and plain folders of this machine are catalogued, `dump` of the list file
# agrees with `find` on the files and their sizes, an existing catalog is
# kept unless --replace (or --add) is given.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
catalogs=$prog/Catalog
media=$tmp/media
mkdir -p "$prog" "$media"


# Files and sizes as find sees them, with what the walk leaves out pruned:
# folders named RECYCLED or starting with ".", and (root of a drive only)
# the title file. Prints "count total".
find_totals() {  # folder [extra find arguments that prune]
  local dir=$1; shift
  find "$dir" -mindepth 1 \( -type d \( -name RECYCLED -o -name '.*' \) -prune \) -o \
    \( "$@" ! -type d -printf '%s\n' \) | awk '{n++; s+=$1} END {printf "%d %d\n", n, s}'
}
# The same from a list file: rows of kind above 5 are files. Prints "count total title-size".
dump_totals() {  # list file name
  "$cli" --program-dir "$prog" dump "$1" | awk -F'\t' '
    NR == 1 { title = $7; gsub(",", "", title) }
    $2 > 5 { n++; size = $7; gsub(",", "", size); s += size }
    END { printf "%d %d %d\n", n, s, title }'
}

# --- A medium mapped to a letter -------------------------------------------------
mkdir -p "$media/DOCS/OLD" "$media/RECYCLED" "$media/.git" "$media/Recycled" "$media/empty"
head -c 1234567 /dev/zero >"$media/big.bin"
printf 'x' >"$media/DOCS/one.txt"
head -c 999 /dev/zero >"$media/DOCS/OLD/n.dat"
printf 'gone' >"$media/RECYCLED/r"
printf 'gone' >"$media/.git/g"
printf 'kept' >"$media/Recycled/k"
printf 'TITLE\r\n' >"$media/VolName.txt"
ln -s .. "$media/DOCS/loop"
mkfifo "$media/DOCS/pipe.txt"
printf 'K\t%s\tHD\tMYMEDIA\n' "$media" >"$prog/drives.map"

check "read a mapped drive" 0 "$cli" --program-dir "$prog" read K:
name=$(cat "$tmp/out")
expect "list file name" "_00HD_MYMEDIA.cct" "$name"
expect "nothing on stderr" "" "$(cat "$tmp/err")"
[ -f "$catalogs/$name" ] || { echo "FAIL: list file missing"; fail=1; }
want=$(find_totals "$media" ! -path "$media/VolName.txt")
got=$(dump_totals "$name")
expect "files and total of the drive" "$want" "${got% *}"
expect "title line holds the total" "${want#* }" "${got##* }"
check "catalogs" 0 "$cli" --program-dir "$prog" catalogs
grep -q "^_00hd_mymedia.cct	" "$tmp/out" || { echo "FAIL: catalog not in the index"; cat "$tmp/out"; fail=1; }

# --- An existing catalog --------------------------------------------------------------
cp "$catalogs/$name" "$tmp/before"
printf 'new' >"$media/new.txt"
check "existing catalog kept without --replace" 1 "$cli" --program-dir "$prog" read K:
grep -q "catalogued already as _00HD_MYMEDIA.cct" "$tmp/err" || { echo "FAIL: kept message"; cat "$tmp/err"; fail=1; }
cmp -s "$tmp/before" "$catalogs/$name" || { echo "FAIL: the kept catalog changed"; fail=1; }

check "--replace in the same genre" 0 "$cli" --program-dir "$prog" read --replace K:
expect "replaced name" "_00HD_MYMEDIA.cct" "$(cat "$tmp/out")"
want=$(find_totals "$media" ! -path "$media/VolName.txt")
got=$(dump_totals "$name")
expect "replaced catalog has the new file" "$want" "${got% *}"
cmp -s "$tmp/before" "$prog/Backup/_00HD_MYMEDIA.cct" || { echo "FAIL: the replaced list is not kept in Backup"; fail=1; }

check "--add reads another list" 0 "$cli" --program-dir "$prog" read --add K:
expect "numbered name" "_00HD_MYMEDIA-01.cct" "$(cat "$tmp/out")"

check "--replace into another genre" 0 "$cli" --program-dir "$prog" read --replace --genre 3 K:
expect "name in genre 3" "_03HD_MYMEDIA.cct" "$(cat "$tmp/out")"
[ -f "$catalogs/_00HD_MYMEDIA.cct" ] && { echo "FAIL: the replaced catalog is still there"; fail=1; }
[ -f "$prog/Backup/_00HD_MYMEDIA.cct" ] || { echo "FAIL: the replaced catalog is not in Backup"; fail=1; }
check "catalogs after the move" 0 "$cli" --program-dir "$prog" catalogs
expect "index entries" "_00hd_mymedia-01.cct _03hd_mymedia.cct" "$(cut -f1 "$tmp/out" | sort | tr '\n' ' ' | sed 's/ $//')"

check "--replace and --add together" 2 "$cli" --program-dir "$prog" read --replace --add K:
check "unknown option" 2 "$cli" --program-dir "$prog" read --frobnicate K:
check "no path" 2 "$cli" --program-dir "$prog" read

# --- No medium: nothing is made ------------------------------------------------------------
printf 'L\t%s/absent\tCD\n' "$tmp" >>"$prog/drives.map"
ls "$catalogs" >"$tmp/catalogs-before"
check "a drive without medium" 1 "$cli" --program-dir "$prog" read L:
ls "$catalogs" | cmp -s - "$tmp/catalogs-before" || { echo "FAIL: a catalog appeared"; fail=1; }
check "not a folder" 2 "$cli" --program-dir "$prog" read "$media/big.bin"

# --- A removable medium gets its title from --title ----------------------------------------
mkdir -p "$tmp/stick"
printf 'data' >"$tmp/stick/a.txt"
printf 'J\t%s\tFD\n' "$tmp/stick" >>"$prog/drives.map"
check "a removable medium without title" 2 "$cli" --program-dir "$prog" read J:
grep -q -- "--title" "$tmp/err" || { echo "FAIL: no hint at --title"; cat "$tmp/err"; fail=1; }
[ -e "$tmp/stick/VolName.txt" ] && { echo "FAIL: a title file was written without a title"; fail=1; }
check "a removable medium with --title" 0 "$cli" --program-dir "$prog" read --title "My Disk" J:
expect "name from the title" "_00FD_My Disk.cct" "$(cat "$tmp/out")"
expect "the title file on the medium" "My Disk" "$(head -1 "$tmp/stick/VolName.txt" | tr -d '\r')"

# --- Folders of this machine, through the letter that holds them -----------------------------
check "a folder below a mapped root" 0 "$cli" --program-dir "$prog" read "$media/DOCS/"
expect "folder catalog name" "_00HD_MYMEDIA DOCS.cct" "$(cat "$tmp/out")"
want=$(find_totals "$media/DOCS")
got=$(dump_totals "_00HD_MYMEDIA DOCS.cct")
expect "files and total of the folder" "$want" "${got% *}"

for real in /usr/share/zoneinfo /usr/include; do
  [ -d "$real" ] || continue
  check "read $real" 0 "$cli" --program-dir "$prog" read "$real"
  name=$(cat "$tmp/out")
  want=$(find_totals "$real")
  got=$(dump_totals "$name")
  expect "files and total of $real" "$want" "${got% *}"
  expect "title line of $real" "${want#* }" "${got##* }"
done

# List times: nine hours after UTC by default; the option LocalListTime (or
# --local-time) takes the machine's own zone (UTC in this test).
zone=$tmp/zone
mkdir -p "$zone/T"
touch -d '2001-02-03 04:05:00 UTC' "$zone/T/f.txt"
# Folders holding only files get the file mark (16) and no child mark (1),
# as the desktop program stores them: no expand box that opens nothing.
"$cli" --program-dir "$prog" dump _03HD_MYMEDIA.cct >"$tmp/rows"
bad=$(awk -F'\t' '{ level[NR] = $1; kind[NR] = $2; flags[NR] = $3; name[NR] = $4 }
  END { for (i = 2; i <= NR; i++) if (kind[i] <= 5) {
      sub_folder = 0
      for (j = i + 1; j <= NR && level[j] > level[i]; j++) if (kind[j] <= 5) sub_folder = 1
      if (!sub_folder && flags[i] % 2 == 1) print name[i] } }' "$tmp/rows")
[ -z "$bad" ] || { echo "FAIL: folders with files only carry the child mark: $bad"; fail=1; }
awk -F'\t' '$2 <= 5 && int($3 / 16) % 2 == 1 { found = 1 } END { exit !found }' "$tmp/rows" ||
  { echo "FAIL: no folder carries the file mark"; cat "$tmp/rows"; fail=1; }

# Drive paths: names without case, never out of the drive.
before=$(ls "$catalogs" | sort)
check "a path out of the drive" 2 "$cli" --program-dir "$prog" read 'K:\..'
grep -q "leads out of the drive" "$tmp/err" || { echo "FAIL: out-of-drive message"; cat "$tmp/err"; fail=1; }
expect "nothing written for it" "$before" "$(ls "$catalogs" | sort)"
check "a folder named in another case" 0 "$cli" --program-dir "$prog" read 'K:\docs\old'
got=$("$cli" --program-dir "$prog" dump "$(cat "$tmp/out")" | awk -F'\t' '$2 > 5 { print $4 }')
expect "the folder DOCS/OLD was read" "n.dat" "$got"

zprog=$tmp/zprog
mkdir -p "$zprog"
printf 'Z\t%s\n' "$zone/T" >"$zprog/drives.map"
list_time() {  # prints the date field of the file row
  "$cli" --program-dir "$zprog" dump "$1" | awk -F'\t' '$2 > 5 { print $6 }'
}
check "read with the default zone" 0 env TZ=UTC "$cli" --program-dir "$zprog" read --title Z Z:
expect "nine hours after UTC" "01/02/03 13:05" "$(list_time "$(cat "$tmp/out")")"
check "option LocalListTime" 0 "$cli" --program-dir "$zprog" options set LocalListTime -1
check "read in the machine's zone" 0 env TZ=UTC "$cli" --program-dir "$zprog" read --replace --title Z Z:
expect "the machine's zone" "01/02/03 04:05" "$(list_time "$(cat "$tmp/out")")"

# --- A reading with problems is stored, but says it is incomplete -----------------
iprog=$tmp/iprog
imedia=$tmp/imedia
deep=$imedia/OLD$(printf '/d%.0s' $(seq 1 130))
mkdir -p "$iprog" "$deep" "$imedia/NEW"
printf 'x' >"$imedia/NEW/n.txt"
printf 'x' >"$deep/o.txt"
printf 'I\t%s\tHD\tINCOMPLETE\n' "$imedia" >"$iprog/drives.map"
check "a reading with problems (too deep) exits 3" 3 "$cli" --program-dir "$iprog" read I:
expect_out "the list file is still named" "_00HD_INCOMPLETE.cct\n"
grep -q 'OLD.*deepest level' "$tmp/err" || { echo "FAIL: the problem is not named on stderr"; cat "$tmp/err"; fail=1; }
grep -q 'incomplete' "$tmp/err" || { echo "FAIL: no word of an incomplete list"; fail=1; }
check "the incomplete list is stored" 0 "$cli" --program-dir "$iprog" dump _00HD_INCOMPLETE.cct
grep -q 'n.txt' "$tmp/out" || { echo "FAIL: the readable folder is missing"; fail=1; }
rm -rf "$imedia/OLD"
check "a complete reading again exits 0" 0 "$cli" --program-dir "$iprog" read --replace I:

exit $fail
