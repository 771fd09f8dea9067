#!/usr/bin/env bash
# zevro-cli refresh: a catalog read again from its medium keeps the user's
# edits on the rows that are still there, takes in new files and drops the
# ones that are gone; without its medium nothing changes.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/DOCS" "$media/OLD"
z() { "$cli" --program-dir "$prog" "$@"; }
printf 'read me' >"$media/DOCS/README.TXT"
printf 'notes' >"$media/DOCS/NOTES.TXT"
printf 'old' >"$media/OLD/GONE.TXT"
printf 'K\t%s\tCD\tGAMES\n' "$media" >"$prog/drives.map"
check "read the medium" 0 z read --quiet K:
catalog=$(cat "$tmp/out")

check "comment" 0 z edit "$catalog" DOCS/README.TXT --comment 'mine'
check "date" 0 z edit "$catalog" DOCS/NOTES.TXT --date '99/12/31 23:59'
check "name in the list only" 0 z edit "$catalog" DOCS/NOTES.TXT --name MEMO
check "comment on a file that goes" 0 z edit "$catalog" OLD/GONE.TXT --comment 'lost'
check "catalog title" 0 z title "$catalog" 'ゲーム集'

# The medium changes: a file gone, a file new, a folder new.
rm "$media/OLD/GONE.TXT"
printf 'new' >"$media/DOCS/NEW.TXT"
mkdir "$media/MORE" && printf 'x' >"$media/MORE/X.BIN"

check "refresh" 0 z refresh "$catalog"
check "dump" 0 z dump "$catalog"
dump=$(cat "$tmp/out")
row() { grep -P "\\t$1\\t" <<<"$dump"; }
expect "comment kept" $'README.TXT\tmine' "$(row README.TXT | cut -f4-5)"
expect "date and name kept" $'MEMO\t99/12/31 23:59' "$(row MEMO | cut -f4,6)"
expect "flags and medium name kept" $'5\tNOTES.TXT' "$(row MEMO | cut -f8-9)"
[ -n "$(row NEW.TXT)" ] || { echo "FAIL: the new file is missing"; fail=1; }
[ -n "$(row X.BIN)" ] || { echo "FAIL: the new folder's file is missing"; fail=1; }
[ -z "$(row GONE.TXT)" ] || { echo "FAIL: the removed file is still listed"; fail=1; }
grep -q 'lost' <<<"$dump" && { echo "FAIL: the removed file's comment survived"; fail=1; }
check "catalogs" 0 z catalogs
grep -q 'ゲーム集' "$tmp/out" || { echo "FAIL: the catalog title was lost"; fail=1; }

# Without its medium the catalog stays byte for byte as it was.
before=$(md5sum "$prog/Catalog/$catalog" | cut -d' ' -f1)
mv "$media" "$tmp/away"
check "medium missing" 1 z refresh "$catalog"
expect "the list file is untouched" "$before" "$(md5sum "$prog/Catalog/$catalog" | cut -d' ' -f1)"
check "no such catalog" 2 z refresh _00CD_NONE.cct
exit $fail
