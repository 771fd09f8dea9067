#!/usr/bin/env bash
# zevro-cli as a script would use it: help, version, bad input, program folder.
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

check "help" 0 "$cli" --help
grep -q "Usage: zevro-cli" "$tmp/out" || { echo "FAIL: help text"; fail=1; }
check "version" 0 "$cli" --version
grep -qE '^zevro-cli [0-9]+\.[0-9]+\.[0-9]+$' "$tmp/out" || { echo "FAIL: version line"; fail=1; }
check "no command" 2 "$cli"
check "unknown command" 2 "$cli" --program-dir "$tmp/p" no-such-command
grep -q "unknown command no-such-command" "$tmp/err" || { echo "FAIL: unknown command message"; fail=1; }
[ "$(wc -l <"$tmp/err")" = 1 ] || { echo "FAIL: bad input gives one line on stderr"; fail=1; }
check "unknown option" 2 "$cli" --frobnicate
check "program dir without value" 2 "$cli" --program-dir

exit $fail
