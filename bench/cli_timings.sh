#!/usr/bin/env bash
# Whole-process timings of zevro-cli against the system tools that do the
# least the same work, best of 5, on a warm file cache:
#   info FILE      of a catalog at the list file's limit   vs  iconv -f CP932 -t UTF-16LE FILE
#   search 金閣寺   over 200 catalogs of 10,000 rows        vs  LC_ALL=C grep -aoF 金閣寺 (CP932 bytes)
#   catalogs       of 400 catalogs of 2.5 MB, no index     vs  head -q -c 600 over the same files
#
#   bash bench/cli_timings.sh build [DIR]     (DIR keeps the catalogs between runs)
set -eu
build=$1
dir=${2:-$(mktemp -d)}
[ -e "$dir/limit" ] || "$build/bench/cli_catalogs" "$dir"
cli=$build/zevro-cli

best() {  # best of 5 wall-clock seconds of a command
  local b=999 t
  for _ in 1 2 3 4 5; do
    local s=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    t=$(echo "$(date +%s.%N) - $s" | bc)
    b=$(echo "if ($t < $b) $t else $b" | bc)
  done
  printf '%.3f' "$b"
}
row() {  # what, zevro-cli seconds, reference seconds
  printf '%-10s zevro-cli %s s   reference %s s   ratio %.2f\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"
}

limit=$dir/limit/Catalog/_00HD_BIGDISC.cct
row info "$(best "$cli" --program-dir "$dir/limit" info "$limit")" \
  "$(best iconv -f CP932 -t UTF-16LE "$limit")"

word=$(printf '金閣寺' | iconv -f UTF-8 -t CP932)
row search "$(best "$cli" --program-dir "$dir/many" search 金閣寺)" \
  "$(best env LC_ALL=C sh -c 'grep -aoF "$0" "$1"/*.cct' "$word" "$dir/many/Catalog")"

titles() { rm -f "$dir/titles/Catalog/CatList.CCZ" "$dir/titles/Catalog/catlist.ccz"; "$cli" --program-dir "$dir/titles" catalogs; }
row catalogs "$(best titles)" "$(best sh -c 'head -q -c 600 "$0"/*.cct' "$dir/titles/Catalog")"
