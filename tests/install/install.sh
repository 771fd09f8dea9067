#!/usr/bin/env bash
# cmake --install into a fresh prefix puts the programs in bin/, the desktop
# entry and the icon where a Linux desktop finds them, and the bash
# completion of zevro-cli, which completes commands, options and catalogs.
# $1: the build folder; $2: ON when the desktop program is built.
set -u
build=$1
gui=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail=0

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

files="bin/zevro-cli
share/applications/zevro.desktop
share/icons/hicolor/scalable/apps/zevro.svg
share/icons/hicolor/256x256/apps/zevro.png
share/bash-completion/completions/zevro-cli"
[ "$gui" = ON ] && files="$files
bin/zevro"
while read -r f; do
  [ -s "$prefix/$f" ] || { echo "FAIL: $f not installed"; fail=1; }
done <<<"$files"
for f in bin/zevro-cli bin/zevro; do
  [ -e "$prefix/$f" ] && { [ -x "$prefix/$f" ] || { echo "FAIL: $f not executable"; fail=1; }; }
done

entry=$prefix/share/applications/zevro.desktop
desktop-file-validate "$entry" || { echo "FAIL: desktop-file-validate"; fail=1; }
for line in 'Name[ja]=ZEVRO ディスクカタログ' 'Name=ZEVRO Disk Catalogue' 'Categories=Utility;Archiving;' 'Icon=zevro' \
  'Exec=zevro'; do
  grep -qxF "$line" "$entry" || { echo "FAIL: no line $line"; fail=1; }
done
"$prefix/bin/zevro-cli" --version >/dev/null || { echo "FAIL: the installed zevro-cli does not run"; fail=1; }

# --- Completion ------------------------------------------------------------------------
export PATH="$prefix/bin:$PATH"
prog=$prefix/program
mkdir -p "$prog/media/DOCS"
printf 'x' >"$prog/media/DOCS/a.txt"
printf 'K\t%s\tHD\tDISC1\n' "$prog/media" >"$prog/drives.map"
zevro-cli --program-dir "$prog" read K: >/dev/null || { echo "FAIL: read"; fail=1; }
# shellcheck disable=SC1091
source "$prefix/share/bash-completion/completions/zevro-cli"
complete_line() {  # the words of a command line, the last one being completed
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _zevro_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}
expect() {
  [ "$2" = "$3" ] || { echo "FAIL: $1: wanted [$2], got [$3]"; fail=1; }
}
expect "commands" "read readme-title refresh" "$(complete_line zevro-cli re)"
# Every command the tool lists in its help, and no other.
commands=$(zevro-cli --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p' | sort -u | tr '\n' ' ' | sed 's/ $//')
[ "$(wc -w <<<"$commands")" -ge 20 ] || { echo "FAIL: commands in the help: [$commands]"; fail=1; }
expect "every command" "$commands" "$(complete_line zevro-cli '')"
expect "index options" "--check" "$(complete_line zevro-cli index --ch)"
expect "picture actions" "add" "$(complete_line zevro-cli picture a)"
expect "catalogs for picture" "_00hd_disc1.cct" "$(complete_line zevro-cli --program-dir "$prog" picture get _)"
expect "catalogs for edit" "_00hd_disc1.cct" "$(complete_line zevro-cli --program-dir "$prog" edit _)"
expect "edit's options" "--comment" "$(complete_line zevro-cli edit x.cct A --co)"
expect "tool options" "--help --program-dir --version" "$(complete_line zevro-cli --)"
expect "switches both ways" "--no-case" "$(complete_line zevro-cli search --no-c)"
expect "read's options" "--catalog-title" "$(complete_line zevro-cli read --ca)"
expect "genre commands" "delete down" "$(complete_line zevro-cli genres d)"
expect "sort orders" "extension" "$(complete_line zevro-cli read --sort e)"
expect "catalogs" "_00hd_disc1.cct" "$(complete_line zevro-cli --program-dir "$prog" dump _)"
expect "catalogs for title" "_00hd_disc1.cct" "$(complete_line zevro-cli --program-dir "$prog" title '')"
expect "catalogs for export" "_00hd_disc1.cct" "$(complete_line zevro-cli --program-dir "$prog" export _)"
expect "export's forms" "--csv" "$(complete_line zevro-cli export x.cct --cs)"
expect "export's modes" "0 1 2 4" "$(complete_line zevro-cli export x.cct --mode '')"
expect "duplicates' options" "--same-medium" "$(complete_line zevro-cli duplicates --sa)"
expect "what agrees" "name,size name,size,date" "$(complete_line zevro-cli duplicates --by '')"
expect "catalogs for diff" "_00hd_disc1.cct" "$(complete_line zevro-cli --program-dir "$prog" diff _00hd_disc1.cct _)"
expect "no third catalog for diff" "" "$(complete_line zevro-cli --program-dir "$prog" diff a.cct b.cct _)"
expect "no catalog after the file" "" "$(complete_line zevro-cli --program-dir "$prog" title _00hd_disc1.cct '')"
exit $fail
