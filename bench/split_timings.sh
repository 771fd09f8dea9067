#!/usr/bin/env bash
# A medium too large for one list file, read as several catalogs: whole-process
# timings of zevro-cli against the system tools that do the least the same
# work, best of 3, on a warm file cache:
#   read K:        of FILES empty files in 20 top-level folders   vs  find -printf '%s %T@ %p\n'
#   search WORD    over all the catalogs written, with and without
#                  the search indexes                             vs  LC_ALL=C grep -aoF WORD over them
# Every command must succeed, and the search must find the word in each of
# the 20 folders (as grep does in the list files).
#
#   bash bench/split_timings.sh build [FILES] [DIR]   (FILES 2,000,000 by default;
#                                                      DIR keeps the tree between runs)
set -eu
build=$1
files=${2:-2000000}
dir=${3:-$(mktemp -d)}
cli=$build/zevro-cli
media=$dir/media-$files
if [ ! -e "$media/done" ]; then
  rm -rf "$media"
  python3 - "$media" "$files" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
os.makedirs(root)
per = count // 20
for f in range(20):
    d = os.path.join(root, "FOLDER%02d" % f)
    os.mkdir(d)
    for i in range(per):
        os.close(os.open(os.path.join(d, "photograph-of-the-long-day-%07d.jpeg" % i), os.O_CREAT | os.O_WRONLY, 0o644))
PY
  touch "$media/done"
fi

# Best of 3 of a command, which must succeed: "WALL CPU" seconds (CPU: user
# + system time, the fairer figure on a machine that others share).
best() {
  local bw=999 bc=999 w c
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %U %S' -o "$dir/time" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    read -r w u s <"$dir/time"
    c=$(echo "$u + $s" | bc)
    bw=$(echo "if ($w < $bw) $w else $bw" | bc)
    bc=$(echo "if ($c < $bc) $c else $bc" | bc)
  done
  echo "$bw $bc"
}
row() {  # what, zevro-cli "WALL CPU", reference "WALL CPU"
  local zw zc rw rc
  read -r zw zc <<<"$2"
  read -r rw rc <<<"$3"
  [ -n "$zc" ] && [ -n "$rc" ] || { echo "$1: a command failed" >&2; exit 1; }
  printf '%-17s zevro-cli %6.2f s (CPU %6.2f s)   reference %6.2f s (CPU %6.2f s)   ratio %.2f (CPU %.2f)\n' \
    "$1" "$zw" "$zc" "$rw" "$rc" "$(echo "$zw / $rw" | bc -l)" "$(echo "$zc / $rc" | bc -l)"
}

prog=$dir/prog
rm -rf "$prog"
mkdir -p "$prog"
printf 'K\t%s\tHD\tHUGE\n' "$media" >"$prog/drives.map"
# A first reading of the medium each time (the catalogs of the run before
# are removed, not replaced: replacing copies them to Backup/ first).
cat >"$dir/read-once" <<EOF
rm -rf "$prog/Catalog" "$prog/Backup"
exec "$cli" --program-dir "$prog" read --quiet K:
EOF
bash "$dir/read-once" >"$dir/names" || { echo "the reading failed" >&2; exit 1; }
echo "$files files recorded as $(wc -l <"$dir/names") catalogs"
row read "$(best bash "$dir/read-once")" "$(best find "$media" -printf '%s %T@ %p\n')"

# A name every top folder holds once: the search must find it in each of
# them, as grep finds it in the list files.
word=photograph-of-the-long-day-0000123.jpeg
parts=()
while read -r name; do parts+=("$prog/Catalog/$name"); done <"$dir/names"
found=$(LC_ALL=C grep -aoF "$word" "${parts[@]}" | wc -l)
for how in "" --no-index; do
  hits=$("$cli" --program-dir "$prog" search $how --names "$word" | grep -cF "$word") ||
    { echo "search $how found nothing" >&2; exit 1; }
  [ "$hits" = 20 ] && [ "$found" = 20 ] || { echo "search $how: $hits rows, grep $found, wanted 20" >&2; exit 1; }
  row "search ${how:-(indexes)}" "$(best "$cli" --program-dir "$prog" search $how --names "$word")" \
    "$(best env LC_ALL=C grep -aoF "$word" "${parts[@]}")"
done
