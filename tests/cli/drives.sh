#!/usr/bin/env bash
# zevro-cli drives: the letter map, with folders of a temporary program
# folder's map file standing in for media.
source "$(dirname "$0")/harness.bash"
prog="$tmp/prog"
mkdir -p "$prog" "$tmp/disc" "$tmp/plain"
printf '# test letters\nK\t%s\tCD\tGAMES\nL\t%s\nM\t%s\n' "$tmp/disc" "$tmp/plain" "$tmp/missing" >"$prog/drives.map"
tab=$(printf '\t')

run() {  # description, expected status, arguments...
  local what=$1 want=$2; shift 2
  "$cli" --program-dir "$prog" "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: exit $got, wanted $want"; cat "$tmp/err"; fail=1
  fi
}
has_line() {  # description, exact line
  grep -qxF -- "$2" "$tmp/out" || { echo "FAIL: $1: no line '$2' in:"; cat "$tmp/out"; fail=1; }
}

run "list" 0 drives
has_line "a folder standing in for a CD" "K${tab}5${tab}CD${tab}GAMES${tab}$tmp/disc"
has_line "a folder with the name as its label" "L${tab}3${tab}HD${tab}plain${tab}$tmp/plain"
has_line "a folder not there: the letter keeps its kind, no medium" "M${tab}3${tab}HD${tab}${tab}"
grep -qE "^C${tab}3${tab}HD${tab}[^${tab}]*${tab}/\$" "$tmp/out" || { echo "FAIL: C: is /"; fail=1; }
awk -F'\t' 'NF != 5 { bad = 1 } END { exit bad }' "$tmp/out" || { echo "FAIL: five fields a line"; fail=1; }
[ -s "$tmp/err" ] && { echo "FAIL: nothing on stderr"; cat "$tmp/err"; fail=1; }
[ "$(wc -c <"$prog/CATTYP.DAT")" = 26 ] || { echo "FAIL: CATTYP.DAT has 26 bytes"; fail=1; }
[ "$(od -An -tu1 -j10 -N1 "$prog/CATTYP.DAT" | tr -d ' ')" = 5 ] || { echo "FAIL: K is stored as a CD drive"; fail=1; }
head -4 "$prog/drives.map" | cmp -s - <(printf '# test letters\nK\t%s\tCD\tGAMES\nL\t%s\nM\t%s\n' "$tmp/disc" "$tmp/plain" "$tmp/missing") ||
  { echo "FAIL: the user's lines stay as written"; fail=1; }

run "json" 0 drives --json
grep -qF "{\"letter\":\"K\",\"type\":5,\"kind\":\"CD\",\"label\":\"GAMES\",\"root\":\"$tmp/disc\"}" "$tmp/out" ||
  { echo "FAIL: json record"; cat "$tmp/out"; fail=1; }

# A mapped folder that is gone for one run keeps its kind: absent is "no
# medium", never another kind of drive.
rmdir "$tmp/plain" "$tmp/disc"
run "list without L and K" 0 drives
has_line "an absent hard-disk folder stays a hard disk" "L${tab}3${tab}HD${tab}${tab}"
has_line "an absent CD folder stays a CD" "K${tab}5${tab}CD${tab}${tab}"
mkdir "$tmp/plain" "$tmp/disc"
run "list with L and K back" 0 drives
has_line "L is a hard disk again" "L${tab}3${tab}HD${tab}plain${tab}$tmp/plain"
has_line "K is a CD again" "K${tab}5${tab}CD${tab}GAMES${tab}$tmp/disc"

run "unknown argument" 2 drives --bogus
[ "$(wc -l <"$tmp/err")" = 1 ] || { echo "FAIL: bad input gives one line on stderr"; fail=1; }

exit $fail
