#!/usr/bin/env bash
# scripts/install-desktop into a fresh data folder: both entries validate,
# point at the programs of the build this test belongs to (its bin folder is
# the argument), and zephrin handles zephrin:// URLs.
#
#   install-desktop-test.sh BIN_FOLDER
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$(cd "${1:?usage: install-desktop-test.sh BIN_FOLDER}" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config
"$root/scripts/install-desktop" "$bin" >/dev/null
for name in zephrin zephrin-share; do
    entry=$XDG_DATA_HOME/applications/$name.desktop
    desktop-file-validate "$entry"
    grep -qxF -e "Exec=\"$bin/$name\" %U" -e "Exec=\"$bin/$name\" %F" "$entry" \
        || { echo "wrong Exec in $entry" >&2; exit 1; }
done
grep -q '^NoDisplay=true$' "$XDG_DATA_HOME/applications/zephrin-share.desktop"
grep -q 'x-scheme-handler/zephrin;' "$XDG_DATA_HOME/applications/zephrin.desktop"
[[ $(xdg-mime query default x-scheme-handler/zephrin) == zephrin.desktop ]]
[[ -f $XDG_DATA_HOME/icons/hicolor/scalable/apps/zephrin.svg ]]
echo "1 passed, 0 failed"
