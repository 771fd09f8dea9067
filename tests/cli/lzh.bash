# LZH archives written byte by byte for the cli scripts (level-0 headers,
# stored "-lh0-" members dated 2005-03-04 10:20, with their CRC-16); sourced
# after harness.bash:
#   lzh "$tmp/tool.lzh" 'doc\\readme.txt' 'hello' 'tool.exe' 'MZ'
# Names are printf formats (CP932 bytes as \x escapes), data plain text.

# CRC-16 (the LZH check sum) of a file's bytes.
crc16() {
  local crc=0 b i
  for b in $(od -An -v -tu1 "$1"); do
    crc=$(( crc ^ b ))
    for i in 1 2 3 4 5 6 7 8; do
      if (( crc & 1 )); then crc=$(( (crc >> 1) ^ 0xA001 )); else crc=$(( crc >> 1 )); fi
    done
  done
  echo $crc
}
le() {  # value width: little-endian bytes as printf escapes
  local v=$1 n=$2 out="" i
  for ((i = 0; i < n; i++)); do out+=$(printf '\\x%02x' $(( (v >> (8 * i)) & 255 ))); done
  printf '%s' "$out"
}
# Appends one stored member to an archive: archive, name file, data file.
lzh_member() {
  local archive=$1 namefile=$2 datafile=$3
  local size namelen crc body sum b
  size=$(stat -c %s "$datafile"); namelen=$(stat -c %s "$namefile"); crc=$(crc16 "$datafile")
  {
    printf -- '-lh0-'
    printf "$(le "$size" 4)$(le "$size" 4)"
    printf "$(le $(( (10 << 11) | (20 << 5) )) 2)$(le $(( (25 << 9) | (3 << 5) | 4 )) 2)"  # 2005-03-04 10:20
    printf '\x20\x00'
    printf "$(le "$namelen" 1)"
    cat "$namefile"
    printf "$(le "$crc" 2)"
  } >"$tmp/body"
  sum=0
  for b in $(od -An -v -tu1 "$tmp/body"); do sum=$(( (sum + b) & 255 )); done
  { printf "$(le "$(stat -c %s "$tmp/body")" 1)$(le $sum 1)"; cat "$tmp/body" "$datafile"; } >>"$archive"
}
lzh() {  # archive, then pairs of name (printf format, CP932 bytes) and data
  local archive=$1; shift
  : >"$archive"
  while [ $# -gt 0 ]; do
    printf -- "$1" >"$tmp/name"; printf '%s' "$2" >"$tmp/data"; shift 2
    lzh_member "$archive" "$tmp/name" "$tmp/data"
  done
  printf '\x00' >>"$archive"
}

