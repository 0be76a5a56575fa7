#!/usr/bin/env bash
# Installs the build folder $1 for a user whose home is the scratch folder $2,
# checks the layout, then uninstalls with scripts/uninstall of the sources $3
# and checks that nothing of the product is left.
set -euo pipefail
build=$1
scratch=$2
sources=$3
rm -rf "$scratch"
export HOME="$scratch/home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
prefix="$HOME/.local"
mkdir -p "$XDG_CONFIG_HOME/Pivolane"

fail() { echo "user install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" --component user >"$scratch.log" 2>&1 ||
  { cat "$scratch.log"; fail "cmake --install failed"; }
for program in Pivolane pivedit pivtool; do
  [[ -x "$prefix/lib/pivolane/$program" ]] || fail "no $program in the program folder"
  [[ "$(readlink -f "$prefix/bin/$program")" == "$(readlink -f "$prefix/lib/pivolane/$program")" ]] ||
    fail "bin/$program does not lead to the program folder"
done
[[ -z "$(find "$HOME" -name 'pivplay*')" ]] || fail "pivplay was installed"
entry="$XDG_DATA_HOME/applications/pivolane.desktop"
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -qx "Exec=$prefix/lib/pivolane/Pivolane %f" "$entry" || fail "$(grep ^Exec= "$entry")"
[[ "$(xdg-mime query default application/x-pivolane)" == pivolane.desktop ]] ||
  fail "the type has no default application"
[[ -f "$XDG_DATA_HOME/mime/packages/pivolane.xml" && -f "$XDG_DATA_HOME/mime/mime.cache" ]] ||
  fail "the MIME database was not updated"

# What an update and the launcher write besides, and the user's own lines.
echo "installed by an update" >"$prefix/lib/pivolane/notes.txt"
mkdir -p "$XDG_CACHE_HOME/pivolane/update"
echo "downloaded" >"$XDG_CACHE_HOME/pivolane/update/MAJPivolanepivedit"
printf '[Default Applications]\ntext/plain=mine.desktop\napplication/x-pivolane=pivolane.desktop\n' \
  >"$XDG_CONFIG_HOME/mimeapps.list"
printf '[settings]\nLangue=0\nLauncher=%s\n' "$prefix/lib/pivolane/Pivolane" \
  >"$XDG_CONFIG_HOME/Pivolane/Pivolane.ini"

"$sources/scripts/uninstall" "$build/install_manifest_user.txt" >"$scratch.log" 2>&1 ||
  { cat "$scratch.log"; fail "uninstall failed"; }
left=$(find "$HOME" \( -name '*ivolane*' -o -name pivedit -o -name pivtool -o -name notes.txt \) \
  -not -path "$XDG_CONFIG_HOME/Pivolane*")
[[ -z "$left" ]] || fail "left behind: $left"
[[ "$(cat "$XDG_CONFIG_HOME/mimeapps.list")" == $'[Default Applications]\ntext/plain=mine.desktop' ]] ||
  fail "mimeapps.list: $(cat "$XDG_CONFIG_HOME/mimeapps.list")"
[[ "$(cat "$XDG_CONFIG_HOME/Pivolane/Pivolane.ini")" == $'[settings]\nLangue=0' ]] ||
  fail "settings: $(cat "$XDG_CONFIG_HOME/Pivolane/Pivolane.ini")"
grep -q 'removed.*pivolane.desktop' "$scratch.log" || fail "uninstall does not list what it removes"
echo "user install: installed, checked and removed under $HOME"
