#!/usr/bin/env bash
# FIFOs, devices and oversized files in the catalog folder, or in place of
# the catalog index, never hang or exhaust a command: they are refused
# without being read (each command runs under a time limit here).
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
catalogs=$prog/Catalog
media=$tmp/media
mkdir -p "$prog" "$media"
printf 'x' >"$media/a.txt"
printf 'K\t%s\tHD\tSPECIAL\n' "$media" >"$prog/drives.map"
check "a catalog beside the special files" 0 "$cli" --program-dir "$prog" read K:
limit="timeout 20"

# --- In the catalog folder ---------------------------------------------------------
while IFS='|' read -r what make; do
  rm -f "$catalogs/_00HD_bad.cct"
  eval "$make"
  check "catalogs with a $what" 0 $limit "$cli" --program-dir "$prog" catalogs
  expect_out "catalogs lists the real catalog only ($what)" "_00hd_special.cct\tSPECIAL\n"
  case $what in
    FIFO | link*) grep -q '_00HD_bad.cct: not a regular file' "$tmp/err" ||
      { echo "FAIL: the $what is skipped without a message"; fail=1; } ;;
  esac
  check "dump of a $what" 2 $limit "$cli" --program-dir "$prog" dump _00HD_bad.cct
  check "info of a $what" 2 $limit "$cli" --program-dir "$prog" info _00HD_bad.cct
  check "search beside a $what" 0 $limit "$cli" --program-dir "$prog" search a.txt
done <<'ROWS'
FIFO|mkfifo "$catalogs/_00HD_bad.cct"
link to /dev/zero|ln -s /dev/zero "$catalogs/_00HD_bad.cct"
file larger than any list file|truncate -s 3G "$catalogs/_00HD_bad.cct"
ROWS
rm -f "$catalogs/_00HD_bad.cct"

# --- In place of the catalog index -------------------------------------------------
index=$catalogs/CatList.CCZ
while IFS='|' read -r what make; do
  rm -f "$index"
  eval "$make"
  check "catalogs with the index a $what" 2 $limit "$cli" --program-dir "$prog" catalogs
  check "read with the index a $what" 2 $limit "$cli" --program-dir "$prog" read --replace K:
done <<'ROWS'
FIFO|mkfifo "$index"
link to /dev/zero|ln -s /dev/zero "$index"
ROWS
exit $fail
