#!/usr/bin/env bash
# The search window against zevro-cli search on the same catalog folder:
# the catalog of 300,000 rows of bench/export_catalog, ".TXT" finding every
# file row. zevro-cli: the whole process, best of 5 (wall clock); the window:
# bench/find_qt_bench (search, grid filled, count shown), mean real time.
#
#   bash bench/search_window_timings.sh build [DIR]
set -eu
build=$1
dir=${2:-$(mktemp -d)}
[ -e "$dir/Catalog/_00HD_EXPORT.cct" ] || "$build/bench/export_catalog" "$dir"
best=999
for _ in 1 2 3 4 5; do
  w=$( { TIMEFORMAT='%R'; time "$build/zevro-cli" --program-dir "$dir" search .TXT >/dev/null 2>&1; } 2>&1 | tail -1)
  best=$(echo "if ($w < $best) $w else $best" | bc)
done
printf 'zevro-cli search .TXT   wall %.3f s\n' "$best"
ZEVRO_SEARCH_DIR=$dir "$build/bench/find_qt_bench" 2>/dev/null | grep BM_
