#!/usr/bin/env bash
# zevro-cli duplicates over 200 catalogs of 10,000 rows (2,000,000 rows, one
# file in ten a copy from another catalog) against zevro-cli search of a rare
# word over the same catalogs, which costs reading them; the peak memory of
# duplicates (/usr/bin/time -v); diff of two readings of 300,000 rows. Best
# of 5, wall clock, warm file cache.
#
#   bash bench/compare_timings.sh build [DIR]     (DIR keeps the catalogs between runs)
set -eu
build=$1
dir=${2:-$(mktemp -d)}
[ -e "$dir/many" ] || "$build/bench/compare_catalogs" "$dir"
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

many=(--program-dir "$dir/many")
dup=$(best "$cli" "${many[@]}" duplicates --media CD,FD,HD)
whole=$(best "$cli" "${many[@]}" search --no-index --media CD,FD,HD 金閣寺)
indexed=$(best "$cli" "${many[@]}" search --media CD,FD,HD 金閣寺)
rows=$("$cli" "${many[@]}" duplicates --media CD,FD,HD | wc -l)
groups=$("$cli" "${many[@]}" duplicates --media CD,FD,HD | cut -f1 | sort -u | wc -l)
peak=$(/usr/bin/time -v "$cli" "${many[@]}" duplicates --media CD,FD,HD 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { print $2 }')
printf 'duplicates            %s s  (%s groups, %s rows printed)\n' "$dup" "$groups" "$rows"
printf 'search --no-index     %s s  ratio %.2f\n' "$whole" "$(echo "$dup / $whole" | bc -l)"
printf 'search (indexes)      %s s  ratio %.2f\n' "$indexed" "$(echo "$dup / $indexed" | bc -l)"
printf 'duplicates peak RSS   %s KB\n' "$peak"

d=(--program-dir "$dir/diff")
printf 'diff 300,000 rows     %s s  (%s changes)\n' "$(best "$cli" "${d[@]}" diff _00HD_OLD.cct _00HD_NEW.cct)" \
  "$("$cli" "${d[@]}" diff _00HD_OLD.cct _00HD_NEW.cct | wc -l)"
