#!/usr/bin/env bash
# Whole-process timings of zevro-cli search with --export against the plain
# search printing the same rows, best of 5, on a warm file cache. The
# catalog of 300,000 rows comes from bench/export_catalog; ".TXT" finds
# every file row (about 285,000).
#   search .TXT                       the rows printed (into /dev/null)
#   search .TXT --export FILE.csv     the same rows saved as CSV
#   search .TXT --export FILE.txt     and as the text form
#
#   bash bench/search_export_timings.sh build [DIR]
set -eu
build=$1
dir=${2:-$(mktemp -d)}
[ -e "$dir/Catalog/_00HD_EXPORT.cct" ] || "$build/bench/export_catalog" "$dir"
cli=$build/zevro-cli

best() {
  local bw=999 bc=999 line w u s c
  for _ in 1 2 3 4 5; do
    line=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1 | tail -1)
    read -r w u s <<<"$line"
    c=$(echo "$u + $s" | bc)
    bw=$(echo "if ($w < $bw) $w else $bw" | bc)
    bc=$(echo "if ($c < $bc) $c else $bc" | bc)
  done
  printf '%.3f %.3f' "$bw" "$bc"
}

rows=$("$cli" --program-dir "$dir" search .TXT | wc -l)
echo "rows found: $rows"
read -r pw pc <<<"$(best "$cli" --program-dir "$dir" search .TXT)"
printf '%-14s wall %s s   cpu %s s\n' "plain" "$pw" "$pc"
for form in csv txt; do
  read -r w c <<<"$(best "$cli" --program-dir "$dir" search .TXT --export "$dir/found.$form")"
  printf '%-14s wall %s s   cpu %s s   (ratio to plain: wall %.2f, cpu %.2f)\n' "--export .$form" "$w" "$c" \
    "$(echo "$w / $pw" | bc -l)" "$(echo "$c / $pc" | bc -l)"
done
