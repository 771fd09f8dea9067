#!/usr/bin/env bash
# Two zevro-cli processes writing to one program folder at once never both
# report success while one change is lost: they take turns under the
# program folder's write lock.
source "$(dirname "$0")/harness.bash"

# Two media of the same label read together: two catalogs, or one reading
# refused (exit 1) because the other stored the label's catalog first.
for run in $(seq 1 20); do
  prog=$tmp/r$run
  mkdir -p "$prog" "$tmp/m$run-1" "$tmp/m$run-2"
  printf 'one' >"$tmp/m$run-1/a.txt"
  printf 'two' >"$tmp/m$run-2/b.txt"
  printf 'K\t%s\tHD\tSAME\nL\t%s\tHD\tSAME\n' "$tmp/m$run-1" "$tmp/m$run-2" >"$prog/drives.map"
  "$cli" --program-dir "$prog" read K: >/dev/null 2>"$tmp/e1" & p1=$!
  "$cli" --program-dir "$prog" read L: >/dev/null 2>"$tmp/e2" & p2=$!
  wait $p1; s1=$?
  wait $p2; s2=$?
  n=$(find "$prog/Catalog" -maxdepth 1 -iname '_*.cct' | wc -l)
  case "$s1 $s2 $n" in
    "0 1 1" | "1 0 1") ;;
    *) echo "FAIL: run $run: exits $s1 $s2 with $n catalogs"; cat "$tmp/e1" "$tmp/e2"; fail=1 ;;
  esac
  # --add of the same medium twice at once: two numbered lists, none lost.
  "$cli" --program-dir "$prog" read --add K: >/dev/null 2>"$tmp/e1" & p1=$!
  "$cli" --program-dir "$prog" read --add K: >/dev/null 2>"$tmp/e2" & p2=$!
  wait $p1; s1=$?
  wait $p2; s2=$?
  n=$(find "$prog/Catalog" -maxdepth 1 -iname '_*.cct' | wc -l)
  if [ "$s1 $s2 $n" != "0 0 3" ]; then
    echo "FAIL: run $run: --add twice exits $s1 $s2 with $n catalogs"; cat "$tmp/e1" "$tmp/e2"; fail=1
  fi
  check "catalogs after run $run" 0 "$cli" --program-dir "$prog" catalogs
  expect "every catalog indexed once (run $run)" 3 "$(wc -l <"$tmp/out")"
done

# Two options set of different keys together: both keys kept.
oprog=$tmp/options
mkdir -p "$oprog"
for run in $(seq 1 50); do
  "$cli" --program-dir "$oprog" options set WindowX "$run" & p1=$!
  "$cli" --program-dir "$oprog" options set WindowY "$run" & p2=$!
  wait $p1 || { echo "FAIL: run $run: options set WindowX failed"; fail=1; }
  wait $p2 || { echo "FAIL: run $run: options set WindowY failed"; fail=1; }
  check "WindowX after run $run" 0 "$cli" --program-dir "$oprog" options get WindowX
  expect "WindowX kept (run $run)" "$run" "$(cat "$tmp/out")"
  check "WindowY after run $run" 0 "$cli" --program-dir "$oprog" options get WindowY
  expect "WindowY kept (run $run)" "$run" "$(cat "$tmp/out")"
done
exit $fail
