#!/usr/bin/env bash
# Where the table or drawing goes and what is never lost: devices, pipes
# and links as results, inputs that can be read only once, names with
# spaces, the point file named as its own result. Each row checks the exact output and that
# the files beside it are as they were.
# Usage: result_safety_test.sh TORVANE_CLI
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"
cd "$work" || exit 1

convert=("$cli" convert --dx=500 --dy=600 --angle=30.1520)
printf 'A,755.5,740.8,1\r\n\xb5\xe3,755.5,740.8,2\r\n' >p.csv  # 点 in GBK
cp p.csv p.orig
printf 'A           291.64066         -7.11449           1.0000\r\n\xb5\xe3          291.64066         -7.11449           2.0000\r\n' >table.expected
printf 'an earlier table\r\n' >earlier

table=$(cat table.expected)

# --- results that are not regular files are written into, never replaced ---
run "-o /dev/null" 0 "" "" "${convert[@]}" -o /dev/null p.csv
equal "/dev/null stays a device" "character special file" "$(stat -c %F /dev/null)"
run "-o /dev/stdout into a pipe" 0 "$table" "" sh -c '"$@" -o /dev/stdout p.csv | cat' sh "${convert[@]}"
mkfifo fifo
cat fifo >from-fifo &
run "-o a FIFO" 0 "" "" "${convert[@]}" -o fifo p.csv
wait
equal "the FIFO's reader gets the table" "$table" "$(cat from-fifo)"
equal "the FIFO stays a FIFO" "fifo" "$(stat -c %F fifo)"
cp earlier t.txt && ln -s t.txt link.txt
run "-o a link to a file" 0 "" "" "${convert[@]}" -o link.txt p.csv
equal "the link stays a link" "symbolic link" "$(stat -c %F link.txt)"
equal "the file it leads to gets the table" "$table" "$(cat t.txt)"
rm -f fifo from-fifo link.txt t.txt

# --- drawings likewise: written into a FIFO, a pipe or a device, never
# replaced, and read once from a FIFO (a dimension's block asks for a second
# reading). The expected drawings are worked by hand: DXF x to (x - 200) / 2
# and y to (y - 100) / 2. ---
draw=("$cli" convert --dx=100 --dy=200 --angle=0 --scale=2)
printf '0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\n300\r\n20\r\n150\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n' >d.dxf
drawing=$(printf '0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\n50\r\n20\r\n25\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n')
mkfifo fifo
# Bounded: a FIFO replaced by a file would leave its reader waiting.
timeout 60 cat fifo >from-fifo &
run "a drawing to a FIFO" 0 "" "" "${draw[@]}" -o fifo d.dxf
wait
equal "the FIFO's reader gets the drawing" "$drawing" "$(cat from-fifo)"
equal "the FIFO stays a FIFO after a drawing" "fifo" "$(stat -c %F fifo)"
# Only once a FIFO is known to be written into: a fault would replace the
# machine's /dev/null as root.
if [ "$(stat -c %F fifo)" = fifo ]; then
  run "a drawing to /dev/null" 0 "" "" "${draw[@]}" -o /dev/null d.dxf
  equal "/dev/null stays a device after a drawing" "character special file" "$(stat -c %F /dev/null)"
fi
run "a drawing to /dev/stdout into a pipe" 0 "$drawing" "" sh -c '"$@" -o /dev/stdout d.dxf | cat' sh "${draw[@]}"
ln -s nowhere.dxf dangling.dxf
run "a drawing to a link to nothing" 1 "" "dangling.dxf: cannot write: it is a link to nothing" \
  "${draw[@]}" -o dangling.dxf d.dxf
equal "the link stays as it was" "nowhere.dxf" "$(readlink dangling.dxf)"
printf '0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\n*D1\n0\nLINE\n10\n300\n20\n150\n11\n302\n21\n150\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nDIMENSION\n2\n*D1\n10\n300\n20\n150\n0\nENDSEC\n0\nEOF\n' >dim.dxf
mkfifo in.dxf
timeout 60 cat dim.dxf >in.dxf &
run "a drawing with a dimension from a FIFO" 0 "" "" "${draw[@]}" -o from-fifo.dxf in.dxf
wait
equal "its result" "$(printf '0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\n*D1\n0\nLINE\n10\n50\n20\n25\n11\n51\n21\n25\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nDIMENSION\n2\n*D1\n10\n50\n20\n25\n0\nENDSEC\n0\nEOF\n')" "$(cat from-fifo.dxf)"
rm -f fifo from-fifo in.dxf from-fifo.dxf dangling.dxf d.dxf dim.dxf

# --- inputs read once: pipes, process substitution, devices ---
run "a process substitution" 0 "$table" "" "${convert[@]}" -o - <(cat p.csv)
mkfifo in-fifo
cat p.csv >in-fifo &
run "a FIFO as point file" 0 "$table" "" "${convert[@]}" -o - in-fifo
wait
rm in-fifo
run "/dev/zero stops at its first byte" 1 "" "/dev/zero:1: line holds a NUL byte: not UTF-8 or GBK text (saved as UTF-16?)" \
  "${convert[@]}" -o - /dev/zero
run "an endless line on standard input" 1 "" "standard input:1: line is longer than 1048576 bytes: not a point file" \
  sh -c 'yes 1234567890 | tr -d "\n" | "$@" -o - -' sh "${convert[@]}"

# --- standard output gets a whole table or nothing ---
printf 'A,1,2,3\r\nB,1.7e308,-1.7e308,0\r\n' >overflow.csv
run "a conversion that overflows" 1 "" "overflow.csv:2: converted Y is too large to write" \
  "${convert[@]}" -o - overflow.csv

# --- names are taken as given; the point file is never its own result ---
cp earlier 'p转化后成果表.txt'
cp p.csv ' p.csv'
run "a name with a space before it" 0 "" "" "${convert[@]}" ' p.csv'
equal "gets a table of its own" "$table" "$(cat ' p转化后成果表.txt')"
equal "the table of p.csv is untouched" "$(cat earlier)" "$(cat 'p转化后成果表.txt')"
run "-o the point file" 2 "" "p.csv: the result would replace the point file itself" \
  "${convert[@]}" -o p.csv p.csv
equal "the point file is intact" "$(od -c p.orig)" "$(od -c p.csv)"
long=$(printf 'n%.0s' $(seq 232))  # its table's name is 254 bytes, the temporary's far less
cp p.csv "$long.csv"
run "a name near the longest" 0 "" "" "${convert[@]}" "$long.csv"
equal "its table" "$table" "$(cat "${long}转化后成果表.txt")"

# --- a replaced table keeps its permissions; nothing else is left ---
chmod 600 'p转化后成果表.txt'
run "replacing a private table" 0 "" "" "${convert[@]}" p.csv
equal "permissions kept" "600" "$(stat -c %a 'p转化后成果表.txt')"
equal "no temporary left" "" "$(ls -A | grep -v -e '\.csv$' -e '成果表\.txt$' -e '^earlier$' -e '^p.orig$' -e '^table.expected$' -e '^overflow.csv$' -e '^out$' -e '^err$')"

summary result_safety_test
