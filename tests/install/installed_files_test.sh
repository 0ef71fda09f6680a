#!/bin/sh
# Installs the build into a fresh prefix (a space in its path) and checks what a desktop and a
# software centre look for there: a valid desktop entry that starts the launcher and names the
# icon, the icon at every size, valid AppStream metainfo that names the desktop entry and the
# launcher's version, and the game with all of its pictures and sounds.
# Usage: installed_files_test.sh <build folder> <run folder>; the layout comes from the
# environment (APP_ID, BIN_DIR, DATA_DIR, GAME_DIR, ICON_SIZES) as the build configured it.
set -eu
build=$1
run=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/install prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

desktop="$prefix/$DATA_DIR/applications/$APP_ID.desktop"
metainfo="$prefix/$DATA_DIR/metainfo/$APP_ID.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"

launcher="$prefix/$BIN_DIR/$(sed -n 's/^Exec=//p' "$desktop")"
[ -x "$launcher" ] || fail "the desktop entry starts '$launcher', which is not installed"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$APP_ID" ] || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not name the desktop entry $APP_ID.desktop"

version=$("$launcher" --version | sed -n 's/^zimbrel //p')
[ -n "$version" ] || fail "the launcher's --version names no version"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" \
  || fail "the metainfo has no release of version $version"

for size in $ICON_SIZES; do
  icon="$prefix/$DATA_DIR/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
  [ -f "$icon" ] || fail "no ${size}-pixel icon at $icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done

[ -x "$prefix/$GAME_DIR/zimbrel" ] || fail "the game is not installed in $GAME_DIR"
for folder in gfx snd; do
  (cd "$run/$folder" && ls) >"$work/built"
  (cd "$prefix/$DATA_DIR/zimbrel/$folder" && ls) >"$work/installed" || fail "no $folder folder installed"
  [ -s "$work/built" ] || fail "the build made no $folder files"
  diff "$work/built" "$work/installed" >&2 || fail "the installed $folder differs from the built one"
done
echo "installed files are complete and valid"
