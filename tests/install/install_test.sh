#!/usr/bin/env bash
# Installs the built program into a temporary prefix, checks what a desktop needs to find it,
# then starts the installed program on a private X server with an empty home folder and checks
# that it shows its main window, keeps its settings where its help says, and that its Help
# button hands the installed help document to the desktop.
# Also checks that the program in the build folder finds the copy of the help document beside it.
# Usage: install_test.sh <build folder> <source folder> <built program>
set -euo pipefail

build=$1
source=$2
built_program=$3
work=$(mktemp -d)
prefix=$work/prefix
# shellcheck source=xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

cleanup() {
    set +e
    stop_processes
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=report.sh
source "$(dirname "${BASH_SOURCE[0]}")/report.sh"

# --- Installing -------------------------------------------------------------------------

cmake --install "$build" --prefix "$prefix" >"$work/install.log"

app_id=org.zelvo.Zelvo
expected=(
    bin/zelvo
    share/zelvo/Zelvo.html
    share/applications/$app_id.desktop
    share/metainfo/$app_id.metainfo.xml
)
# Every icon the artwork tool drew, in the hicolor folder of its size: resources/icons/22x22@2/
# holds the pictures of 44 x 44 for hicolor/22x22@2/apps/.
icons=()
for drawn in "$source"/resources/icons/*/*.png; do
    folder=$(basename "$(dirname "$drawn")")
    icons+=("share/icons/hicolor/$folder/apps/$(basename "$drawn")")
done
expected+=("${icons[@]}")
for file in "${expected[@]}"; do
    if [ -f "$prefix/$file" ]; then pass "installed $file"; else fail "missing $file"; fi
done
[ -x "$prefix/bin/zelvo" ] || fail "bin/zelvo is not executable"

# Nothing may land outside the prefix: every installed path is under it.
if grep -q -v "^-- \(Install configuration\|Installing\|Up-to-date\|Set runtime path\)" "$work/install.log" ||
    grep -E "^-- (Installing|Up-to-date): " "$work/install.log" | grep -v -q -F "$prefix/"; then
    fail "the install wrote outside the prefix or said something unexpected:"
    cat "$work/install.log" >&2
fi

cmp -s "$build/packaging/Zelvo.html" "$prefix/share/zelvo/Zelvo.html" ||
    fail "the installed help document differs from the configured help/Zelvo.html.in"

failed_before=$failures
for icon in "${icons[@]}"; do
    [ -f "$prefix/$icon" ] || continue
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    side=${folder%%x*}
    [[ $folder == *@2 ]] && side=$((side * 2))
    actual=$(identify -format '%wx%h' "$prefix/$icon")
    [ "$actual" = "${side}x${side}" ] || fail "$icon is $actual, not ${side}x${side}"
done
[ "$failures" -eq "$failed_before" ] && pass "${#icons[@]} icons, each at the size of its folder"

# --- What the desktop reads -------------------------------------------------------------

desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if desktop-file-validate "$desktop"; then pass "desktop-file-validate"; else fail "desktop-file-validate"; fi
if appstreamcli validate --no-net "$metainfo"; then pass "appstreamcli validate"; else fail "appstreamcli validate"; fi

entry() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
exec_command=$(entry Exec | cut -d' ' -f1)
[ -x "$prefix/bin/$exec_command" ] || fail "Exec=$exec_command names no installed program"
[ "$(entry Icon)" = "$app_id" ] || fail "Icon=$(entry Icon) is not the installed icon $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"

# A file manager offers the program for each picture type: xdg-mime finds it in the MIME cache
# of the prefix, where it is the only program.
update-desktop-database "$prefix/share/applications"
failed_before=$failures
for type in image/bmp image/x-bmp image/jpeg image/gif image/vnd.microsoft.icon image/x-icon image/png image/webp image/tiff image/svg+xml; do
    default=$(env -i PATH=/usr/bin:/bin HOME="$work" XDG_DATA_HOME="$work" XDG_CONFIG_HOME="$work" \
        XDG_DATA_DIRS="$prefix/share" xdg-mime query default "$type")
    [ "$default" = "$app_id.desktop" ] || fail "xdg-mime opens $type with '$default'"
done
[ "$failures" -eq "$failed_before" ] && pass "xdg-mime opens bitmaps, JPEG, GIF and icon files with $app_id.desktop"
rm "$prefix/share/applications/mimeinfo.cache"

# The program looks for its help document at ../share/zelvo beside its own folder.
if [ "$(realpath "$prefix/bin/../share/zelvo/Zelvo.html")" = "$(realpath "$prefix/share/zelvo/Zelvo.html")" ]; then
    pass "help document at ../share/zelvo/Zelvo.html from bin/"
else
    fail "help document not reachable from bin/"
fi

# --- Running the installed program ------------------------------------------------------

start_xvfb
mkfifo "$work/opened"

# A stand-in for the desktop's opener that reports what it was asked to open.
mkdir -p "$work/bin" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/bin/xdg-open" <<'OPENER'
#!/bin/sh
exec timeout 30 sh -c 'printf "%s\n" "$1" >"$2"' sh "$1" "$ZELVO_TEST_OPENED"
OPENER
chmod +x "$work/bin/xdg-open"

# Starts a program as a user would, with the stand-in opener first on PATH; sets program_pid
# and window.
start_program() {
    env -i PATH="$work/bin:/usr/local/bin:/usr/bin:/bin" HOME="$work/home" DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$work/runtime" DBUS_SESSION_BUS_ADDRESS=disabled: \
        ZELVO_TEST_OPENED="$work/opened" "$1" >"$work/program.log" 2>&1 &
    program_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$program_pid" 2>/dev/null | head -n1) || true
    if [ -z "$window" ]; then
        cat "$work/program.log" >&2
        fail "$1 showed no window"
        exit 1
    fi
    pass "$1 shows a window"
}

# Clicks the Help button (73 x 27 pixels with its top-left corner at (384, 332)) and checks
# what the opener was handed.
check_help_opens() {
    [ -f "$1" ] || fail "no help document at $1"
    local wanted="file://$(realpath "$1")"
    xdotool mousemove --window "$window" 420 345 click 1
    local opened=""
    # Opened for reading and writing, so that waiting for the opener is bounded by read's
    # timeout.
    exec 4<>"$work/opened"
    read -r -t 30 -u 4 opened || true
    exec 4<&-
    if [ "$opened" = "$wanted" ]; then
        pass "Help opens $opened"
    else
        cat "$work/program.log" >&2
        fail "Help opened '$opened', not '$wanted'"
    fi
    if kill -0 "$program_pid" 2>/dev/null; then
        pass "the program still runs after Help"
    else
        fail "the program ended after Help"
    fi
}

start_program "$prefix/bin/zelvo"

geometry=$(xdotool getwindowgeometry --shell "$window")
width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
if [ "${width}x${height}" = "497x432" ]; then
    pass "main window is 497x432"
else
    fail "main window is ${width}x${height}, not 497x432"
fi

# The ground between the file list and the preview is the window's dark navy.
import -window "$window" "$work/main.png"
ground=$(convert "$work/main.png" -format '%[hex:p{260,100}]' info:)
case "$ground" in
000040*) pass "main window ground is #000040" ;;
*) fail "main window ground at (260,100) is #$ground, not #000040" ;;
esac

# A first start with an empty home folder stores the initial types in ~/.config/Zelvo.conf.
settings=$work/home/.config/Zelvo.conf
if [ -f "$settings" ] && grep -q '^\[Type\]' "$settings"; then
    pass "settings kept in ~/.config/Zelvo.conf"
else
    fail "no [Type] section in $settings"
    find "$work/home" -type f >&2
fi

check_help_opens "$prefix/share/zelvo/Zelvo.html"

# Uninstalling as the README says: every file the install wrote is in its manifest.
stop_program
xargs -d '\n' rm -f <"$build/install_manifest.txt"
left=$(find "$prefix" -type f)
if [ -z "$left" ]; then
    pass "install_manifest.txt removes every installed file"
else
    fail "files left after removing those in install_manifest.txt: $left"
fi

# --- Running the program from the build folder ------------------------------------------

start_program "$built_program"
check_help_opens "$(dirname "$built_program")/Zelvo.html"
stop_program

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "All install checks passed"
