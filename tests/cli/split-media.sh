#!/usr/bin/env bash
# A medium too large for one list file: about 350,000 empty files of long
# names in four top-level folders. `zevro-cli read` records it as several
# catalogs whose file rows add up to every file, `search` finds a file of
# each, a second read asks (exit 1), --add is refused (exit 1) and --replace
# replaces every catalog.
source "$(dirname "$0")/harness.bash"
prog=$tmp/prog
media=$tmp/media
mkdir -p "$prog" "$media"

# 87,500 files a folder with names of 40 characters: their records hold
# more characters than one list file's heap.
python3 - "$media" <<'PY'
import os, sys
root = sys.argv[1]
for folder in "ALBUMS", "BACKUP", "CAMERA", "DRAFTS":
    d = os.path.join(root, folder)
    os.mkdir(d)
    for i in range(87500):
        os.close(os.open(os.path.join(d, "photograph-of-the-long-day-%06d.jpeg" % i), os.O_CREAT | os.O_WRONLY, 0o644))
    open(os.path.join(d, "only-in-%s.txt" % folder.lower()), "w").close()
open(os.path.join(root, "only-in-root.txt"), "w").close()
PY
total=$(find "$media" -type f | wc -l)
expect "files made" 350005 "$total"
printf 'K\t%s\tHD\tHUGE\n' "$media" >"$prog/drives.map"

check "a medium too large for one list file is read" 0 "$cli" --program-dir "$prog" read --quiet K:
cp "$tmp/out" "$tmp/names"
parts=$(wc -l <"$tmp/names")
[ "$parts" -ge 2 ] || { echo "FAIL: one catalog only"; cat "$tmp/names"; fail=1; }
expect "the medium's own catalog first" "_00HD_HUGE.cct" "$(head -n 1 "$tmp/names")"
while read -r name; do
  [ -f "$prog/Catalog/$name" ] || { echo "FAIL: $name not written"; fail=1; }
done <"$tmp/names"

# The file rows of all catalogs add up to every file, each once.
files=0
while read -r name; do
  n=$("$cli" --program-dir "$prog" dump "$name" | awk -F'\t' '$2 > 5 { n++ } END { print n + 0 }')
  files=$((files + n))
done <"$tmp/names"
expect "file rows of all catalogs" "$total" "$files"

# A file of every part is found.
for word in only-in-root only-in-albums only-in-backup only-in-camera only-in-drafts; do
  check "search $word" 0 "$cli" --program-dir "$prog" search "$word" --names
  grep -q "$word" "$tmp/out" || { echo "FAIL: $word not found"; fail=1; }
done

# The medium is catalogued: a second read asks, and keeps everything.
check "a split medium is catalogued already" 1 "$cli" --program-dir "$prog" read --quiet K:
grep -q "catalogued already as _00HD_HUGE.cct" "$tmp/err" || { echo "FAIL: question"; cat "$tmp/err"; fail=1; }
expect "nothing changed" "$parts" "$(ls "$prog/Catalog"/*.cct | wc -l)"

# Another list beside the catalogs of a medium too large for one list file
# would take their names: refused with a message saying why, nothing changes.
check "--add of a split medium is refused" 1 "$cli" --program-dir "$prog" read --quiet --add K:
grep -q "too large for one list file" "$tmp/err" || { echo "FAIL: --add message"; cat "$tmp/err"; fail=1; }
grep -q "meanwhile" "$tmp/err" && { echo "FAIL: --add says catalogued meanwhile"; fail=1; }
expect "nothing written by --add" "" "$(cat "$tmp/out")"
expect "nothing changed by --add" "$parts" "$(ls "$prog/Catalog"/*.cct | wc -l)"

# --replace replaces every catalog: the old ones go to Backup/, none stays
# beside the new ones.
mv "$media/BACKUP" "$tmp/removed"
check "--replace" 0 "$cli" --program-dir "$prog" read --quiet --replace K:
cp "$tmp/out" "$tmp/names2"
ls "$prog/Catalog" | grep -i '\.cct$' | sort >"$tmp/there"
sort "$tmp/names2" >"$tmp/wanted"
cmp -s "$tmp/there" "$tmp/wanted" || { echo "FAIL: catalogs after --replace"; cat "$tmp/there"; echo "wanted:"; cat "$tmp/wanted"; fail=1; }
grep -qi "BACKUP" "$tmp/there" && { echo "FAIL: the part of the removed folder stayed"; fail=1; }
[ "$(ls "$prog/Backup" | grep -ci '\.cct$')" -ge "$parts" ] || { echo "FAIL: replaced parts not in Backup"; ls "$prog/Backup"; fail=1; }
check "the removed folder's files are gone" 1 "$cli" --program-dir "$prog" search only-in-backup --names

exit $fail
