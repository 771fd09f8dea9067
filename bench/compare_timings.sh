#!/usr/bin/env bash
# zevro-cli duplicates over 200 catalogs of 10,000 rows (2,000,000 rows, one
# file in ten a copy from another catalog) against zevro-cli search of a rare
# word over the same catalogs, which costs reading them; the peak memory of
# duplicates (/usr/bin/time -v); diff of two readings of 300,000 rows. Best
# of 5, wall clock and CPU time, warm file cache, and the ratios of the best
# wall times of duplicates to those of the two searches (on a shared machine
# the CPU times tell more).
#
#   bash bench/compare_timings.sh build [DIR]     (DIR keeps the catalogs between runs)
set -eu
build=$1
dir=${2:-$(mktemp -d)}
[ -e "$dir/many" ] || "$build/bench/compare_catalogs" "$dir"
cli=$build/zevro-cli

best() {  # best of 5 wall-clock seconds of a command, and best of 5 CPU seconds (user + system)
  local b=999 c=999 t u
  for _ in 1 2 3 4 5; do
    local s=$(date +%s.%N)
    /usr/bin/time -f '%U %S' -o "$dir/cpu" "$@" >/dev/null 2>&1 || true
    t=$(echo "$(date +%s.%N) - $s" | bc)
    b=$(echo "if ($t < $b) $t else $b" | bc)
    u=$(tail -1 "$dir/cpu" | awk '{ print $1 + $2 }')  # after "Command exited with non-zero status"
    c=$(echo "if ($u < $c) $u else $c" | bc)
  done
  printf '%.3f s wall, %.2f s CPU' "$b" "$c"
}

many=(--program-dir "$dir/many")
dup=$(best "$cli" "${many[@]}" duplicates --media CD,FD,HD)
nogroup=$(best "$cli" "${many[@]}" duplicates --media CD,FD,HD --by name,size,date)
whole=$(best "$cli" "${many[@]}" search --no-index --media CD,FD,HD 金閣寺)
indexed=$(best "$cli" "${many[@]}" search --media CD,FD,HD 金閣寺)
rows=$("$cli" "${many[@]}" duplicates --media CD,FD,HD | wc -l)
groups=$("$cli" "${many[@]}" duplicates --media CD,FD,HD | cut -f1 | sort -u | wc -l)
peak=$(/usr/bin/time -v "$cli" "${many[@]}" duplicates --media CD,FD,HD 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { print $2 }')
printf 'duplicates            %s  (%s groups, %s rows printed)\n' "$dup" "$groups" "$rows"
printf 'duplicates by date    %s  (no group forms: the first pass alone)\n' "$nogroup"
printf 'search --no-index     %s\n' "$whole"
printf 'search (indexes)      %s\n' "$indexed"
printf 'duplicates peak RSS   %s KB\n' "$peak"
ratio() { echo "scale=1; ${1%% s*} / ${2%% s*}" | bc; }
printf 'ratio to search --no-index  %s   to search (indexes)  %s   (wall)\n' "$(ratio "$dup" "$whole")" "$(ratio "$dup" "$indexed")"

d=(--program-dir "$dir/diff")
printf 'diff 300,000 rows     %s  (%s changes)\n' "$(best "$cli" "${d[@]}" diff _00HD_OLD.cct _00HD_NEW.cct)" \
  "$("$cli" "${d[@]}" diff _00HD_OLD.cct _00HD_NEW.cct | wc -l)"
