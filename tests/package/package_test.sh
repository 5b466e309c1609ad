#!/usr/bin/env bash
# Makes the Debian package of the build with cpack, into a temporary folder, and checks it as a
# student's machine and Debian's checker see it: its control fields and dependencies, its files,
# the desktop entry, AppStream metadata and manual pages as installed, lintian with no error; then
# unpacks it (never installs it) and sees its koravin-cli write the report the build's writes.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$work/koravin_${version}_amd64.deb
[ -s "$deb" ] || fail "no $(basename "$deb") made"

field() { dpkg-deb -f "$deb" "$1"; }
while read -r name expected; do
    [ "$(field "$name")" = "$expected" ] || fail "$name is '$(field "$name")', not '$expected'"
done <<FIELDS
Package koravin
Version $version
Architecture amd64
Section education
Priority optional
FIELDS
depends=", $(field Depends),"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqpdf29 libfluidsynth3 fonts-noto-cjk fonts-urw-base35 qt6-translations-l10n timgm6mb-soundfont; do
    [[ $depends == *", $package "* || $depends == *", $package,"* ]] || fail "Depends lacks $package: $depends"
done

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
for file in bin/koravin bin/koravin-cli share/koravin/help/index.html share/koravin/music/END.MID \
            share/applications/org.koravin.koravin.desktop share/metainfo/org.koravin.koravin.metainfo.xml \
            share/icons/hicolor/scalable/apps/koravin.svg share/man/man1/koravin.1.gz share/man/man1/koravin-cli.1.gz \
            share/doc/koravin/copyright share/doc/koravin/changelog.gz; do
    [ -s "$usr/$file" ] || fail "not packaged: $file"
done
for size in 16 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/koravin.png
    file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "not a $size-pixel picture: $icon"
done

desktop-file-validate "$usr/share/applications/org.koravin.koravin.desktop"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/org.koravin.koravin.metainfo.xml" > "$work/appstream.log" \
    || { cat "$work/appstream.log"; fail "the AppStream metadata does not validate"; }
grep -q "<release version=\"$version\"" "$usr/share/metainfo/org.koravin.koravin.metainfo.xml" || fail "the metadata's release is not $version"
for page in koravin koravin-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -E UTF-8 -l "$usr/share/man/man1/$page.1.gz" 2>&1 > "$work/$page.txt")
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
# Every verb and option that koravin-cli --help names has its place in the page.
usage=$("$usr/bin/koravin-cli" --help)
for word in list eval run $(grep -o -- '--[a-z-]*' <<< "$usage"); do
    grep -q -- "$word" "$work/koravin-cli.txt" || fail "man koravin-cli does not mention $word"
done

lintian --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
! grep -q '^E:' "$work/lintian.log" || fail "lintian reports errors"

[ "$("$usr/bin/koravin-cli" --version)" = "koravin-cli $version" ] || fail "the packaged koravin-cli is not version $version"
printf '2 1 -1 8\r\n-3 -1 2 -11\r\n-2 1 2 -3' > "$work/system.txt"
"$usr/bin/koravin-cli" run Gauss_1 --editor "$work/system.txt" --reply 3 > "$work/packaged.txt"
"$build/src/cli/koravin-cli" run Gauss_1 --editor "$work/system.txt" --reply 3 > "$work/built.txt"
cmp "$work/packaged.txt" "$work/built.txt" || fail "the packaged koravin-cli writes another report"
grep -q $'^x(2)=3\r$' "$work/packaged.txt" || fail "the report lacks its solution"
echo "$(basename "$deb") made and checked"
