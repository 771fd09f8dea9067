#!/usr/bin/env bash
# zevro-cli duplicates, only-here and diff over catalogs made by zevro-cli
# read from folders mapped to drive letters: groups across media in order of
# waste, the names folded as the search folds them, the filters, the files
# no other medium holds, and what changed between two readings of a folder.
source "$(dirname "$0")/harness.bash"
export TZ=UTC
prog=$tmp/prog
mkdir -p "$prog" "$tmp/cd/DOCS" "$tmp/fd" "$tmp/hd/X" "$tmp/hd/Y"

cli_() { "$cli" --program-dir "$prog" "$@"; }
bytes() { head -c "$2" /dev/zero | tr '\0' 'x' >"$1"; }
# The rows printed, as "group file path" joined by "|".
rows() { awk -F'\t' '{ print $1 " " $7 " " $5 }' "$tmp/out" | tr '\n' '|' | sed 's/|$//'; }

bytes "$tmp/cd/DOCS/SETUP.EXE" 1000
bytes "$tmp/cd/ＡＢＣ.TXT" 300
bytes "$tmp/cd/only-cd.txt" 7
: >"$tmp/cd/EMPTY.TXT"
bytes "$tmp/fd/setup.exe" 1000
bytes "$tmp/fd/abc.txt" 300
: >"$tmp/fd/EMPTY.TXT"
bytes "$tmp/hd/X/Setup.Exe" 1000
bytes "$tmp/hd/X/TWICE.DAT" 50
bytes "$tmp/hd/Y/TWICE.DAT" 50
# One time for every file, another for the hard disk's copy of SETUP.EXE.
find "$tmp/cd" "$tmp/fd" "$tmp/hd" -type f -exec touch -d '2024-01-02 10:00' {} +
touch -d '2023-05-06 07:08' "$tmp/hd/X/Setup.Exe"
printf 'K\t%s\tCD\tDISC\nJ\t%s\tFD\nL\t%s\tHD\tDISK\n' "$tmp/cd" "$tmp/fd" "$tmp/hd" >"$prog/drives.map"
check "read K:" 0 cli_ read K:
cd=$(cat "$tmp/out")
check "read J:" 0 cli_ read --genre 3 --title FLOPPY J:
fd=$(cat "$tmp/out")
check "read L:" 0 cli_ read --genre 5 L:
hd=$(cat "$tmp/out")

# --- duplicates -----------------------------------------------------------------
check "groups found" 0 cli_ duplicates
expect "largest waste first, case and width folded" \
  "1 $cd DOCS\\SETUP.EXE|1 $fd setup.exe|1 $hd X\\Setup.Exe|2 $cd ＡＢＣ.TXT|2 $fd abc.txt" "$(rows)"
expect "seven columns a line" "5" "$(awk -F'\t' 'NF == 7' "$tmp/out" | wc -l)"
expect "size and name columns" "1000	SETUP.EXE" "$(head -1 "$tmp/out" | cut -f2,3)"
check "copies on one medium" 0 cli_ duplicates --same-medium --min-size 40
expect "TWICE.DAT with --same-medium" \
  "1 $cd DOCS\\SETUP.EXE|1 $fd setup.exe|1 $hd X\\Setup.Exe|2 $cd ＡＢＣ.TXT|2 $fd abc.txt|3 $hd X\\TWICE.DAT|3 $hd Y\\TWICE.DAT" \
  "$(rows)"
check "minimum size" 0 cli_ duplicates --min-size 500
expect "only the large group" "1 $cd DOCS\\SETUP.EXE|1 $fd setup.exe|1 $hd X\\Setup.Exe" "$(rows)"
check "media filter" 0 cli_ duplicates --media CD,FD
expect "CD and floppy only" "1 $cd DOCS\\SETUP.EXE|1 $fd setup.exe|2 $cd ＡＢＣ.TXT|2 $fd abc.txt" "$(rows)"
check "genre filter without groups" 1 cli_ duplicates --genre 5
expect "nothing printed" "" "$(cat "$tmp/out")"
check "by date" 0 cli_ duplicates --by name,size,date --min-size 500
expect "the copy of another date is left out" "1 $cd DOCS\SETUP.EXE|1 $fd setup.exe" "$(rows)"
check "json" 0 cli_ duplicates --json --min-size 500
expect "json keys" '{"group":1,"size":1000,"name":"SETUP.EXE","path":"DOCS\\SETUP.EXE","date":"24/01/02 19:00","file":"'"$cd"'"}' \
  "$(head -1 "$tmp/out" | sed 's/"title":"[^"]*",//')"
check "an unknown option" 2 cli_ duplicates --frobnicate
check "a bad --by" 2 cli_ duplicates --by size
check "a bad --min-size" 2 cli_ duplicates --min-size lots
check "help" 0 cli_ duplicates --help

# --- only-here -------------------------------------------------------------------
check "only on the CD" 0 cli_ only-here "$cd"
expect "size, name, path, date, file; empty files never" "7	only-cd.txt	only-cd.txt	24/01/02 19:00	$cd" \
  "$(cut -f1,2,4,5,6 "$tmp/out")"
check "against the CD only, the floppy keeps nothing of its own" 1 cli_ only-here "$fd" --media CD
check "the hard disk" 0 cli_ only-here "$hd"
expect "both copies of TWICE.DAT" "X\\TWICE.DAT|Y\\TWICE.DAT" "$(cut -f4 "$tmp/out" | tr '\n' '|' | sed 's/|$//')"
check "a path works too" 0 cli_ only-here "$prog/Catalog/$cd"
check "no such file" 2 cli_ only-here _00CD_NOTHING.cct
check "one file only" 2 cli_ only-here "$cd" "$fd"

# --- diff ------------------------------------------------------------------------
check "a catalog against itself" 1 cli_ diff "$cd" "$cd"
mkdir -p "$tmp/cd2/DOCS" "$tmp/cd2/NEW"
bytes "$tmp/cd2/DOCS/SETUP.EXE" 1001
bytes "$tmp/cd2/NEW/ＡＢＣ.TXT" 300
bytes "$tmp/cd2/added.txt" 3
: >"$tmp/cd2/empty.txt"
find "$tmp/cd2" -type f -exec touch -d '2024-01-02 10:00' {} +
printf 'M\t%s\tCD\tDISC2\n' "$tmp/cd2" >>"$prog/drives.map"
check "read M:" 0 cli_ read M:
cd2=$(cat "$tmp/out")
check "changes" 0 cli_ diff "$cd" "$cd2"
expect "added, removed, changed, moved, case-only" \
  "+ added.txt 3|~ DOCS\\SETUP.EXE 1001|> NEW\\ＡＢＣ.TXT 300|- only-cd.txt 7" \
  "$(awk -F'\t' '{ print $1 " " $2 " " $3 }' "$tmp/out" | tr '\n' '|' | sed 's/|$//')"
expect "the old path of a move" "ＡＢＣ.TXT" "$(awk -F'\t' '$1 == ">" { print $5 }' "$tmp/out")"
expect "the old size of a change" "1000" "$(awk -F'\t' '$1 == "~" { print $5 }' "$tmp/out")"
check "json" 0 cli_ diff --json "$cd" "$cd2"
expect "a move in json" '{"change":">","path":"NEW\\ＡＢＣ.TXT","size":300,' \
  "$(grep '"change":">"' "$tmp/out" | sed 's/"date".*//')"
check "two files wanted" 2 cli_ diff "$cd"

# --- Files in the catalog folder that are no list files -----------------------------
truncate -s 3G "$prog/Catalog/_00HD_HUGE.cct"
mkfifo "$prog/Catalog/_00HD_PIPE.cct"
check "duplicates beside a huge file and a pipe" 0 timeout 20 "$cli" --program-dir "$prog" duplicates --min-size 500
expect "the huge file named" "1" "$(grep -c '_00HD_HUGE.cct cannot be read (larger than any list file)' "$tmp/err")"
check "only-here beside them" 0 timeout 20 "$cli" --program-dir "$prog" only-here "$hd"
check "a huge FILE is refused" 2 timeout 20 "$cli" --program-dir "$prog" diff "$cd" _00HD_HUGE.cct
check "not a list file" 2 cli_ diff "$cd" /etc/hostname
# --- Names of every kind, written out as they are named ------------------------------
odd=$tmp/odd
mkdir -p "$odd/prog" "$odd/a" "$odd/b"
names=('写真 ｶﾞｲﾄﾞ.txt' '😀smile.txt' $'bad\xff.txt' $'tab\tname.txt' 'plain.txt'
       'a long ASCII run 写真 then more ASCII ｶﾅ and the end.txt')
for d in a b; do
  for n in "${names[@]}"; do printf 'xyz' >"$odd/$d/$n"; done
done
printf 'K\t%s\tCD\tDISC\nL\t%s\tHD\tDISK\n' "$odd/a" "$odd/b" >"$odd/prog/drives.map"
check "read odd K:" 0 "$cli" --program-dir "$odd/prog" read K:
check "read odd L:" 0 "$cli" --program-dir "$odd/prog" read L:
check "duplicates of odd names" 0 "$cli" --program-dir "$odd/prog" duplicates --media CD,HD
expect "every name twice, in name and path columns alike" "12" "$(awk -F'\t' 'NF == 7 && $3 == $5' "$tmp/out" | wc -l)"
expect "kanji and half-width kana" "2" "$(cut -f3 "$tmp/out" | grep -cx '写真 ｶﾞｲﾄﾞ.txt')"
expect "a character beyond 16 bits" "2" "$(cut -f3 "$tmp/out" | grep -cx '😀smile.txt')"
expect "a byte that is no UTF-8 as the replacement character" "2" "$(cut -f3 "$tmp/out" | grep -cx 'bad�.txt')"
expect "a tab as the catalog writes it" "2" "$(cut -f3 "$tmp/out" | grep -cx 'tab&#x0009;name.txt')"
expect "ASCII runs around other characters" "2" "$(cut -f3 "$tmp/out" | grep -cx 'a long ASCII run 写真 then more ASCII ｶﾅ and the end.txt')"
expect "titles" "DISC DISK" "$(cut -f4 "$tmp/out" | sort -u | tr '\n' ' ' | sed 's/ $//')"
exit $fail
