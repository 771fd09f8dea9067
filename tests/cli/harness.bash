# What every zevro-cli test script shares; sourced at its top:
#   source "$(dirname "$0")/harness.bash"
# $1 of the script is the zevro-cli to test. Output of the last `check` is in
# $tmp/out and $tmp/err; a failed check sets fail=1, and the script ends
# with `exit $fail`.
set -u
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

check() {  # description, expected status, command...
  local what=$1 want=$2; shift 2
  "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: exit $got, wanted $want"; cat "$tmp/err"; fail=1
  fi
}

expect_out() {  # description, expected stdout (printf format)
  printf -- "$2" >"$tmp/want"
  cmp -s "$tmp/out" "$tmp/want" || { echo "FAIL: $1"; echo "got:"; cat -A "$tmp/out"; echo "wanted:"; cat -A "$tmp/want"; fail=1; }
}

expect() {  # description, wanted, got
  if [ "$2" != "$3" ]; then echo "FAIL: $1: wanted [$2], got [$3]"; fail=1; fi
}
