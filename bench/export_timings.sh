#!/usr/bin/env bash
# Whole-process timings of zevro-cli export against iconv decoding the same
# list file, best of 7, on a warm file cache. The catalog of 300,000 rows is
# written by bench/export_catalog.
#   export --txt   fixed columns, CP932, CR LF    vs  iconv -f CP932 -t UTF-16LE FILE
#   export --csv   quoted values
# each to stdout and with -o into a file.
#
#   bash bench/export_timings.sh build [DIR]     (DIR keeps the catalogs between runs)
set -eu
build=$1
dir=${2:-$(mktemp -d)}
[ -e "$dir/Catalog/_00HD_EXPORT.cct" ] || "$build/bench/export_catalog" "$dir"
cli=$build/zevro-cli
limit=$dir/Catalog/_00HD_EXPORT.cct

# Best of 7 of the wall-clock time and of the processor time (user + system)
# of a command, as "wall cpu" in seconds. On a shared machine the processor
# time is the steadier figure: the wall clock also counts waiting for a core.
best() {
  local bw=999 bc=999 line w c
  for _ in 1 2 3 4 5 6 7; do
    line=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1 | tail -1)
    read -r w u s <<<"$line"
    c=$(echo "$u + $s" | bc)
    bw=$(echo "if ($w < $bw) $w else $bw" | bc)
    bc=$(echo "if ($c < $bc) $c else $bc" | bc)
  done
  printf '%.3f %.3f' "$bw" "$bc"
}
row() {  # what, zevro-cli "wall cpu", reference "wall cpu"
  read -r zw zc <<<"$2"
  read -r rw rc <<<"$3"
  printf '%-11s wall %s s (iconv %s s, ratio %.2f)   cpu %s s (iconv %s s, ratio %.2f)\n' \
    "$1" "$zw" "$rw" "$(echo "$zw / $rw" | bc -l)" "$zc" "$rc" "$(echo "$zc / $rc" | bc -l)"
}

rows=$("$cli" --program-dir "$dir" info "$limit" | sed -n 's/^rows\t//p')
echo "catalog: $rows rows, $(stat -c %s "$limit") bytes"
reference=$(best iconv -f CP932 -t UTF-16LE "$limit")
# To stdout (like iconv, into /dev/null), then into a file: written whole,
# flushed to the disk and renamed into place.
row "txt" "$(best "$cli" --program-dir "$dir" export "$limit" --txt)" "$reference"
row "csv" "$(best "$cli" --program-dir "$dir" export "$limit" --csv)" "$reference"
row "txt -o FILE" "$(best "$cli" --program-dir "$dir" export "$limit" --txt -o "$dir/out.txt")" "$reference"
row "csv -o FILE" "$(best "$cli" --program-dir "$dir" export "$limit" --csv -o "$dir/out.csv")" "$reference"
