#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it on this machine with apt-get,
# starts /usr/bin/zelvo on a private X server, finds its menu entry and icon where a desktop
# looks for them, removes the package and checks that nothing it installed is left.
# It changes the machine's own /usr, so it runs only as root, and the package is always removed
# again, whatever happens. Exits with 77 (skipped) where it cannot run.
# Usage: deb_test.sh <build folder> <the program's version> [pedantic]
# With "pedantic" (an optimised build without sanitizers) lintian --pedantic must find nothing.
set -euo pipefail

build=$1
version=$2
lint=(--fail-on error)
[ "${3:-}" = pedantic ] && lint=(--pedantic --info --fail-on error,warning,info,pedantic)
package=zelvo
app_id=org.zelvo.Zelvo
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in apt-get dpkg dpkg-deb cpack lintian Xvfb xdotool; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done
[ -w /var/lib/dpkg ] && apt-get --version >/dev/null 2>&1 || skip "apt-get is unusable here"

work=$(mktemp -d)
# shellcheck source=xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"
apt() {
    # In the environment of a plain root shell: the packages' scripts and triggers run with it.
    # Another apt-get on the machine holds the lock for a while at most.
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive \
        apt-get -q -y -o DPkg::Lock::Timeout=300 "$@" >>"$work/apt.log" 2>&1
}
installed() {
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'
}
purge() {
    if dpkg-query -W "$package" >/dev/null 2>&1; then
        apt purge "$package" || { cat "$work/apt.log" >&2; return 1; }
    fi
}
cleanup() {
    set +e
    stop_processes
    purge
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM HUP

# shellcheck source=report.sh
source "$(dirname "${BASH_SOURCE[0]}")/report.sh"

# A package left by an interrupted earlier run goes first.
purge

# --- Building and checking the package -----------------------------------------------------

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; exit 1; }
debs=("$work/package/${package}_"*.deb)
[ -f "${debs[0]}" ] || { cat "$work/cpack.log" >&2; fail "cpack made no ${package}_*.deb"; exit 1; }
deb=${debs[0]}
pass "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = graphics ] || fail "section is '$(field Section)', not graphics"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version) is not $version"
field Depends | grep -q 'libqt6widgets6' || fail "Depends misses the Qt libraries: $(field Depends)"
field Depends | grep -q 'qt6-image-formats-plugins' || fail "Depends misses the WebP reader: $(field Depends)"
field Depends | grep -q 'libqt6svg6' || fail "Depends misses Qt SVG: $(field Depends)"
[ "$(field Recommends)" = "qt6-wayland, xdg-utils" ] || fail "Recommends: $(field Recommends)"

# Errors fail; warnings are shown (a sanitizer or debug build may draw some of its own).
if lintian "${lint[@]}" "$deb" >"$work/lintian.log" 2>&1; then
    pass "lintian ${lint[*]} passes"
    grep '^W: ' "$work/lintian.log" || true
else
    cat "$work/lintian.log" >&2
    fail "lintian"
fi

# --- Installing -----------------------------------------------------------------------------

(cd "$(dirname "$deb")" && apt install --no-install-recommends "./$(basename "$deb")") ||
    { cat "$work/apt.log" >&2; fail "apt-get install ./$(basename "$deb")"; exit 1; }
installed || { fail "$package is not installed after apt-get install"; exit 1; }
pass "apt-get install ./$(basename "$deb")"
# What the package put on the machine, files and folders apart.
dpkg -L "$package" >"$work/listed"
while IFS= read -r path; do
    if [ -d "$path" ]; then echo "$path" >>"$work/folders"; else echo "$path" >>"$work/files"; fi
done <"$work/listed"

for file in /usr/bin/zelvo /usr/share/zelvo/Zelvo.html /usr/share/metainfo/$app_id.metainfo.xml \
    /usr/share/doc/$package/copyright /usr/share/man/man1/zelvo.1.gz; do
    grep -qxF "$file" "$work/files" || fail "the package did not install $file"
done

# The menu entry, looked up as the desktop does: the first applications/<id>.desktop in the
# data folders.
data_dirs=${XDG_DATA_DIRS:-/usr/local/share:/usr/share}
desktop=""
IFS=: read -r -a folders <<<"$data_dirs"
for folder in "${folders[@]}"; do
    if [ -f "$folder/applications/$app_id.desktop" ]; then
        desktop=$folder/applications/$app_id.desktop
        break
    fi
done
if [ "$desktop" = "/usr/share/applications/$app_id.desktop" ]; then
    pass "menu entry found at $desktop"
else
    fail "the menu entry found is '$desktop', not the package's"
    exit 1
fi
entry() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
exec_command=$(entry Exec | cut -d' ' -f1)
[ "$(PATH=/usr/local/bin:/usr/bin:/bin command -v "$exec_command")" = /usr/bin/zelvo ] ||
    fail "Exec=$exec_command does not start /usr/bin/zelvo"

# The icon, looked up in the hicolor theme: a size folder the theme declares, holding
# <Icon>.png.
icon=$(entry Icon)
theme=/usr/share/icons/hicolor/index.theme
found=0
for png in /usr/share/icons/hicolor/*/apps/"$icon".png; do
    [ -f "$png" ] || continue
    size_folder=$(basename "$(dirname "$(dirname "$png")")")
    if grep -qxF "[$size_folder/apps]" "$theme"; then
        found=$((found + 1))
    else
        fail "$png is in a folder the hicolor theme does not declare"
    fi
done
if [ "$found" -ge 11 ]; then pass "icon $icon found in $found sizes"; else fail "icon $icon in $found sizes"; fi

# --- Running the installed program ----------------------------------------------------------

start_xvfb

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
env -i PATH=/usr/bin:/bin HOME="$work/home" DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$work/runtime" \
    DBUS_SESSION_BUS_ADDRESS=disabled: /usr/bin/zelvo >"$work/program.log" 2>&1 &
program_pid=$!
# Its main window is the one of 497 x 432 among the windows it maps.
main_window_shown() {
    local window geometry
    for window in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
        geometry=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null) || continue
        grep -qx 'WIDTH=497' <<<"$geometry" && grep -qx 'HEIGHT=432' <<<"$geometry" && return 0
    done
    return 1
}
shown=0
for _ in $(seq 300); do
    if main_window_shown; then
        shown=1
        break
    fi
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if [ "$shown" -eq 1 ]; then
    pass "/usr/bin/zelvo shows its 497 x 432 main window"
else
    cat "$work/program.log" >&2
    fail "/usr/bin/zelvo showed no main window"
fi
stop_program

# --- Removing -------------------------------------------------------------------------------

purge || fail "apt-get purge $package"
if dpkg-query -W "$package" >/dev/null 2>&1; then fail "dpkg still knows $package"; fi
while IFS= read -r file; do
    [ -e "$file" ] || [ -L "$file" ] || continue
    fail "left after removal: $file"
done <"$work/files"
# A folder may stay when another package owns it or something else lives in it.
while IFS= read -r folder; do
    [ -d "$folder" ] || continue
    dpkg -S "$folder" >/dev/null 2>&1 && continue
    [ -n "$(ls -A "$folder")" ] && continue
    fail "left after removal: empty folder $folder"
done <"$work/folders"
pass "removal leaves none of the $(wc -l <"$work/files") files it installed"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "All package checks passed"
