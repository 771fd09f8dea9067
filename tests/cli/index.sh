#!/usr/bin/env bash
# zevro-cli index and the indexed search: `search` and `search --no-index`
# print the same rows for catalogs made by `zevro-cli read`, after a catalog
# is replaced behind its index's back, and after the cache folder is deleted;
# `index --check` tells missing, stale and damaged indexes apart.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
mkdir -p "$prog" "$tmp/one/DOCS/OLD" "$tmp/two" "$tmp/three"

for f in DOCS/README.TXT DOCS/OLD/README.TXT readme.md concat.c 'ｶﾞｲﾄﾞ.txt' 'report_2023.txt'; do
  printf 'x' >"$tmp/one/$f"
done
for f in README.TXT report_2024_draft.txt notes.txt 'ガイド.md'; do printf 'xy' >"$tmp/two/$f"; done
for f in other.txt readme.txt; do printf 'z' >"$tmp/three/$f"; done
printf 'K\t%s\tHD\tDISC1\nJ\t%s\tFD\nL\t%s\tCD\tDISC3\n' "$tmp/one" "$tmp/two" "$tmp/three" >"$prog/drives.map"
check "read K:" 0 "$cli" --program-dir "$prog" read K:
check "read J:" 0 "$cli" --program-dir "$prog" read --title "Floppy Two" J:
check "read L:" 0 "$cli" --program-dir "$prog" read L:

# Every way of searching, through the indexes and past them: the same output.
agree() {  # description
  local args
  while IFS= read -r line; do
    eval "args=($line)"
    "$cli" --program-dir "$prog" search "${args[@]}" >"$tmp/indexed" 2>&1
    local a=$?
    "$cli" --program-dir "$prog" search --no-index "${args[@]}" >"$tmp/scanned" 2>&1
    local b=$?
    if [ "$a" != "$b" ] || ! cmp -s "$tmp/indexed" "$tmp/scanned"; then
      echo "FAIL: $1: search ${line} differs from --no-index"; diff "$tmp/indexed" "$tmp/scanned" | head -5; fail=1
    fi
  done <<'LIST'
README
readme --case
readme --case --names
REA --case
ガイド --width
ｶﾞｲﾄﾞ --width
ｶﾞｲﾄﾞ
report --and 2024
report --or notes
rep*rt --pattern
'report_202?' --pattern
re --case
.txt --comments
DISC --case --word
absent
LIST
}

expect "no cache before a search" "no" "$([ -e "$prog/SearchIndex" ] && echo yes || echo no)"
agree "indexes built by the search"
check "check after searching" 0 "$cli" --program-dir "$prog" index --check
expect_out "all up to date" "checked 3 catalogs: 3 up to date, 0 missing, 0 stale, 0 damaged\n"
check "index" 0 "$cli" --program-dir "$prog" index
expect_out "nothing to build" "indexed 3 catalogs: 0 built, 3 up to date\n"
check "index --rebuild" 0 "$cli" --program-dir "$prog" index --rebuild
expect_out "all built" "indexed 3 catalogs: 3 built, 0 up to date\n"

# A catalog replaced behind its index's back: read again from another folder
# into the same list file (the program writes it anew).
printf 'x' >"$tmp/three/brand_new_readme.txt"
rm "$tmp/three/readme.txt"
check "read L: again" 0 "$cli" --program-dir "$prog" read --replace L:
check "check a replaced catalog" 1 "$cli" --program-dir "$prog" index --check
expect_out "one stale" "checked 3 catalogs: 2 up to date, 0 missing, 1 stale, 0 damaged\n"
check "the new row is found" 0 "$cli" --program-dir "$prog" search brand_new
agree "after a catalog was replaced"
check "the search mended the index" 0 "$cli" --program-dir "$prog" index --check

# The indexes of the folder are one file; a damaged one is noticed, and the
# search still agrees.
expect "one file for the folder" "Catalogs.zpk" "$(find "$prog/SearchIndex" -type f -printf '%f\n')"
victim=$(find "$prog/SearchIndex" -name 'Catalogs.zpk')
head -c 100 "$victim" >"$tmp/cut" && cp "$tmp/cut" "$victim"
check "check a truncated index" 1 "$cli" --program-dir "$prog" index --check
expect_out "all damaged" "checked 3 catalogs: 0 up to date, 0 missing, 0 stale, 3 damaged\n"
agree "with a damaged index"
check "the search mended it" 0 "$cli" --program-dir "$prog" index --check

# The cache folder deleted: nothing is lost.
rm -rf "$prog/SearchIndex"
check "check without a cache" 1 "$cli" --program-dir "$prog" index --check
expect_out "all missing" "checked 3 catalogs: 0 up to date, 3 missing, 0 stale, 0 damaged\n"
agree "after the cache folder was deleted"

check "bad option" 2 "$cli" --program-dir "$prog" index --fast
check "both options" 2 "$cli" --program-dir "$prog" index --rebuild --check


# Catalogs changed by other commands: their indexes are never trusted again
# (the stamp no longer fits), and the search still agrees with the scan.
check "index" 0 "$cli" --program-dir "$prog" index
check "title" 0 "$cli" --program-dir "$prog" title _00CD_DISC3.cct "A readme title"
check "check after a new title" 1 "$cli" --program-dir "$prog" index --check
expect_out "one stale" "checked 3 catalogs: 2 up to date, 0 missing, 1 stale, 0 damaged\n"
agree "after a new title"
genre=$("$cli" --program-dir "$prog" genres add Other)
check "move" 0 "$cli" --program-dir "$prog" move _00CD_DISC3.cct "$genre"
check "check after a move" 1 "$cli" --program-dir "$prog" index --check
expect_out "the moved one missing" "checked 3 catalogs: 2 up to date, 1 missing, 0 stale, 0 damaged\n"
agree "after a move"
check "the searches mended them" 0 "$cli" --program-dir "$prog" index --check
expect "one index file again" "Catalogs.zpk" "$(find "$prog/SearchIndex" -type f -printf '%f\n')"
exit $fail
