#!/usr/bin/env bash
# zevro-cli catalogs: the catalogs of the catalog folder with their titles,
# and the catalog index it keeps up to date on the way.
source "$(dirname "$0")/harness.bash"
expect_index() {  # description, folder, expected CatList.CCZ bytes (printf format)
  printf "$3" >"$tmp/want"
  cmp -s "$2/CatList.CCZ" "$tmp/want" || { echo "FAIL: $1"; od -c "$2/CatList.CCZ" | head; fail=1; }
}
# A list file: 64-byte header, the title line (label, title in CP932 bytes as
# a printf format), one file row, the end marker.
list_file() {  # path, label, title
  { printf 'BX%062d' 0; printf "\x10$2\x11$3\x12\x13\x14"; printf '0\x10README.TXT\x11\x12\x13\x14'; printf '0\0'; } >"$1"
}

p=$tmp/p
mkdir -p "$p"
check "no catalogs yet" 0 "$cli" --program-dir "$p" catalogs
expect_out "no catalogs: no lines" ""

mkdir -p "$p/Catalog"
list_file "$p/Catalog/_00CD_GAMES.cct" GAMES '\x83\x51\x81\x5b\x83\x80'   # ゲーム
list_file "$p/Catalog/_03HD_DOCS.CCT" DOCS ''
list_file "$p/Catalog/_01FD_TABS.cct" TABS 'A\tB'
check "two catalogs" 0 "$cli" --program-dir "$p" catalogs
expect_out "one line per catalog: file name, TAB, title" \
  '_00cd_games.cct\tゲーム\n_01fd_tabs.cct\tA\tB\n_03hd_docs.cct\t無題(DOCS)\n'
expect_index "index written in CP932" "$p/Catalog" \
  '\x02_00cd_games.cct\x08\x83\x51\x81\x5b\x83\x80\x02_01fd_tabs.cct\x08A\tB\x02_03hd_docs.cct\x08\x96\xb3\x91\xe8(DOCS)\x02\0'

rm "$p/Catalog/_01FD_TABS.cct"
list_file "$p/Catalog/_02CD_NEW.cct" NEW 'Newer'
check "after a deletion and a new catalog" 0 "$cli" --program-dir "$p" catalogs
expect_out "deleted catalog gone, new one last" \
  '_00cd_games.cct\tゲーム\n_03hd_docs.cct\t無題(DOCS)\n_02cd_new.cct\tNewer\n'
expect_index "index follows the folder" "$p/Catalog" \
  '\x02_00cd_games.cct\x08\x83\x51\x81\x5b\x83\x80\x02_03hd_docs.cct\x08\x96\xb3\x91\xe8(DOCS)\x02_02cd_new.cct\x08Newer\x02\0'

check "json" 0 "$cli" --program-dir "$p" catalogs --json
expect_out "json array of file and title" \
  '[\n{"file":"_00cd_games.cct","title":"ゲーム"},\n{"file":"_03hd_docs.cct","title":"無題(DOCS)"},\n{"file":"_02cd_new.cct","title":"Newer"}\n]\n'

other=$tmp/elsewhere
mkdir -p "$other"
list_file "$other/_05HD_OTHER.cct" OTHER 'Other folder'
printf '[Options]\r\nCatalogDir=%s\r\n' "$other" >"$p/ZEVRO32.Opt"
check "catalog folder from the options" 0 "$cli" --program-dir "$p" catalogs
expect_out "catalogs of the option's folder" '_05hd_other.cct\tOther folder\n'

check "unknown argument" 2 "$cli" --program-dir "$p" catalogs --frobnicate
[ "$(wc -l <"$tmp/err")" = 1 ] || { echo "FAIL: bad argument gives one line on stderr"; fail=1; }

exit $fail
