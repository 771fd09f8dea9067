#!/usr/bin/env bash
# zevro-cli edit: a row's comment, date and name changed in the list only and
# saved; a refused edit leaves the list file as it was.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media/DOCS"
z() { "$cli" --program-dir "$prog" "$@"; }
printf 'read me' >"$media/DOCS/README.TXT"
printf 'K\t%s\tCD\tGAMES\n' "$media" >"$prog/drives.map"
check "read the medium" 0 z read --quiet K:
catalog=$(cat "$tmp/out")

check "comment and date" 0 z edit "$catalog" DOCS/README.TXT --comment 'say "hi"' --date '99/12/31 23:59'
check "rename in the list only" 0 z edit "$catalog" DOCS/README.TXT --name NOTES
check "dump" 0 z dump "$catalog"
row=$(grep -P '\tNOTES\t' "$tmp/out")
expect "stored fields and flags" $'NOTES\tsay "hi"\t99/12/31 23:59' "$(cut -f4-6 <<<"$row")"
expect "flag 7, medium name kept" $'7\tREADME.TXT' "$(cut -f8-9 <<<"$row")"
[ -e "$media/DOCS/README.TXT" ] || { echo "FAIL: the file on the medium was renamed"; fail=1; }

before=$(md5sum "$prog"/Catalog/"$catalog" | cut -d' ' -f1)
check "a changed extension is refused" 1 z edit "$catalog" DOCS/NOTES --name NOTES.DOC
grep -q '拡張子は変更できません' "$tmp/err" || { echo "FAIL: no extension message"; fail=1; }
check "a bad date is refused" 1 z edit "$catalog" DOCS/NOTES --date Monday
grep -q '以外の文字は登録できません' "$tmp/err" || { echo "FAIL: no date message"; fail=1; }
check "a folder's name is refused" 1 z edit "$catalog" DOCS --name X
expect "the list file is untouched" "$before" "$(md5sum "$prog"/Catalog/"$catalog" | cut -d' ' -f1)"
check "no such row" 2 z edit "$catalog" DOCS/NOPE --comment x
check "nothing to change" 2 z edit "$catalog" DOCS/NOTES
exit $fail
