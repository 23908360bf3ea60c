#!/usr/bin/env bash
# Tries the .deb the way Debian and a new user of a minimal Debian 12 would: builds it
# twice, from two copies of the sources with different file times into two build
# folders, and wants the same bytes both times; wants hardening-check to pass on the
# game, and lintian to find nothing; then installs it into a fresh debootstrap root
# and plays it there on X and on Wayland (scripts/check-debian.sh bookworm --deb).
# Needs root, some minutes and the package mirror; the tests do not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh check

out=$PWD/build-check
mkdir -p "$out"
fail() { echo "check-package: $*" >&2; exit 1; }

# The sources as they stand, without git, as in a Debian source package: their date
# comes from the changelog.
copy_sources() {
  rm -rf "$1"
  mkdir -p "$1"
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . -path './build*' -prune -o ! -type d -printf '%P\0'
  fi | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -C "$1" -xf -
}
# Each copy is built in a folder of its own inside it, as Debian's tools do.
build_deb() {
  cmake -S "$1" -B "$1/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$1/build" -j"$(nproc)" --target package >"$1.log" 2>&1 ||
    { tail -30 "$1.log"; fail "the package did not build in $1"; }
}

echo "== Building the .deb (no tests) twice: build-check/one and build-check/two"
copy_sources "$out/one"
copy_sources "$out/two"
# The second copy's files all carry another time, as a checkout at another moment would.
find "$out/two" -exec touch -h -d '2001-02-03 04:05:06' {} +
build_deb "$out/one"
build_deb "$out/two"
deb=$(ls "$out"/one/build/spinzelle_*_amd64.deb)
deb2=$(ls "$out"/two/build/spinzelle_*_amd64.deb)
sha256sum "$deb" "$deb2" | sed "s|$out/|build-check/|"
if ! cmp -s "$deb" "$deb2"; then
  for member in $(ar t "$deb"); do
    cmp -s <(ar p "$deb" "$member") <(ar p "$deb2" "$member") || echo "differs: $member"
  done
  fail "two builds of the same sources gave different packages"
fi
echo "the two packages are byte-identical"

echo "== hardening-check on the packaged game"
rm -rf "$out/unpacked"
dpkg-deb -x "$deb" "$out/unpacked"
# Control-flow protection is out of reach on Debian 12, whose C start files lack its
# mark (its own /usr/bin/ls fails that check too); every other check must pass.
hardening-check --nocfprotection "$out/unpacked/usr/games/spinzelle" | sed "s|$out/||" ||
  fail "hardening-check reports a failed check"

echo "== lintian"
lintian --info --display-info --pedantic "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$out/lintian.txt" || true
grep -Eq '^[EW]: ' "$out/lintian.txt" && fail "lintian reports errors or warnings"
echo "lintian: no error, no warning$(grep -q . "$out/lintian.txt" || echo ', nothing at all')"

echo "== The .deb on a fresh minimal Debian 12 root, on X and on Wayland"
bash scripts/check-debian.sh bookworm --deb "$deb"
