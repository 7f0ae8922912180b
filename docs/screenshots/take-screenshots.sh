#!/usr/bin/env bash
# Takes the README's screenshots from the real program: starts it on a private X server with
# a window manager and an empty home folder, browses to a folder of sample pictures through
# its own folder chooser, previews one and opens the tile window over it.
# Usage: take-screenshots.sh <built or installed zelvo> [output folder]
set -euo pipefail

program=$(realpath "$1")
out=$(realpath "${2:-$(dirname "${BASH_SOURCE[0]}")}")
work=$(mktemp -d)
pids=()
cleanup() {
    set +e
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Sample pictures drawn by ImageMagick; the one that sorts first is the one tiled.
pictures=$work/Pictures
mkdir -p "$pictures"
convert -size 96x96 radial-gradient:'#fe9c61-#000040' "$pictures/bubbles.jpg"
convert granite: "$pictures/granite.bmp"
convert rose: "$pictures/rose.jpg"
convert netscape: -resize 50% "$pictures/palette.gif"
convert logo: -resize 20% "$pictures/wizard.jpg"

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
read -r -t 30 display_number <"$work/display"
export DISPLAY=":$display_number"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
run() {
    exec env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$work/runtime" DBUS_SESSION_BUS_ADDRESS=disabled: "$@"
}
mkfifo "$work/wm-ready"
run openbox --startup "sh -c 'echo >$work/wm-ready'" >/dev/null 2>&1 &
pids+=($!)
exec 4<>"$work/wm-ready"
read -r -t 30 -u 4 _ || echo "openbox did not report that it started" >&2

run "$program" >"$work/program.log" 2>&1 &
pids+=($!)
main=$(timeout 30 xdotool search --sync --onlyvisible --pid "${pids[-1]}" | head -n1)

# Waits, at most 30 seconds, until the pixel at (x, y) of a window is (= colour) or is no longer
# (!= colour) the given colour: the sign that the program has painted what a click asked for.
wait_for_pixel() {
    local window=$1 x=$2 y=$3 test=$4 colour=$5
    for _ in $(seq 300); do
        local pixel
        pixel=$(import -window "$window" -crop "1x1+$x+$y" -depth 8 -format '%[hex:p{0,0}]' info: 2>/dev/null || true)
        [ "$pixel" "$test" "$colour" ] && return 0
        sleep 0.1
    done
    echo "window $window: the pixel at ($x, $y) stayed $pixel" >&2
    return 1
}

# The browse button is 25 x 25 pixels at (233, 152); its chooser takes a typed folder path.
xdotool mousemove --window "$main" 245 164 click 1
chooser=$(timeout 30 xdotool search --sync --onlyvisible --name '^Find Directory' | head -n1)
xdotool windowactivate --sync "$chooser"
xdotool type --delay 5 "$pictures"
xdotool key Return
chooser_closed() {
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name '^Find Directory' >/dev/null || return 0
        sleep 0.1
    done
    echo "the folder chooser did not close" >&2
    return 1
}
chooser_closed

# The first name in the list, then the preview: 134 x 134 pixels at (46, 96) and (304, 96).
xdotool mousemove --window "$main" 90 106 click 1
wait_for_pixel "$main" 371 163 != 000040
import -window "$main" "$out/main-window.png"

xdotool mousemove --window "$main" 371 163 click 1
tile=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zelvo$' | head -n1)
# Tiled at its natural size from the top-left corner, the picture's own pixels show unmoved.
wait_for_pixel "$tile" 48 48 = "$(convert "$pictures/bubbles.jpg" -depth 8 -format '%[hex:p{48,48}]' info:)"
import -frame -window "$tile" "$out/tile-window.png"
identify "$out/main-window.png" "$out/tile-window.png"
