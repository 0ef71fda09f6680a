#!/bin/sh
# Installs the build into a fresh prefix (a space in its path) and checks what a desktop and a
# software centre look for there: a valid desktop entry that starts the launcher and names the
# icon, the icon at every size and as vectors, valid AppStream metainfo that names the desktop
# entry and the launcher's version, the manual page, and the game with all of its pictures and
# sounds, hardened and linked to nothing it does not use. Then makes the Debian package and
# checks its files and lintian's verdict: no error and no warning. The same for the leaderboard's
# server and its package.
# Usage: installed_files_test.sh <build folder> <run folder>; the layout comes from the
# environment (APP_ID, BIN_DIR, DATA_DIR, GAME_DIR, GAME_DATA_DIR, ICON_SIZES, SERVER_DIR) as the build
# configured it.
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
svg="$prefix/$DATA_DIR/icons/hicolor/scalable/apps/$APP_ID.svg"
# A square SVG that draws: the fly's shapes are paths (cairo turns its fills into them).
grep -q '<svg[^>]* width="256[a-z]*" height="256[a-z]*"' "$svg" || fail "$svg is not a square SVG"
[ "$(grep -c '<path' "$svg")" -ge 10 ] || fail "$svg draws next to nothing"

page="$prefix/$DATA_DIR/man/man6/zimbrel.6.gz"
[ -f "$page" ] || fail "no manual page at $page"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man finds fault with the manual page: $warnings"

game="$prefix/$GAME_DIR/zimbrel"
[ -x "$game" ] || fail "the game is not installed in $GAME_DIR"
# HTTP, TLS and compression are the sender's, beside the game: the game itself links none.
for library in libpng libcpp-httplib libssl libcrypto libbrotli; do
  if readelf -d "$game" | grep -q "NEEDED.*$library"; then fail "the game links $library"; fi
done
sender="$prefix/$GAME_DIR/zimbrel-send"
[ -x "$sender" ] || fail "the game's sender is not installed beside it in $GAME_DIR"
for folder in gfx snd; do
  (cd "$run/$folder" && ls) >"$work/built"
  (cd "$prefix/$GAME_DATA_DIR/$folder" && ls) >"$work/installed" || fail "no $folder folder installed"
  [ -s "$work/built" ] || fail "the build made no $folder files"
  diff "$work/built" "$work/installed" >&2 || fail "the installed $folder differs from the built one"
done

# The leaderboard's server: its manual page, a unit systemd takes, and the server itself, which
# finds the game's pictures and sounds from where it is installed and answers on 127.0.0.1.
server="$prefix/$SERVER_DIR/zimbrel-leaderboard"
page="$prefix/$DATA_DIR/man/man1/zimbrel-leaderboard.1.gz"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man finds fault with the manual page: $warnings"
unit="$prefix/lib/systemd/system/zimbrel-leaderboard.service"
grep -qx "ExecStart=\"$server\" .*" "$unit" || fail "the unit does not start $server"
# Only the manual page it documents is missing: it is under the prefix, not in man's path.
faults=$(systemd-analyze verify "$unit" 2>&1 | grep -v "Command 'man zimbrel-leaderboard(1)' failed" || true)
[ -z "$faults" ] || fail "systemd-analyze refuses the unit: $faults"
"$server" --listen 127.0.0.1:0 --database "sqlite:$work/leaderboard.sqlite" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 100); do grep -q 'listening on http://127.0.0.1:' "$work/server.log" && break; sleep 0.1; done
kill -TERM $server_pid 2>/dev/null || true
wait $server_pid || fail "the installed server ended with status $?: $(cat "$work/server.log")"
grep -q 'listening on' "$work/server.log" || fail "the installed server never listened: $(cat "$work/server.log")"

# Hardening only where the build is optimised, as a package's is. Control-flow protection is
# not asked for: Debian 12's own start files (Scrt1.o, crti.o) lack the property, so no
# program linked there can have it, whatever it is compiled with.
case $(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt") in
  Release | RelWithDebInfo | MinSizeRel)
    hardening-check --nocfprotection "$game" >&2 || fail "the game is not hardened"
    hardening-check --nocfprotection "$sender" >&2 || fail "the game's sender is not hardened"
    hardening-check --nocfprotection "$server" >&2 || fail "the server is not hardened" ;;
esac

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null || fail "cpack failed"
deb=$(ls "$work/package"/zimbrel_[0-9]*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for wanted in ./usr/games/zimbrel ./usr/lib/games/zimbrel/zimbrel ./usr/lib/games/zimbrel/zimbrel-send \
  ./usr/share/games/zimbrel/gfx/Start.bmp ./usr/share/games/zimbrel/snd/Hit.WAV \
  ./usr/share/man/man6/zimbrel.6.gz ./usr/share/doc/zimbrel/copyright \
  ./usr/share/doc/zimbrel/changelog.gz ./usr/share/applications/$APP_ID.desktop \
  ./usr/share/icons/hicolor/scalable/apps/$APP_ID.svg; do
  grep -qx "$wanted" "$work/contents" || fail "the package holds no $wanted"
done
server_deb=$(ls "$work/package"/zimbrel-leaderboard_*.deb)
dpkg-deb -c "$server_deb" | awk '{print $6}' >"$work/contents"
for wanted in ./usr/bin/zimbrel-leaderboard ./usr/lib/systemd/system/zimbrel-leaderboard.service \
  ./usr/share/man/man1/zimbrel-leaderboard.1.gz ./usr/share/doc/zimbrel-leaderboard/copyright \
  ./usr/share/doc/zimbrel-leaderboard/changelog.gz; do
  grep -qx "$wanted" "$work/contents" || fail "the server's package holds no $wanted"
done
dpkg-deb -f "$server_deb" Depends | grep -q "^zimbrel (= " || fail "the server's package does not need the game's"
# Every tag of error or warning level makes lintian fail; what it says is shown either way.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" "$server_deb" >&2 \
  || fail "lintian finds fault with the packages"
echo "installed files and the package are complete and valid"
