#!/usr/bin/env bash
# Where the table goes and what is never lost: devices, pipes and links as
# results, inputs that can be read only once, names with spaces, the point
# file named as its own result. Each row checks the exact output and that
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
