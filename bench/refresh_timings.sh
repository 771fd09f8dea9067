#!/usr/bin/env bash
# Bringing a large catalog up to date: whole-process timings, best of 3, on
# a warm file cache, of
#   zevro-cli refresh CATALOG      a catalog of ROWS rows with EDITS hand-edited rows
#   zevro-cli read --replace K:    the same medium read afresh (no edits to keep)
# The medium changes a little between the reading and the timings (a folder
# of 100 files gone, one of 100 new), so the refresh has rows to drop and to add.
#
#   bash bench/refresh_timings.sh build [FILES] [EDITS] [DIR]
#        (FILES 300,000 by default in 300 folders, EDITS 50,000; DIR keeps the tree)
set -eu
build=$1
files=${2:-300000}
edits=${3:-50000}
dir=${4:-$(mktemp -d)}
cli=$build/zevro-cli
media=$dir/media-$files
if [ ! -e "$media/done" ]; then
  rm -rf "$media"
  python3 - "$media" "$files" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
os.makedirs(root)
per = 1000
for f in range((count + per - 1) // per):
    d = os.path.join(root, "D%03d" % f)
    os.mkdir(d)
    for i in range(min(per, count - f * per)):
        os.close(os.open(os.path.join(d, "f%06d.dat" % i), os.O_CREAT | os.O_WRONLY, 0o644))
PY
  touch "$media/done"
fi

best() {  # best of 3 wall-clock seconds of a command that must succeed
  local b=999 t
  for _ in 1 2 3; do
    local s=$(date +%s.%N)
    "$@" >/dev/null 2>"$dir/err" || { echo "failed: $*"; cat "$dir/err"; exit 1; }
    t=$(echo "$(date +%s.%N) - $s" | bc)
    b=$(echo "if ($t < $b) $t else $b" | bc)
  done
  printf '%.3f' "$b"
}

prog=$dir/prog
rm -rf "$prog" "$dir/prog-read"
mkdir -p "$prog"
printf 'K\t%s\tHD\tBIG\n' "$media" >"$prog/drives.map"
"$cli" --program-dir "$prog" read --quiet --replace K: >"$dir/name"
catalog=$(cat "$dir/name")
"$build/bench/refresh_edits" "$prog/Catalog/$catalog" "$edits"
cp -r "$prog" "$dir/prog-read"
# The medium moves on: one folder gone, one new.
rm -rf "$dir/gone" && mv "$media/D000" "$dir/gone"
mkdir -p "$media/NEW" && for i in $(seq 100); do : >"$media/NEW/n$i.dat"; done
trap 'rm -rf "$media/NEW"; mv "$dir/gone" "$media/D000"' EXIT

rows=$("$cli" --program-dir "$prog" dump "$catalog" | wc -l)
kept() { "$cli" --program-dir "$prog" dump "$catalog" | grep -c 'hand note' || true; }
refresh_s=$(best "$cli" --program-dir "$prog" refresh "$catalog")
read_s=$(best "$cli" --program-dir "$dir/prog-read" read --quiet --replace K:)
echo "catalog of $rows rows, $(kept) hand-edited rows kept after the refreshes"
printf 'refresh   %s s\nread      %s s\nratio     %.2f (goal: at most 1.5)\n' "$refresh_s" "$read_s" \
  "$(echo "$refresh_s / $read_s" | bc -l)"
