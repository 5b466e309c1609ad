#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what a desktop needs of it: both
# programs in bin/, the help and the tune where the program looks for them (share/koravin beside
# bin/), the icon and the menu entry; then starts the installed program offscreen and sees it
# stay up, with its start window, until it is stopped.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

for file in bin/koravin bin/koravin-cli share/koravin/help/index.html share/koravin/music/END.MID \
            share/icons/hicolor/256x256/apps/koravin.png share/applications/org.koravin.koravin.desktop; do
    [ -s "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
grep -q '^Exec=koravin$' "$prefix/share/applications/org.koravin.koravin.desktop"
grep -q '^Categories=Education;' "$prefix/share/applications/org.koravin.koravin.desktop"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$prefix/share/applications/org.koravin.koravin.desktop"; fi

# Every page the help links to is installed with it.
for link in $(grep -o 'href="[^"#:]*' "$prefix"/share/koravin/help/*.html | sed 's/.*href="//' | sort -u); do
    [ -f "$prefix/share/koravin/help/$link" ] || { echo "help link without its page: $link"; exit 1; }
done

"$prefix/bin/koravin-cli" eval 'x^2' --x 3 | grep -qx 9
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/koravin" > /dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || { echo "the installed program ended by itself (status $status)"; exit 1; }
echo "installed and started from $prefix"
