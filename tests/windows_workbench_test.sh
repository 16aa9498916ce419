#!/usr/bin/env bash
# The Windows workbench, run under Wine on a virtual X display and used as
# a user would: `torvane.exe --workbench SITE.torvane` opens with the
# project's name in its caption and solves it; 转换点文件 (Ctrl+T) converts
# the example points, the result byte for byte the Linux command line's
# `convert --project`; 导出报告(PDF) writes the calibration report, its text
# the Linux `torvane --report`'s (the date and the project's folder aside);
# 保存 (Ctrl+S) writes the project, byte for byte the file the Linux command
# line saved for the same site.
# Usage: windows_workbench_test.sh path/to/torvane.exe path/to/linux/torvane-cli path/to/examples
#        [SCREENSHOT_DIR]
set -u
exe=$1
cli=$2
examples=$3
shots=${4:-}
wine=${WINE:-wine}
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# Screenshots for looking at a failure, with ImageMagick's import or scrot.
shot() {
  [ -n "$shots" ] || return 0
  import -window root "$shots/workbench_$1.png" 2>/dev/null ||
    scrot -o "$shots/workbench_$1.png" 2>/dev/null
  return 0
}

# The site as the Linux command line solves and saves it: four parameters,
# K2 a check point; and the table it converts the example points to.
cp "$examples/points.csv" "$work/"
"$cli" solve --points="$examples/control-points.csv" --check-points=K2 --model=similarity \
  --save-project="$work/site.torvane" >/dev/null
cp "$work/site.torvane" "$work/linux.torvane"
"$cli" convert --project="$work/linux.torvane" -o "$work/linux.txt" "$work/points.csv"
mkdir "$work/linux"
cp "$work/site.torvane" "$work/linux/"
env -u DISPLAY -u QT_QPA_PLATFORM "$(dirname "$cli")/program/torvane" \
  --report="$work/linux/report.pdf" --project="$work/linux/site.torvane" 2>/dev/null
# A report's text in the order it is drawn, its date and time and its
# project's folder left out, and with no white space: the gaps between
# characters that pdftotext reads as spaces follow each system's font engine.
report_text() {
  pdftotext -raw "$1" - |
    sed -e 's/20[0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]/DATE/' \
      -e 's|[^ ]*[/\\]site\.torvane|site.torvane|' | tr -d ' \n\t\f'
}

source "$(dirname "${BASH_SOURCE[0]}")/wine_display.sh"
windows_path() { echo "Z:${1//\//\\}"; }
("$wine" "$exe" --workbench "$(windows_path "$work/site.torvane")" >/dev/null 2>&1 &)
main_window '^site - 坐标转换工作台$' "the workbench opens the project, named in its caption" \
  windows_workbench_test
sleep 2
shot opened

# 转换点文件: the dialog, its file dialog, 开始转换, the dialog closed.
xdotool windowfocus --sync "$window" key ctrl+t
dialog=$(find_window '^转换点文件$')
check "转换点文件 opens" test -n "$dialog"
sleep 1
xdotool key alt+a
files=$(find_window '^添加点文件$')
check "its file dialog opens" test -n "$files"
sleep 2  # the name box takes the keyboard once the dialog has drawn itself
xdotool type --delay 30 "$(windows_path "$work/points.csv")"
xdotool key Return
sleep 1
shot dialog
xdotool windowfocus --sync "$dialog" key alt+s
result="$work/points转化后成果表.txt"
for _ in $(seq 150); do [ -f "$result" ] && break; sleep 0.2; done
sleep 1
shot converted
check "the table is the Linux command line's" cmp -s "$result" "$work/linux.txt"
xdotool windowfocus --sync "$dialog" key Escape
sleep 1

# 导出报告(PDF): the menu, then the report's name typed into the file dialog
# (Wine's dialog opens in the current folder, not the proposed one).
xdotool windowfocus --sync "$window" key alt+p
sleep 1
xdotool key d
saving=$(find_window '^导出报告\(PDF\)$')
check "导出报告(PDF) asks where to write it" test -n "$saving"
sleep 2
pdf="$work/report.pdf"
xdotool key End shift+Home Delete
xdotool type --delay 30 "$(windows_path "$pdf")"
xdotool key Return
for _ in $(seq 150); do [ -f "$pdf" ] && break; sleep 0.2; done
sleep 1
shot report
check "the report is written" test -f "$pdf"
windows_text=$(report_text "$pdf")
check "its text is the Linux report's" test -n "$windows_text" -a \
  "$windows_text" = "$(report_text "$work/linux/report.pdf")"
check "every font in it is embedded" bash -c "pdffonts '$pdf' | awk 'NR > 2 && \$(NF - 4) != \"yes\" { exit 1 }'"

# 保存: the project written again, as the Linux command line wrote it.
rm -f "$work/site.torvane"
xdotool windowfocus --sync "$window" key ctrl+s
for _ in $(seq 150); do [ -f "$work/site.torvane" ] && break; sleep 0.2; done
sleep 1
check "the saved project is the Linux one" cmp -s "$work/site.torvane" "$work/linux.torvane"

summary windows_workbench_test
