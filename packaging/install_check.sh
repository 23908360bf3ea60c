#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks that the desktop finds the
# game there: the program, a valid menu entry, the icon that entry names, AppStream
# metadata that launches that entry, the manual page and the copyright.
# Usage: install_check.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

entry=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
[ -x "$prefix/bin/spinzelle" ] || { echo "no program in bin"; exit 1; }
[ -f "$entry" ] || { echo "no menu entry $id.desktop"; exit 1; }
desktop-file-validate "$entry"

field() { sed -n "s/^$1=//p" "$entry"; }
exec_name=$(field Exec)
icon_name=$(field Icon)
[ -x "$prefix/bin/${exec_name%% *}" ] || { echo "Exec=$exec_name is not the installed program"; exit 1; }
icon=$prefix/share/icons/hicolor/scalable/apps/$icon_name.svg
[ -f "$icon" ] || { echo "Icon=$icon_name is not an installed icon"; exit 1; }
grep -q '<svg' "$icon" || { echo "$icon is not an SVG"; exit 1; }

[ -f "$metainfo" ] || { echo "no AppStream metadata $id.metainfo.xml"; exit 1; }
grep -q "<id>$id</id>" "$metainfo" || { echo "AppStream id is not $id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  { echo "AppStream metadata does not launch $id.desktop"; exit 1; }

man=$prefix/share/man/man6/spinzelle.6.gz
gzip -t "$man" 2>/dev/null || { echo "no manual page in section 6"; exit 1; }
zcat "$man" | grep -q '^\.TH SPINZELLE 6' || { echo "$man is not the game's page"; exit 1; }
doc=$prefix/share/doc/spinzelle
head -1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  { echo "no machine-readable copyright"; exit 1; }
gzip -t "$doc/changelog.gz" 2>/dev/null || { echo "no changelog.gz"; exit 1; }
echo "installed and valid"
