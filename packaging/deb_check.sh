#!/usr/bin/env bash
# Builds the .deb from a built tree into a scratch directory and checks it the way
# Debian sees a game: the program in /usr/games, the changelog at this version, the
# documents Debian asks for, what the package pulls in, and one time for everything
# in the archive (the sources' date, not the moments of the build).
# Usage: deb_check.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/spinzelle_"$version"_*.deb)
[ -f "$deb" ] || { echo "no spinzelle_${version}_*.deb"; exit 1; }
dpkg-deb -x "$deb" "$out/root"
root=$out/root
fail() { echo "$*"; exit 1; }

[ -x "$root/usr/games/spinzelle" ] || fail "no /usr/games/spinzelle"
[ ! -e "$root/usr/bin" ] || fail "the package has /usr/bin: $(ls "$root/usr/bin")"
for f in usr/share/doc/spinzelle/copyright usr/share/doc/spinzelle/changelog.gz \
         usr/share/man/man6/spinzelle.6.gz usr/share/metainfo usr/share/applications; do
  [ -e "$root/$f" ] || fail "no /$f"
done
zcat "$root/usr/share/doc/spinzelle/changelog.gz" | head -1 | grep -q "^spinzelle ($version) " ||
  fail "the changelog's last entry is not $version"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends: $(field Recommends)"
for dep in fonts-liberation libqt6widgets6; do
  field Depends | grep -Eq "(^|, )$dep( |,|$)" || fail "Depends lacks $dep: $(field Depends)"
done

members=$(ar tv "$deb" | awk '{print $4, $5, $6, $7}' | sort -u)
files=$( (dpkg-deb --fsys-tarfile "$deb" && dpkg-deb --ctrl-tarfile "$deb") | tar -itv --full-time |
  awk '{print $4, $5}' | sort -u)
[ "$(echo "$members" | wc -l) $(echo "$files" | wc -l)" = "1 1" ] ||
  fail "the archive carries the times of its build: $members / $files"
echo "package laid out for Debian"
