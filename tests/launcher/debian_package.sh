#!/usr/bin/env bash
# Builds the Debian package of the build folder $1 into the scratch folder $2
# and checks its file list, its links, its control fields and its desktop
# entry, without installing it.
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/pivolane_*_*.deb)

fail() { echo "debian package: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{ print $1 " " $6 " " $7 " " $8 }')
expected="-rwxr-xr-x ./opt/pivolane/Pivolane
-rwxr-xr-x ./opt/pivolane/pivedit
-rwxr-xr-x ./opt/pivolane/pivtool
lrwxrwxrwx ./usr/bin/Pivolane -> ../../opt/pivolane/Pivolane
lrwxrwxrwx ./usr/bin/pivedit -> ../../opt/pivolane/pivedit
lrwxrwxrwx ./usr/bin/pivtool -> ../../opt/pivolane/pivtool
-rw-r--r-- ./usr/share/applications/pivolane.desktop
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/pivolane.svg
-rw-r--r-- ./usr/share/icons/hicolor/scalable/mimetypes/application-x-pivolane.svg
-rw-r--r-- ./usr/share/mime/packages/pivolane.xml"
files=$(grep -v '^d' <<<"$contents" | sed 's/  *$//')
[[ "$files" == "$expected" ]] || fail "unexpected file list:
$files"
if grep '^d' <<<"$contents" | grep -qv '^drwxr-xr-x'; then fail "a folder is not open to all users"; fi

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == pivolane ]] || fail "Package: $(field Package)"
[[ "$(field Version)" == "$(sed -n 's/.*kVersionText = "\(.*\)";/\1/p' "$build/generated/common/version.h")" ]] \
  || fail "Version: $(field Version)"
[[ "$(field Architecture)" == "$(dpkg --print-architecture)" ]] || fail "Architecture: $(field Architecture)"
[[ "$(field Section)" == graphics ]] || fail "Section: $(field Section)"
[[ -n "$(field Maintainer)" ]] || fail "no Maintainer"
# Computed by dpkg-shlibdeps from the programs.
for needed in libc6 libqt6core6 libqt6widgets6; do
  grep -q "\b$needed\b" <<<"$(field Depends)" || fail "Depends lacks $needed: $(field Depends)"
done

mkdir "$out/root"
dpkg-deb -x "$deb" "$out/root"
entry="$out/root/usr/share/applications/pivolane.desktop"
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -qx 'Exec=/opt/pivolane/Pivolane %f' "$entry" || fail "Exec: $(grep ^Exec= "$entry")"
grep -q 'glob pattern="\*.pvl"' "$out/root/usr/share/mime/packages/pivolane.xml" || fail "no glob"
echo "debian package: $(basename "$deb") holds the programs, links and desktop files"
