#!/usr/bin/env bash
# Sets up the machine, builds ZEVRO and starts the desktop program on the
# default program folder (~/.local/share/zevro, or ZEVRO_HOME). Arguments are
# passed to the program (like --program-dir DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" release

exec "$root/build/zevro" "$@"
