#!/usr/bin/env bash
# Checks the Debian package: package_test.sh DEB EXAMPLES
#   lintian with no error and no warning (overrides only with a comment);
#   the control fields; the exact list of files, their owners and modes;
#   the desktop entry (desktop-file-validate, its keys, one main category),
#   the AppStream metainfo (appstreamcli validate --no-net, id, release),
#   the icons' sizes, the copyright file, the Debian changelog; the manual
#   pages (man's warnings, whatis entries, every command and option of
#   torvane-cli's --help in torvane-cli(1), every option the page names
#   known to the program, the outputs the examples show); the programs
#   unpacked from the package (torvane-cli converts the examples as the
#   tables in EXAMPLES have them; the window starts); and apt resolving the
#   package's dependencies (apt-get --simulate: nothing is installed).
set -euo pipefail
deb=$(realpath "$1")
examples=$(realpath "$2")
app_id=io.github.torvane.Torvane
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# expect_grep PATTERN FILE WHAT: FILE has a line matching the extended regex.
expect_grep() {
  grep -Eq -- "$1" "$2" || fail "$3"
}

version=$(dpkg-deb --field "$deb" Version)
upstream=${version%-*}
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "torvane_${version}_${arch}.deb" ] ||
  fail "package named $(basename "$deb"), not torvane_${version}_${arch}.deb"

# --- lintian: no error and no warning; information and overrides shown.
# (Shown overrides would count for --fail-on: the overridden tags are not
# shown; the overrides file is checked below.)
lintian --display-info --pedantic --fail-on error,warning "$deb" >"$work/lintian" 2>&1 ||
  fail "lintian's exit status"
echo "lintian (errors, warnings, information, pedantic):"
sed 's/^/  /' "$work/lintian"
grep -qE '^[A-Z]: ' "$work/lintian" || echo "  no tags"
if grep -E '^(E|W):' "$work/lintian"; then fail "lintian reports errors or warnings"; fi

# --- Control fields.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = torvane ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
maintainer=$(field Maintainer)
grep -Eq '^[^<]+ <[^@>]+@[^>]+>$' <<<"$maintainer" || fail "Maintainer: $maintainer"
# The names in a relationship field, one a line.
package_names() { field "$1" | sed 's/[,|]/\n/g' | sed 's/^ *//; s/[ (].*//'; }
# dpkg-shlibdeps' dependencies of both programs.
depends=$(package_names Depends)
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  grep -qxF "$dependency" <<<"$depends" || fail "Depends lacks $dependency: $(field Depends)"
done
recommends=$(package_names Recommends)
for recommended in fonts-noto-cjk fonts-wqy-microhei qt6-translations-l10n; do
  grep -qxF "$recommended" <<<"$recommends" || fail "Recommends lacks $recommended: $(field Recommends)"
done
description=$(field Description)
summary=$(head -n 1 <<<"$description")
if [ ${#summary} -gt 80 ] || [ "$(wc -l <<<"$description")" -lt 4 ]; then
  fail "Description: a short summary and a long description were expected"
fi

# --- The files: exactly these, owned by root, programs 0755, the rest 0644.
icon_sizes=(16 22 24 32 48 64 128 256)
{
  echo ./usr/bin/torvane
  echo ./usr/bin/torvane-cli
  echo ./usr/share/applications/$app_id.desktop
  echo ./usr/share/doc/torvane/changelog.Debian.gz
  echo ./usr/share/doc/torvane/copyright
  echo ./usr/share/doc/torvane/examples/control-points.csv
  echo ./usr/share/doc/torvane/examples/points-construction.txt
  echo ./usr/share/doc/torvane/examples/points.csv
  for size in "${icon_sizes[@]}"; do
    echo "./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  done
  echo ./usr/share/lintian/overrides/torvane
  echo ./usr/share/man/man1/torvane-cli.1.gz
  echo ./usr/share/man/man1/torvane.1.gz
  echo ./usr/share/metainfo/$app_id.metainfo.xml
} | sort >"$work/expected-files"
dpkg-deb --contents "$deb" >"$work/contents"
awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort >"$work/files"
if ! diff -u "$work/expected-files" "$work/files"; then fail "the package's files differ from the list"; fi
awk '$2 != "root/root" { print "not root/root: " $6 }
     $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "directory mode " $1 ": " $6 }
     $1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print "program mode " $1 ": " $6 }
     $1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print "file mode " $1 ": " $6 }' \
  "$work/contents" >"$work/modes"
if [ -s "$work/modes" ]; then fail "owners or modes: $(cat "$work/modes")"; fi

root=$work/root
dpkg-deb --extract "$deb" "$root"

# --- The desktop entry.
desktop=$root/usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
expect_grep '^Type=Application$' "$desktop" "desktop entry: Type"
expect_grep '^Name=测图坐标系与施工坐标系的相互转换$' "$desktop" "desktop entry: Name"
expect_grep '^Name\[zh_CN\]=测图坐标系与施工坐标系的相互转换$' "$desktop" "desktop entry: Name[zh_CN]"
expect_grep '^GenericName=[A-Za-z ]+$' "$desktop" "desktop entry: an English GenericName"
expect_grep '^Exec=torvane$' "$desktop" "desktop entry: Exec"
expect_grep "^Icon=$app_id\$" "$desktop" "desktop entry: Icon"
main_categories=$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' |
  grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility' || true)
[ "$main_categories" = 1 ] || fail "desktop entry: $main_categories main categories, not one"
[ "$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' | grep -c .)" -ge 2 ] ||
  fail "desktop entry: no additional category"
# The window names the same desktop entry (QGuiApplication::setDesktopFileName).
grep -qaF "$app_id" "$root/usr/bin/torvane" || fail "the window does not name $app_id"

# --- AppStream.
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
expect_grep "<id>$app_id</id>" "$metainfo" "metainfo: id"
expect_grep "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" "metainfo: launchable"
expect_grep "<release version=\"$upstream\"" "$metainfo" "metainfo: no release $upstream"

# --- Icons: PNG images of their directory's size.
for size in "${icon_sizes[@]}"; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  kind=$(file --brief "$icon")
  grep -q "^PNG image data, $size x $size," <<<"$kind" || fail "icon $size: $kind"
done

# --- copyright and changelog.
copyright=$root/usr/share/doc/torvane/copyright
expect_grep '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$copyright" "copyright: not DEP-5"
expect_grep '^License: Expat$' "$copyright" "copyright: no Expat (MIT) licence"
expect_grep 'MIT licence' "$copyright" "copyright: the MIT licence is not named"
expect_grep '^Copyright: The Torvane authors$' "$copyright" "copyright: the Torvane authors"
zcat "$root/usr/share/doc/torvane/changelog.Debian.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
  fail "changelog.Debian.gz: not for $version"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Maintainer)" = "$(field Maintainer)" ] ||
  fail "changelog.Debian.gz: another maintainer than the package's"

# --- Overrides only with a comment that justifies them.
awk '/^#/ { commented = 1; next } /^[[:space:]]*$/ { commented = 0; next }
     !commented { print "override without a comment: " $0; bad = 1 }
     END { exit bad }' "$root/usr/share/lintian/overrides/torvane" || fail "lintian overrides"

# --- The programs, run from the unpacked package.
cli=$root/usr/bin/torvane-cli
[ "$("$cli" --version)" = "torvane-cli $upstream" ] || fail "torvane-cli --version: $("$cli" --version)"
"$cli" convert --dx=500 --dy=600 --angle=30.1520 -o "$work/points.txt" "$examples/points.csv" ||
  fail "torvane-cli convert"
cmp "$work/points.txt" "$examples/points-construction.txt" || fail "the packaged torvane-cli's table"
cmp "$examples/points.csv" "$root/usr/share/doc/torvane/examples/points.csv" || fail "example points.csv"
if ldd "$cli" "$root/usr/bin/torvane" | grep 'not found'; then fail "libraries not found"; fi
# The window starts and keeps running until it is ended.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/torvane" >"$work/window.log" 2>&1 &
window=$!
sleep 2
if kill -0 "$window" 2>/dev/null; then
  kill "$window"
  wait "$window" 2>/dev/null || true
else
  wait "$window" || true
  fail "the window ended by itself: $(cat "$work/window.log")"
fi

# --- Manual pages: gzipped, without man's warnings, with whatis entries.
for page in torvane torvane-cli; do
  gz=$root/usr/share/man/man1/$page.1.gz
  gzip --test "$gz" || fail "$page.1.gz"
  MANWIDTH=80 man --warnings -E UTF-8 -l "$gz" >"$work/$page.txt" 2>"$work/$page.warnings" ||
    fail "man $page"
  if [ -s "$work/$page.warnings" ]; then fail "man $page: $(cat "$work/$page.warnings")"; fi
  whatis=$(lexgrog "$gz") || fail "$page(1): no whatis entry"
  grep -q "\"$page - " <<<"$whatis" || fail "$page(1): whatis entry: $whatis"
  grep -q "^Torvane $upstream " "$work/$page.txt" || fail "$page(1): not for version $upstream"
done
page=$work/torvane-cli.txt
for section in NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS 'POINT FILES' 'RESULT TABLES' \
  'COMMON-POINT FILES' 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
  grep -qx "$section" "$page" || fail "torvane-cli(1) has no $section"
done
sed -n '/^EXIT STATUS$/,/^DIAGNOSTICS$/p' "$page" >"$work/exit-status"
for status in 0 1 2; do
  grep -Eq "^ +$status +[A-Z]" "$work/exit-status" || fail "torvane-cli(1): exit status $status"
done
# Every command and option of --help, each where the page shows options.
{
  "$cli" --help
  "$cli" convert --help
  "$cli" solve --help
} >"$work/help"
# A command's line starts two spaces in; its description's wrapped lines further.
sed -n '/^Subcommands:/,/^$/p' "$work/help" | awk '/^  [a-z]/ { print $1 }' >"$work/commands"
[ -s "$work/commands" ] || fail "no commands in torvane-cli --help"
while read -r command; do
  grep -Eq "^ {7}$command\$|^ {7}$command  " "$page" || fail "torvane-cli(1) does not describe $command"
done <"$work/commands"
grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' "$work/help" | sed 's/^[ ,]//' | sort -u >"$work/options"
[ "$(wc -l <"$work/options")" -ge 15 ] || fail "too few options in torvane-cli --help"
sed -n '/^OPTIONS$/,/^POINT FILES$/p' "$page" >"$work/options-section"
while read -r option; do
  grep -Eq -- "^ {7}(-[a-z], )?$option([=, ]|\$)" "$work/options-section" ||
    fail "torvane-cli(1) does not describe $option"
done <"$work/options"
# Long options the page names outside the blocks of options being added
# (packaging/linux/torvane-cli.1.in) must be the program's.
zcat "$root/usr/share/man/man1/torvane-cli.1.gz" |
  sed '/^\.\\" >>> pending/,/^\.\\" <<< pending/d; /^\.\\"/d' | sed 's/\\-/-/g' |
  grep -oE -- '--[a-z][a-z-]*[a-z]' | sort -u >"$work/page-options"
while read -r option; do
  grep -qx -- "$option" "$work/options" || fail "torvane-cli(1) names $option, which torvane-cli does not know"
done <"$work/page-options"
# What the examples show is what the packaged program prints.
(
  cd "$examples"
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 -o - points.csv >"$work/convert.out"
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 \
    --construction-a=0,0 --construction-b=100,0 >"$work/solve.out"
  "$cli" solve --points=control-points.csv >"$work/fit.out"
  ! "$cli" solve --points=control-points.csv --max-residual=10 >/dev/null 2>"$work/limit.err"
) || fail "the examples of torvane-cli(1) do not run"
{
  head -n 2 "$work/convert.out" | tr -d '\r'
  cat "$work/solve.out"
  head -n 1 "$work/fit.out"
  grep '^RMS' "$work/fit.out"
  cat "$work/limit.err"
} >"$work/example-outputs"
while IFS= read -r line; do
  grep -qF -- "              $line" "$page" || fail "torvane-cli(1)'s examples do not show: $line"
done <"$work/example-outputs"
grep -qx 'USING THE WINDOW' "$work/torvane.txt" || fail "torvane(1) does not tell how to use the window"

# --- apt resolves the dependencies (a simulation: nothing is installed).
if apt-get install --simulate --no-remove "$deb" >"$work/apt" 2>&1; then
  grep -q '^Inst torvane ' "$work/apt" || fail "apt-get --simulate does not install torvane: $(cat "$work/apt")"
  sed -n 's/^Inst /apt would install: /p' "$work/apt"
else
  fail "apt-get install --simulate: $(cat "$work/apt")"
fi

if [ "$failures" -gt 0 ]; then
  echo "package_test: $failures failures" >&2
  exit 1
fi
echo "package_test: $(basename "$deb") passed"
