#!/usr/bin/env bash
# Unpacks the .deb into a temporary root, runs the command line from there and checks that the
# package holds what a Linux desktop needs to list the editor and open projects with it.
#
# Usage: deb_test.sh PACKAGE.deb
set -euo pipefail
deb="$(realpath "$1")"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(dpkg-deb -f "$deb" Package)" = meshforge ] || fail "package name"
depends="$(dpkg-deb -f "$deb" Depends)"
[[ "$depends" == *libqt6widgets6* ]] || fail "no Qt dependency in: $depends"

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

version="$("$root/usr/bin/meshforge-cli" --version)" || fail "--version exited with $?"
[ "$version" = "Meshforge v1.25" ] || fail "--version printed '$version'"
share="$root/usr/share"
"$root/usr/bin/meshforge-cli" info "$share/meshforge/examples/fence.3dp" >/dev/null ||
    fail "the installed example does not read"

for file in usr/bin/meshforge usr/share/meshforge/help/index.htm usr/share/meshforge/mask.bmp \
    usr/share/icons/hicolor/scalable/apps/meshforge.svg; do
    [ -s "$root/$file" ] || fail "missing $file"
done
[ "$(find "$share/meshforge/help/images" -name '*.png' | wc -l)" -gt 0 ] || fail "no help images"

desktop="$share/applications/meshforge.desktop"
grep -qx 'Exec=meshforge %f' "$desktop" || fail "desktop entry does not open a file"
grep -qx 'MimeType=application/x-meshforge-project;' "$desktop" || fail "desktop entry MIME type"
mime="$share/mime/packages/meshforge.xml"
grep -q '<mime-type type="application/x-meshforge-project">' "$mime" || fail "MIME type"
grep -q '<glob pattern="\*.3dp"/>' "$mime" || fail "MIME glob"
echo "package test passed"
