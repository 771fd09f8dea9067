#!/usr/bin/env bash
# zevro-cli backup DIR: the destination rule, the files copied in order with
# their times, a second run copying nothing, one touched file copied alone,
# the catalog index and genre table left out, a failed copy.
source "$(dirname "$0")/harness.bash"

p="$tmp/p"
mkdir -p "$p/Catalog" "$tmp/Save" "$tmp/zevro_backup"
printf 'titles' >"$p/CATDRV.CCZ"
printf '[Options]\r\n' >"$p/ZEVRO32.Opt"
printf 'icons' >"$p/IconList.CCZ"
printf 'picture' >"$p/MarkIcon.BMP"
printf 'list B' >"$p/Catalog/_02HD_B.cct"
printf 'list A' >"$p/Catalog/_01CD_A.CCT"
printf 'index' >"$p/Catalog/CatList.CCZ"
printf 'genres' >"$p/Catalog/CatJan.CCZ"
touch -d '2020-01-02 03:04:05' "$p/CATDRV.CCZ" "$p/IconList.CCZ" "$p/MarkIcon.BMP" "$p"/Catalog/*

check "backup into Save" 0 "$cli" --program-dir "$p" backup "$tmp/Save"
expect_out "backup: every file, in copy order, then the count" \
  'copied\tCATDRV.CCZ\ncopied\tZEVRO32.Opt\ncopied\tIconList.CCZ\ncopied\tMarkIcon.BMP\ncopied\tCatalog/_01CD_A.CCT\ncopied\tCatalog/_02HD_B.cct\n6個のデータをバックアップしました\n'
d="$tmp/Save/ZEVRO_Backup"
expect "copy keeps the time" "$(stat -c %Y "$p/Catalog/_01CD_A.CCT")" "$(stat -c %Y "$d/Catalog/_01CD_A.CCT")"
expect "copy keeps the bytes" "list B" "$(cat "$d/Catalog/_02HD_B.cct")"
[ -e "$d/Catalog/CatList.CCZ" ] || [ -e "$d/Catalog/CatJan.CCZ" ] && { echo "FAIL: index or genres copied"; fail=1; }
grep -q "^BackupDir=$d" "$p/ZEVRO32.Opt" || { echo "FAIL: BackupDir not stored"; fail=1; }

check "second run" 0 "$cli" --program-dir "$p" backup "$tmp/Save"
expect_out "second run copies nothing" '更新されたデータはありません\n'
check "run on the backup folder itself" 0 "$cli" --program-dir "$p" backup "$d"
expect_out "a folder named ZEVRO_Backup is used as it is" '更新されたデータはありません\n'

printf 'list A, edited' >"$p/Catalog/_01CD_A.CCT"
touch -d '2021-01-01 00:00:00' "$p/Catalog/_01CD_A.CCT"
check "after one edit" 0 "$cli" --program-dir "$p" backup "$tmp/Save"
expect_out "only the touched file" 'copied\tCatalog/_01CD_A.CCT\n1個のデータをバックアップしました\n'
expect "the new copy" "list A, edited" "$(cat "$d/Catalog/_01CD_A.CCT")"

check "lower-case zevro_backup" 0 "$cli" --program-dir "$p" backup "$tmp/zevro_backup"
[ -e "$tmp/zevro_backup/Catalog/_02HD_B.cct" ] || { echo "FAIL: zevro_backup not used directly"; fail=1; }
[ -e "$tmp/zevro_backup/ZEVRO_Backup" ] && { echo "FAIL: a subfolder in zevro_backup"; fail=1; }

# A copy that fails (a folder stands where the copy goes) is told on
# stderr; the rest goes on and the status is 1.
mkdir -p "$tmp/third/ZEVRO_Backup/Catalog/_02HD_B.cct"
touch -d '2000-01-01 00:00:00' "$tmp/third/ZEVRO_Backup/Catalog/_02HD_B.cct"
check "a failed copy" 1 "$cli" --program-dir "$p" backup "$tmp/third"
grep -q "^error	$tmp/third/ZEVRO_Backup/Catalog/_02HD_B.cct	." "$tmp/err" || { echo "FAIL: no error line"; cat "$tmp/err"; fail=1; }
expect_out "the rest went on and only real copies count" \
  'copied\tCATDRV.CCZ\ncopied\tZEVRO32.Opt\ncopied\tIconList.CCZ\ncopied\tMarkIcon.BMP\ncopied\tCatalog/_01CD_A.CCT\n5個のデータをバックアップしました\n'

check "no folder" 2 "$cli" --program-dir "$p" backup
check "missing folder" 2 "$cli" --program-dir "$p" backup "$tmp/none"
check "two folders" 2 "$cli" --program-dir "$p" backup "$tmp/Save" "$tmp/Save"
exit $fail
