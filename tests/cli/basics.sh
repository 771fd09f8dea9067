#!/usr/bin/env bash
# zevro-cli as a script would use it: help, version, bad input, program folder.
source "$(dirname "$0")/harness.bash"

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
