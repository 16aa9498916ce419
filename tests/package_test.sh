#!/usr/bin/env bash
# Checks the Debian packages: package_test.sh CLI_DEB APP_DEB EXAMPLES
# (torvane-cli's and torvane's)
#   lintian with no error and no warning (overrides only with a comment);
#   the control fields (the command line's package needs no Qt, the
#   window's needs the command line's of its version); the exact list of
#   each package's files, their owners and modes;
#   the desktop entries (desktop-file-validate, their keys, one main
#   category; the workbench's opening project files, whose MIME type
#   update-mime-database reads),
#   the AppStream metainfo (appstreamcli validate --no-net, id, release),
#   the icons' sizes, the copyright file, the Debian changelog; the manual
#   pages (man's warnings, in a UTF-8 and in the POSIX locale, whatis
#   entries, every command and option of
#   torvane-cli's --help in torvane-cli(1), every option the page names
#   known to the program, the outputs the examples show); the programs
#   unpacked from the package (torvane-cli converts the examples as the
#   tables in EXAMPLES have them; the window and the workbench start); and
#   apt resolving the packages' dependencies (apt-get --simulate: nothing
#   is installed), the command line's alone without any Qt library.
set -euo pipefail
cli_deb=$(realpath "$1")
deb=$(realpath "$2")
examples=$(realpath "$3")
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
[ "$(basename "$cli_deb")" = "torvane-cli_${version}_${arch}.deb" ] ||
  fail "package named $(basename "$cli_deb"), not torvane-cli_${version}_${arch}.deb"

# --- lintian: no error and no warning; information and overrides shown.
# (Shown overrides would count for --fail-on: the overridden tags are not
# shown; the overrides file is checked below.)
lintian --display-info --pedantic --fail-on error,warning "$cli_deb" "$deb" >"$work/lintian" 2>&1 ||
  fail "lintian's exit status"
echo "lintian (errors, warnings, information, pedantic):"
sed 's/^/  /' "$work/lintian"
grep -qE '^[A-Z]: ' "$work/lintian" || echo "  no tags"
if grep -E '^(E|W):' "$work/lintian"; then fail "lintian reports errors or warnings"; fi

# --- Control fields: field [DEB] NAME, the window's package by default.
field() {
  if [ $# -eq 2 ]; then dpkg-deb --field "$1" "$2"; else dpkg-deb --field "$deb" "$1"; fi
}
# The names in a relationship field, one a line.
package_names() { field "$@" | sed 's/[,|]/\n/g' | sed 's/^ *//; s/[ (].*//'; }
[ "$(field Package)" = torvane ] || fail "Package: $(field Package)"
[ "$(field "$cli_deb" Package)" = torvane-cli ] || fail "Package: $(field "$cli_deb" Package)"
for package in "$cli_deb" "$deb"; do
  name=$(basename "$package")
  [ "$(field "$package" Version)" = "$version" ] || fail "$name: Version $(field "$package" Version)"
  [ "$(field "$package" Architecture)" = "$arch" ] || fail "$name: Architecture"
  [ "$(field "$package" Section)" = science ] || fail "$name: Section $(field "$package" Section)"
  [ "$(field "$package" Priority)" = optional ] || fail "$name: Priority"
  maintainer=$(field "$package" Maintainer)
  grep -Eq '^[^<]+ <[^@>]+@[^>]+>$' <<<"$maintainer" || fail "$name: Maintainer: $maintainer"
  description=$(field "$package" Description)
  summary=$(head -n 1 <<<"$description")
  if [ ${#summary} -gt 80 ] || [ "$(wc -l <<<"$description")" -lt 4 ]; then
    fail "$name: Description: a short summary and a long description were expected"
  fi
done
[ "$(field "$cli_deb" Description | head -n 1)" != "$(field Description | head -n 1)" ] ||
  fail "both packages have the same summary"
# dpkg-shlibdeps' dependencies of each program: the command line's without
# Qt, with OpenSSL's libcrypto (libssl3) for the report's SHA-256; the
# window's with Qt and the command line's package of its version.
depends=$(package_names Depends)
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 torvane-cli; do
  grep -qxF "$dependency" <<<"$depends" || fail "Depends lacks $dependency: $(field Depends)"
done
grep -qF "torvane-cli (= $version)" <<<"$(field Depends)" ||
  fail "torvane does not depend on torvane-cli (= $version): $(field Depends)"
cli_depends=$(package_names "$cli_deb" Depends)
for dependency in libc6 libstdc++6 libssl3; do
  grep -qxF "$dependency" <<<"$cli_depends" ||
    fail "torvane-cli's Depends lacks $dependency: $(field "$cli_deb" Depends)"
done
if grep -iE 'qt|torvane' <<<"$cli_depends"; then
  fail "torvane-cli depends on Qt or on the window: $(field "$cli_deb" Depends)"
fi
# The programs that run the command line's PROJ pipeline, which the README's
# examples use: suggested, never needed.
for suggested in proj-bin gdal-bin; do
  grep -qxF "$suggested" <<<"$(package_names "$cli_deb" Suggests)" ||
    fail "torvane-cli's Suggests lacks $suggested: $(field "$cli_deb" Suggests)"
done
recommends=$(package_names Recommends)
# A Chinese font is depended on, WenQuanYi first (apt installs the first).
grep -qF "fonts-wqy-microhei | fonts-wqy-zenhei | fonts-noto-cjk" <<<"$(field Depends)" ||
  fail "torvane does not depend on a Chinese font, WenQuanYi first: $(field Depends)"
for recommended in qt6-translations-l10n xdg-utils; do
  grep -qxF "$recommended" <<<"$recommends" || fail "Recommends lacks $recommended: $(field Recommends)"
done

# --- The files: exactly these, owned by root, programs 0755, the rest 0644.
# The command line's package holds the README and every example it uses.
icon_sizes=(16 22 24 32 48 64 128 256)
{
  echo ./usr/bin/torvane-cli
  echo ./usr/share/doc/torvane-cli/README.md.gz
  echo ./usr/share/doc/torvane-cli/changelog.Debian.gz
  echo ./usr/share/doc/torvane-cli/copyright
  for example in control-points.csv control-heights.csv points-construction.txt points.csv \
    scaled-points.csv unscaled-points.csv; do
    echo ./usr/share/doc/torvane-cli/examples/$example
  done
  echo ./usr/share/lintian/overrides/torvane-cli
  echo ./usr/share/man/man1/torvane-cli.1.gz
} | sort >"$work/expected-cli-files"
{
  echo ./usr/bin/torvane
  echo ./usr/share/applications/$app_id.desktop
  echo ./usr/share/applications/$app_id.Workbench.desktop
  echo ./usr/share/mime/packages/$app_id.xml
  echo ./usr/share/doc/torvane/changelog.Debian.gz
  echo ./usr/share/doc/torvane/copyright
  for size in "${icon_sizes[@]}"; do
    echo "./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  done
  echo ./usr/share/lintian/overrides/torvane
  echo ./usr/share/man/man1/torvane.1.gz
  echo ./usr/share/metainfo/$app_id.metainfo.xml
} | sort >"$work/expected-files"
dpkg-deb --contents "$cli_deb" >"$work/cli-contents"
awk '$1 !~ /^d/ { print $6 }' "$work/cli-contents" | sort >"$work/cli-files"
if ! diff -u "$work/expected-cli-files" "$work/cli-files"; then
  fail "torvane-cli's files differ from the list"
fi
dpkg-deb --contents "$deb" >"$work/app-contents"
awk '$1 !~ /^d/ { print $6 }' "$work/app-contents" | sort >"$work/files"
if ! diff -u "$work/expected-files" "$work/files"; then fail "torvane's files differ from the list"; fi
# The README that the command line's package holds names every example
# file it uses, and the package has each.
zcat_readme() { dpkg-deb --fsys-tarfile "$cli_deb" | tar -xO ./usr/share/doc/torvane-cli/README.md.gz | zcat; }
zcat_readme | grep -oE 'examples/[A-Za-z0-9_.-]+\.(csv|txt)' | sort -u | sed 's#^examples/##' |
  while read -r example; do
    grep -qxF "./usr/share/doc/torvane-cli/examples/$example" "$work/cli-files" ||
      echo "$example"
  done >"$work/missing-examples"
if [ -s "$work/missing-examples" ]; then
  fail "examples the README uses are not in torvane-cli: $(cat "$work/missing-examples")"
fi
cat "$work/cli-contents" "$work/app-contents" >"$work/contents"
awk '$2 != "root/root" { print "not root/root: " $6 }
     $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "directory mode " $1 ": " $6 }
     $1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print "program mode " $1 ": " $6 }
     $1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print "file mode " $1 ": " $6 }' \
  "$work/contents" >"$work/modes"
if [ -s "$work/modes" ]; then fail "owners or modes: $(cat "$work/modes")"; fi

# Both packages unpacked together, as they are installed.
root=$work/root
dpkg-deb --extract "$cli_deb" "$root"
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
# The workbench's entry: its own name, the same icon and categories, and
# the program that opens project files (%f: the one opened).
workbench=$root/usr/share/applications/$app_id.Workbench.desktop
desktop-file-validate "$workbench" || fail "desktop-file-validate (the workbench)"
expect_grep '^Name=Torvane Workbench$' "$workbench" "workbench entry: Name"
expect_grep '^Name\[zh_CN\]=坐标转换工作台$' "$workbench" "workbench entry: Name[zh_CN]"
expect_grep '^Exec=torvane --workbench %f$' "$workbench" "workbench entry: Exec"
expect_grep '^MimeType=application/x-torvane-project;$' "$workbench" "workbench entry: MimeType"
expect_grep "^Icon=$app_id\$" "$workbench" "workbench entry: Icon"
[ "$(grep '^Categories=' "$workbench")" = "$(grep '^Categories=' "$desktop")" ] ||
  fail "workbench entry: other categories than the window's"
grep -qaF "$app_id.Workbench" "$root/usr/bin/torvane" ||
  fail "the workbench does not name $app_id.Workbench"
# The project files' MIME type: shared-mime-info's database, built from the
# package's file alone, gives *.torvane that type.
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/$app_id.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 ||
  fail "update-mime-database: $(cat "$work/mime.log")"
grep -qxF 'application/x-torvane-project:*.torvane' "$work/mime/globs" ||
  fail "the MIME database gives *.torvane no application/x-torvane-project"

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

# --- copyright and changelog, in each package: the licences of what is
# compiled in (CLI11's BSD licence, Boost's BSL) beside Torvane's.
for package in torvane torvane-cli; do
  copyright=$root/usr/share/doc/$package/copyright
  expect_grep '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$copyright" "$package copyright: not DEP-5"
  expect_grep '^License: Expat$' "$copyright" "$package copyright: no Expat (MIT) licence"
  expect_grep 'MIT licence' "$copyright" "$package copyright: the MIT licence is not named"
  expect_grep '^Copyright: The Torvane authors$' "$copyright" "$package copyright: the Torvane authors"
  for licence in BSD-3-clause BSL-1.0; do
    [ "$(grep -c "^License: $licence\$" "$copyright")" = 2 ] ||
      fail "$package copyright: no Files paragraph and text of $licence"
  done
  expect_grep 'University of Cincinnati' "$copyright" "$package copyright: CLI11's notice"
  expect_grep 'Niels Lohmann' "$copyright" "$package copyright: nlohmann's JSON's notice"
  expect_grep 'Boost Software License - Version 1.0' "$copyright" "$package copyright: Boost's licence"
  zcat "$root/usr/share/doc/$package/changelog.Debian.gz" >"$work/changelog"
  [ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
    fail "$package changelog.Debian.gz: not for $version"
  [ "$(dpkg-parsechangelog -l "$work/changelog" -S Maintainer)" = "$(field Maintainer)" ] ||
    fail "$package changelog.Debian.gz: another maintainer than the package's"

  # Overrides only with a comment that justifies them.
  awk '/^#/ { commented = 1; next } /^[[:space:]]*$/ { commented = 0; next }
       !commented { print "override without a comment: " $0; bad = 1 }
       END { exit bad }' "$root/usr/share/lintian/overrides/$package" || fail "$package lintian overrides"
done

# --- The programs, run from the unpacked package.
cli=$root/usr/bin/torvane-cli
[ "$("$cli" --version)" = "torvane-cli $upstream" ] || fail "torvane-cli --version: $("$cli" --version)"
"$cli" convert --dx=500 --dy=600 --angle=30.1520 -o "$work/points.txt" "$examples/points.csv" ||
  fail "torvane-cli convert"
cmp "$work/points.txt" "$examples/points-construction.txt" || fail "the packaged torvane-cli's table"
for example in "$examples"/*; do
  cmp "$example" "$root/usr/share/doc/torvane-cli/examples/$(basename "$example")" ||
    fail "example $(basename "$example")"
done
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
# So does the workbench, and paints its first frame (program/first_frame.h).
first_frame=$(TORVANE_FIRST_FRAME=1 QT_QPA_PLATFORM=offscreen timeout 20 \
  "$root/usr/bin/torvane" --workbench 2>&1) || fail "torvane --workbench: $first_frame"
grep -Eqx 'first frame: [0-9]+ widgets in [0-9]+x[0-9]+' <<<"$first_frame" ||
  fail "torvane --workbench: $first_frame"

# --- Manual pages: gzipped, without man's warnings, with whatis entries.
# Their Chinese is spelled as troff escapes: the installed pages are ASCII,
# so they read the same whatever encoding the formatter takes them for;
# groff run by hand in the POSIX locale (which reads a page as Latin-1) and
# man there told to write UTF-8 (-Tutf8) show the Chinese, with no warning.
for page in torvane torvane-cli; do
  gz=$root/usr/share/man/man1/$page.1.gz
  gzip --test "$gz" || fail "$page.1.gz"
  MANWIDTH=80 man --warnings -E UTF-8 -l "$gz" >"$work/$page.txt" 2>"$work/$page.warnings" ||
    fail "man $page"
  if [ -s "$work/$page.warnings" ]; then fail "man $page: $(cat "$work/$page.warnings")"; fi
  if zcat "$gz" | LC_ALL=C grep -n '[^ -~]'; then fail "$page(1): bytes outside printable ASCII"; fi
  zcat "$gz" | LC_ALL=C groff -man -Tutf8 -ww >"$work/$page.groff" 2>"$work/$page.groff-warnings" ||
    fail "groff $page"
  LC_ALL=C MANWIDTH=80 man --warnings -Tutf8 -l "$gz" >"$work/$page.posix" 2>>"$work/$page.groff-warnings" ||
    fail "man $page in the POSIX locale"
  if [ -s "$work/$page.groff-warnings" ]; then
    fail "$page(1) in the POSIX locale: $(cat "$work/$page.groff-warnings")"
  fi
  for output in groff posix; do
    sed 's/.\x08//g' "$work/$page.$output" | grep -F '测图坐标' >/dev/null ||
      fail "$page(1) in the POSIX locale ($output): no Chinese"
  done
  # man's own ASCII output there has no Chinese glyphs: a ? stands for each
  # character, with no warning, rather than the words dropped.
  LC_ALL=C MANWIDTH=80 man --warnings -l "$gz" 2>"$work/$page.ascii-warnings" |
    sed 's/.\x08//g' >"$work/$page.ascii" || fail "man $page in ASCII"
  if [ -s "$work/$page.ascii-warnings" ]; then
    fail "$page(1) in ASCII: $(cat "$work/$page.ascii-warnings")"
  fi
  grep -F '????' "$work/$page.ascii" >/dev/null ||
    fail "$page(1) in ASCII: no ? where 测图坐标 stands"
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

# --- apt resolves the dependencies (a simulation: nothing is installed):
# the command line's package alone brings no Qt library; both together
# install both.
if apt-get install --simulate --no-remove "$cli_deb" >"$work/apt-cli" 2>&1; then
  grep -q '^Inst torvane-cli ' "$work/apt-cli" ||
    fail "apt-get --simulate does not install torvane-cli: $(cat "$work/apt-cli")"
  if grep -E '^Inst (libqt|qt|torvane )' "$work/apt-cli"; then fail "torvane-cli brings Qt or the window"; fi
  sed -n 's/^Inst /apt would install for torvane-cli: /p' "$work/apt-cli"
else
  fail "apt-get install --simulate torvane-cli: $(cat "$work/apt-cli")"
fi
if apt-get install --simulate --no-remove "$cli_deb" "$deb" >"$work/apt" 2>&1; then
  grep -q '^Inst torvane ' "$work/apt" || fail "apt-get --simulate does not install torvane: $(cat "$work/apt")"
  sed -n 's/^Inst /apt would install: /p' "$work/apt"
else
  fail "apt-get install --simulate: $(cat "$work/apt")"
fi

if [ "$failures" -gt 0 ]; then
  echo "package_test: $failures failures" >&2
  exit 1
fi
echo "package_test: $(basename "$cli_deb") and $(basename "$deb") passed"
