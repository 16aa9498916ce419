#!/usr/bin/env bash
# The Windows torvane-cli.exe, run under Wine, against the Linux build: the
# same command lines on the same files must give the same tables, standard
# output, standard error and exit status, byte for byte. Run it once for
# each locale to check (LC_ALL=zh_CN.UTF-8 gives Wine code page 936).
# Usage: windows_cli_test.sh path/to/linux/torvane-cli path/to/torvane-cli.exe path/to/examples
set -u
linux_cli=$1
windows_cli=$2
examples=$3
wine=${WINE:-wine}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# The inputs, copied afresh into a folder for each side before each case.
inputs=$work/inputs
mkdir -p "$inputs"
cp "$examples/points.csv" "$examples/control-points.csv" "$examples/scaled-points.csv" "$inputs/"
# GBK (code page 936) with a Chinese file name and Chinese point names.
printf '\xbf\xd8\xd6\xc6\xb5\xe31, 755.500, 740.800, 1215.101\r\n\xb5\xe32, 761.5, 782.3\r\n' \
  >"$inputs/控制点.csv"
# Hangul and Greek, in neither code page 936 nor 1252.
cp "$examples/points.csv" "$inputs/측점 Ω.csv"
# Ctrl-Z, which a Windows text stream takes for the end of its input.
printf 'A,755.5,740.8,1.0\r\nB\x1aB,761.5,782.3,2.0\r\nC,750,651.35,3.0\r\n' >"$inputs/ctrl-z.csv"
# A space before the name: another file than points.csv, with a table of its own.
cp "$examples/points.csv" "$inputs/ points.csv"
printf 'A,1,2,3\r\nB,1.7e308,-1.7e308,0\r\n' >"$inputs/overflow.csv"
{ printf 'A,1,2,3\r\n'; head -c 1100000 /dev/zero | tr '\0' 7; printf '\r\n'; } >"$inputs/long-line.csv"
# Control bytes in a point name: shown escaped in the message.
printf 'A\x1b[2J\x07,755.5\r\n' >"$inputs/ctl.csv"
# A spreadsheet's GBK header, 点名,X坐标,Y坐标,H: the message in UTF-8.
printf '\xb5\xe3\xc3\xfb,X\xd7\xf8\xb1\xea,Y\xd7\xf8\xb1\xea,H\r\nA,755.5,740.8,1\r\n' >"$inputs/表头.csv"
# GBK's user-defined areas (AA A1, F8 A1, A1 40): read alike by iconv and by
# code page 936, as the private-use characters U+E000, U+E234, U+E4C6.
printf '\xaa\xa1,755.5,740.8\r\n\xf8\xa1,755.5,740.8\r\n\xa1\x40,755.5,740.8\r\n' >"$inputs/user-defined.csv"
# The same three in UTF-8 (U+E000, U+E234, U+E4C6), and a Hangul name, for
# results asked for in GBK.
printf '\xee\x80\x80,755.5,740.8\r\n\xee\x88\xb4,755.5,740.8\r\n\xee\x93\x86,755.5,740.8\r\n' >"$inputs/pua.csv"
printf 'A,755.5,740.8\r\n\xec\xb8\xa1\xec\xa0\x90,755.5,740.8\r\n' >"$inputs/hangul.csv"
# Valid in both encodings: GBK's 施1 (ʩ1 in UTF-8); quoted names.
printf '\xca\xa91,755.5,740.8,1\r\n"A ""1"", east",755.5,740.8,2\r\n' >"$inputs/both.csv"
# A workbook given as a point file.
printf 'PK\x03\x04\x14\x00\x06\x00\x08\x00\x00\x00!\x00' >"$inputs/points.xlsx"
# South CASS: point, code, east, north, height; and a folder for results.
printf '1,128,740.800,755.500,1215.101\r\n2,,782.3,761.5,\r\n' >"$inputs/cass.dat"
mkdir "$inputs/out"
# Drawings written by ezdxf (python3-ezdxf), DXF R12 to R2018 holding every
# kind of entity convert carries, GBK (R2000, R2004) and UTF-8 text; one
# under a Chinese name; and a DWG.
/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/dxf_test.py" --drawings "$inputs"
drawings=(site-R12.dxf site-R2000-gbk.dxf site-R2004-gbk.dxf site-R2007.dxf site-R2010.dxf
  site-R2013.dxf site-R2018.dxf)
cp "$inputs/site-R2000-gbk.dxf" "$inputs/总平面图.dxf"
printf 'AC1032\0\0\0\0' >"$inputs/site.dwg"
# 200,000 points on a national-grid site, CR LF, deterministic.
awk 'BEGIN { srand(7); for (i = 1; i <= 200000; i++)
  printf "P%d,%.3f,%.3f,%.3f\r\n", i, 3400000 + rand() * 90000, 500000 + rand() * 90000, rand() * 3000 }' \
  >"$inputs/many.csv"

# 5,000 common points on a national-grid site with about 80 ppm of scale:
# the F quantile of F(1, 9996) in JSON to its last digit.
awk 'BEGIN { srand(11); for (i = 1; i <= 5000; i++) { x = rand() * 3000; y = rand() * 3000
  printf "C%d,%.4f,%.4f,%.4f,%.4f\r\n", i, 3400000 + 1.00008 * (0.8 * x - 0.6 * y) + rand() * 0.004,
    500000 + 1.00008 * (0.6 * x + 0.8 * y) + rand() * 0.004, x, y } }' >"$inputs/common-many.csv"

# same NAME [STDIN_FILE|-] -- arguments...: runs both programs in copies of
# the inputs and compares everything they leave.
same() {
  local name=$1 stdin=$2
  shift 3
  local side
  for side in linux windows; do
    rm -rf "${work:?}/$side"
    cp -r "$inputs" "$work/$side"
    local input=/dev/null
    [ "$stdin" != "-" ] && input=$inputs/$stdin
    if [ "$side" = linux ]; then
      (cd "$work/$side" && "$linux_cli" "$@" <"$input" >"$work/$side.out" 2>"$work/$side.err")
    else
      (cd "$work/$side" && "$wine" "$windows_cli" "$@" <"$input" >"$work/$side.out" 2>"$work/$side.err")
    fi
    echo $? >"$work/$side.status"
  done
  local what
  for what in status out err; do
    if ! cmp -s "$work/linux.$what" "$work/windows.$what"; then
      echo "FAIL $name: $what differs (Linux, then Windows)"
      head -c 300 "$work/linux.$what" | od -c | head -5
      head -c 300 "$work/windows.$what" | od -c | head -5
      failed=$((failed + 1))
      return
    fi
  done
  if ! diff -r "$work/linux" "$work/windows" >/dev/null; then
    echo "FAIL $name: the files written differ"
    diff -rq "$work/linux" "$work/windows" | head -5
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + 1))
}

# must NAME FILE TEXT: a check of the Linux side's own, so that "the same"
# cannot mean "the same failure".
must() { check "$1: $2 holds \"$3\"" grep -q -- "$3" "$work/$2"; }

params=(--dx=500 --dy=600 --angle=30.1520)
same "example beside its point file" - -- convert "${params[@]}" points.csv
must "example beside its point file" "linux/points转化后成果表.txt" "III11       291.64066         -7.11449           1215.1010"
same "example to standard output" - -- convert "${params[@]}" -o - points.csv
same "GBK file with a Chinese name" - -- convert "${params[@]}" 控制点.csv
must "GBK file with a Chinese name" "linux.status" "^0$"
same "GBK file to a Chinese result name" - -- convert "${params[@]}" -o 成果.txt 控制点.csv
same "a name outside the ANSI code page" - -- convert "${params[@]}" "측점 Ω.csv"
must "a name outside the ANSI code page" "linux.status" "^0$"
same "standard input holding Ctrl-Z" ctrl-z.csv -- convert "${params[@]}" -
must "standard input holding Ctrl-Z" "linux.out" "^C "
same "200,000 points to construction" - -- convert "${params[@]}" many.csv
same "200,000 points to survey" - -- convert "${params[@]}" --to=survey -o - many.csv
same "a missing Chinese file" - -- convert "${params[@]}" 缺少的文件.csv
must "a missing Chinese file" "linux.err" "缺少的文件.csv"
same "solve with the check report" - -- solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 \
  --construction-a=0,0 --construction-b=100,0 --check=1000.000161,2000.000161,45.
same "solve from many points" - -- solve --points=control-points.csv
same "solve from many points, JSON" - -- solve --points=control-points.csv --format=json
same "solve, four parameters, JSON" - -- solve --points=scaled-points.csv --model=similarity --format=json
same "solve, four parameters, 5,000 points, JSON" - -- \
  solve --points=common-many.csv --model=similarity --format=json
must "solve, four parameters, 5,000 points, JSON" "linux.out" '"f_quantile": 3\.84[0-9]*, "f_freedom": 9996'
same "the point file as its own result" - -- convert "${params[@]}" -o points.csv points.csv
must "the point file as its own result" "linux.status" "^2$"
same "a name with a space before it" - -- convert "${params[@]}" " points.csv"
check "a name with a space before it: its own table" test -e "$work/linux/ points转化后成果表.txt"
same "an overflow leaves standard output empty" - -- convert "${params[@]}" -o - overflow.csv
must "an overflow leaves standard output empty" "linux.status" "^1$"
same "a line longer than 1 MiB" - -- convert "${params[@]}" long-line.csv
must "a line longer than 1 MiB" "linux.err" "longer than 1048576 bytes"
same "usage error" - -- convert --dx=abc --dy=1 --angle=1 points.csv
same "an empty value" - -- convert --dx= --dy=1 --angle=1 points.csv
same "an empty result name" - -- convert "${params[@]}" -o '' points.csv
same "control bytes in a value" - -- convert --dx=$'\e[31m5' --dy=1 --angle=1 points.csv
same "control bytes in a line of standard input" ctl.csv -- convert "${params[@]}" -o - -
must "control bytes in a line of standard input" "linux.err" '^standard input:1: line "A\\x1b\[2J\\x07'
same "an angle with 60 minutes" - -- convert --dx=500 --dy=600 --angle=30.6 -o - points.csv
must "an angle with 60 minutes" "linux.err" "read as 31°00′00″"
same "help" - -- convert --help
same "solve's help" - -- solve --help
same "convert --version" - -- convert --version
same "a filter: standard input to standard output" points.csv -- convert "${params[@]}"
same "several files into a folder as CSV" - -- convert "${params[@]}" --format=csv -o out/ 控制点.csv points.csv
must "several files into a folder as CSV" "linux/out/控制点转化后成果表.csv" ",291.64066,-7.11449,1215.101"
same "JSON of a GBK file" - -- convert "${params[@]}" --format=json -o - 控制点.csv
same "a GBK header" - -- convert "${params[@]}" -o - 表头.csv
same "GBK's user-defined areas" - -- convert "${params[@]}" --format=json -o - user-defined.csv
same "valid in both encodings, quoted names" - -- convert "${params[@]}" -o - both.csv
same "valid in both, --encoding=utf-8" - -- convert "${params[@]}" --encoding=utf-8 --format=csv -o - both.csv
# Results in an encoding of their own: GBK to UTF-8 after a BOM, UTF-8 and
# the user-defined areas to GBK (code page 936 and iconv alike), and a name
# GBK has no code for.
same "GBK to --output-encoding=utf-8-bom" - -- convert "${params[@]}" --output-encoding=utf-8-bom --format=csv -o - 控制点.csv
same "the user-defined areas back to GBK" - -- convert "${params[@]}" --output-encoding=gbk -o - pua.csv
same "UTF-8 to --output-encoding=gbk" - -- convert "${params[@]}" --output-encoding=gbk --format=csv -o - points.csv
same "Hangul to --output-encoding=gbk" - -- convert "${params[@]}" --output-encoding=gbk hangul.csv
same "a workbook" - -- convert "${params[@]}" points.xlsx
same "South CASS columns to CSV" - -- convert "${params[@]}" --columns=name,code,y,x,h --format=csv cass.dat
same "-o FILE with several point files" - -- convert "${params[@]}" -o one.txt points.csv cass.dat
site=(--dx=3412500 --dy=501100 --angle=28.24003519 --scale=1.000078782)
same "drawings of every version beside themselves" - -- convert "${site[@]}" "${drawings[@]}"
must "drawings of every version beside themselves" "linux.status" "^0$"
check "drawings of every version beside themselves: written" \
  test -s "$work/linux/site-R2018转化后.dxf"
# Sloping planes go through the arbitrary-axis algorithm and sums of
# products compensated by hand (MinGW-w64's fma is not fused): the same
# bytes from both C libraries.
same "a drawing in sloping planes, scale 1" - -- \
  convert --dx=3412500 --dy=501100 --angle=28.24003519 --scale=1 sloping-R2018.dxf
must "a drawing in sloping planes, scale 1" "linux.status" "^0$"
same "a GBK drawing under a Chinese name, to survey, north first" - -- \
  convert "${site[@]}" --to=survey --axis=north-east 总平面图.dxf
must "a GBK drawing under a Chinese name, to survey, north first" "linux.status" "^0$"
same "drawings and a point file into a folder" - -- \
  convert "${site[@]}" -o out/ site-R2007.dxf points.csv site-R12.dxf
same "a DWG drawing" - -- convert "${site[@]}" site.dwg
must "a DWG drawing" "linux.status" "^1$"
must "a DWG drawing" "linux.err" "save it as DXF"

# Standard output that cannot be written: on a full disk the same message
# and status. Closed, the same status and a message naming standard output;
# its reason differs, since Wine hands a program started with descriptor 1
# closed a handle that fails every write (the runtime's "Bad file
# descriptor") where Windows gives none, which the program tells as closed.
for how in full closed; do
  for args in "solve --survey-a=1,2 --survey-b=3,4 --construction-a=0,0 --construction-b=1,1" \
    "convert ${params[*]} -o - points.csv"; do
    for side in linux windows; do
      rm -rf "${work:?}/$side" && cp -r "$inputs" "$work/$side"
      program=("$linux_cli")
      [ "$side" = windows ] && program=("$wine" "$windows_cli")
      if [ "$how" = full ]; then
        (cd "$work/$side" && "${program[@]}" $args </dev/null >/dev/full 2>"$work/$side.err")
      else
        (cd "$work/$side" && "${program[@]}" $args </dev/null >&- 2>"$work/$side.err")
      fi
      echo $? >"$work/$side.status"
    done
    name="standard output $how: ${args%% *}"
    check "$name: status" cmp -s "$work/linux.status" "$work/windows.status"
    must "$name" "linux.status" "^1$"
    if [ "$how" = full ]; then
      check "$name: message" cmp -s "$work/linux.err" "$work/windows.err"
    else
      check "$name: message" grep -q "^standard output: cannot write: " "$work/windows.err"
    fi
    must "$name" "linux.err" "^standard output: cannot write: "
  done
done

# On a console (a terminal, through script(1)) messages are shown as
# characters whatever the console's code page, not as UTF-8 bytes read in it.
console=$(cd "$inputs" && script -qc "$wine $windows_cli convert ${params[*]} 缺少的文件.csv" /dev/null)
check "a message on a console" grep -q "缺少的文件.csv: cannot open: No such file or directory" <<<"$console"

# NUL, Windows' null device, is written into, never replaced by a file.
rm -rf "$work/windows" && cp -r "$inputs" "$work/windows"
(cd "$work/windows" && "$wine" "$windows_cli" convert "${params[@]}" -o NUL points.csv >/dev/null 2>&1)
check "-o NUL succeeds" test $? -eq 0
check "-o NUL leaves no file" diff -r "$inputs" "$work/windows"

# A.csv and a.csv are one name in a Windows folder: two point files whose
# tables would both be out\a转化后成果表.txt are refused, nothing written.
rm -rf "$work/windows" && cp -r "$inputs" "$work/windows"
mkdir "$work/windows/x" "$work/windows/y"
cp "$examples/points.csv" "$work/windows/x/A.csv"
cp "$examples/points.csv" "$work/windows/y/a.csv"
(cd "$work/windows" && "$wine" "$windows_cli" convert "${params[@]}" -o 'out\' 'x\A.csv' 'y\a.csv' \
  >/dev/null 2>"$work/windows.err")
check "A.csv and a.csv into one folder: a usage error" test $? -eq 2
check "A.csv and a.csv into one folder: the message" grep -qxF \
  'torvane-cli: -o: x\A.csv and y\a.csv would both be written to out\a转化后成果表.txt' "$work/windows.err"
check "A.csv and a.csv into one folder: nothing written" test -z "$(ls -A "$work/windows/out")"

# A second run replaces the table of the first.
rm -rf "$work/windows" && cp -r "$inputs" "$work/windows"
(cd "$work/windows" && "$wine" "$windows_cli" convert --dx=1 --dy=1 --angle=1 points.csv &&
  "$wine" "$windows_cli" convert "${params[@]}" points.csv) >/dev/null 2>&1
check "a second run replaces the earlier table" \
  cmp -s "$work/windows/points转化后成果表.txt" "$examples/points-construction.txt"

summary "windows_cli_test (${LC_ALL:-default locale})"
