#!/usr/bin/env bash
# zevro-cli locate, picture and disk-image on catalogs made with zevro-cli
# read: a row's file found on the drive that holds the medium, a member of a
# catalogued ZIP extracted, nothing found while the medium is away (unless a
# disk image stands in for it), and pictures attached to rows surviving in
# their own file beside the catalog.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/DOCS" "$media/X.ZIP"
z() { "$cli" --program-dir "$prog" "$@"; }

printf 'read me' >"$media/DOCS/README.TXT"
printf 'inside' >"$tmp/INNER.TXT"
(cd "$tmp" && cmake -E tar cf "$media/DOCS/PACK.ZIP" --format=zip INNER.TXT) || { echo "FAIL: no zip made"; exit 1; }
printf 'a folder' >"$media/X.ZIP/NOTE.TXT"
printf 'K\t%s\tCD\tGAMES\n' "$media" >"$prog/drives.map"

check "read the medium" 0 z read --quiet --archives on --zip on K:
catalog=$(cat "$tmp/out")
expect "catalog name" "_00CD_GAMES.cct" "$catalog"

# --- locate -------------------------------------------------------------------------
check "a file on the medium" 0 z locate "$catalog" 'DOCS\README.TXT'
expect_out "its real path" "$media/DOCS/README.TXT\n"
check "any case, / for \\" 0 z locate "$catalog" DOCS/README.TXT
check "a member of a catalogued ZIP" 0 z locate "$catalog" DOCS/PACK.ZIP/INNER.TXT
expect_out "extracted into TempFile" "$prog/TempFile/INNER.TXT\n"
expect "the member's bytes" "inside" "$(cat "$prog/TempFile/INNER.TXT")"
check "a folder named like an archive is a folder" 0 z locate "$catalog" X.ZIP/NOTE.TXT
expect_out "no extraction" "$media/X.ZIP/NOTE.TXT\n"
check "no such row" 2 z locate "$catalog" DOCS/NOPE.TXT
check "no such catalog" 2 z locate _00CD_NOPE.cct DOCS/README.TXT

z options set UseExtactZip 0 >/dev/null
check "ZIP members need UseExtactZip" 1 z locate "$catalog" DOCS/PACK.ZIP/INNER.TXT
[ -e "$prog/TempFile/INNER.TXT" ] && { echo "FAIL: the old copy was not left in place"; fail=1; }
z options set UseExtactZip -1 >/dev/null

# The medium goes away: nothing found, nobody asked; a stale copy never passes.
mv "$media" "$tmp/away"
check "the medium is not in its drive" 1 z locate "$catalog" DOCS/README.TXT
mkdir -p "$prog/TempFile" && printf 'stale' >"$prog/TempFile/INNER.TXT"
check "a stale extraction is not found" 1 z locate "$catalog" DOCS/PACK.ZIP/INNER.TXT

# --- disk-image -----------------------------------------------------------------------
mkdir -p "$tmp/image"
mv "$tmp/away" "$tmp/image/GAMES"
check "record a disk image" 0 z disk-image "$catalog" "$tmp/image/GAMES/DOCS/README.TXT"
expect_out "the file's folder, or the one above the medium's top entry" "$tmp/image/GAMES\n"
check "found in the image while the drive is empty" 0 z locate "$catalog" DOCS/README.TXT
expect_out "the image's file" "$tmp/image/GAMES/DOCS/README.TXT\n"
check "a ZIP member from the image" 0 z locate "$catalog" DOCS/PACK.ZIP/INNER.TXT
expect "the member, not the stale copy" "inside" "$(cat "$prog/TempFile/INNER.TXT")"

# --- picture ----------------------------------------------------------------------------
printf '\377\330first\377\331' >"$tmp/one.jpg"
printf '\377\330second\377\331' >"$tmp/two.jpg"
check "attach" 0 z picture add "$catalog" DOCS/README.TXT "$tmp/one.jpg"
expect_out "the first id" "001\n"
check "attach to another row" 0 z picture add "$catalog" 'DOCS\PACK.ZIP' "$tmp/two.jpg"
expect_out "the next id" "002\n"
companion="$prog/Catalog/_p_CD_GAMES.ccj"
expect "the companion file" "$(printf '00000009001     \377\330first\377\3310000000A002     \377\330second\377\331')" "$(cat "$companion")"
check "get it back" 0 z picture get "$catalog" DOCS/README.TXT "$tmp/back.jpg"
cmp -s "$tmp/one.jpg" "$tmp/back.jpg" || { echo "FAIL: the same bytes back"; fail=1; }
check "replace in place" 0 z picture add "$catalog" DOCS/README.TXT "$tmp/two.jpg"
expect_out "the id kept" "001\n"
expect "record 001 replaced where it was" "$(printf '0000000A001     \377\330second\377\3310000000A002     \377\330second\377\331')" "$(cat "$companion")"
check "remove" 0 z picture remove "$catalog" DOCS/README.TXT
expect "only record 002 left" "$(printf '0000000A002     \377\330second\377\331')" "$(cat "$companion")"
check "nothing to get" 1 z picture get "$catalog" DOCS/README.TXT "$tmp/none.jpg"
check "nothing to remove" 1 z picture remove "$catalog" DOCS/README.TXT
check "the other row keeps its picture" 0 z picture get "$catalog" DOCS/PACK.ZIP "$tmp/back.jpg"
cmp -s "$tmp/two.jpg" "$tmp/back.jpg" || { echo "FAIL: picture 002"; fail=1; }

# A damaged companion file is refused and left as it is.
head -c 20 "$companion" >"$tmp/cut" && cp "$tmp/cut" "$companion"
check "a damaged picture file is not rewritten" 2 z picture add "$catalog" DOCS/README.TXT "$tmp/one.jpg"
cmp -s "$tmp/cut" "$companion" || { echo "FAIL: the damaged file changed"; fail=1; }
grep -q 'ccj' "$tmp/err" || { echo "FAIL: the message names the file"; cat "$tmp/err"; fail=1; }

check "bad action" 2 z picture show "$catalog" DOCS/README.TXT
check "missing file argument" 2 z picture add "$catalog" DOCS/README.TXT

exit $fail
