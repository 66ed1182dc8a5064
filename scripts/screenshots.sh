#!/usr/bin/env bash
# Takes the README's screenshots of the real program on a virtual X server with
# a window manager: the window at start, with a list of videos, and with the
# drop-down list of a setting open. Writes docs/screenshots/*.png.
#   scripts/screenshots.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -x "$build/bin/pelorine" ] || [ ! -x "$build/tests/with_x_server" ]; then
    echo "build first: scripts/build.sh"
    exit 1
fi
if [ -z "${PELORINE_SCREENSHOT_INNER:-}" ]; then
    # A virtual X server of its own, which picks a free display itself.
    exec env PELORINE_SCREENSHOT_INNER=1 "$build/tests/with_x_server" "$0" "$build"
fi

out=$PWD/docs/screenshots
# A fixed, short folder: its paths show in the list.
work=/tmp/pelorine-shots
rm -rf "$work"
trap 'kill "${app:-}" "${wm:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out"
export HOME=$work XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run
export XDG_STATE_HOME=$work/home/state QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/pelorine" "$work/videos"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[GENERAL]\nOverWriteType=1\nOutputPath=%s\n' "$HOME/Videos/PSP" \
    >"$XDG_CONFIG_HOME/pelorine/zelvic.ini"

for name in holiday-beach concert-2024 birthday; do
    ffmpeg -loglevel error -f lavfi -i "testsrc2=size=640x480:rate=25:duration=8" \
        -f lavfi -i "sine=frequency=330:duration=8" -c:v mpeg4 -c:a aac -shortest \
        "$work/videos/$name.mp4"
done

poll() {  # poll SECONDS 'SHELL TEST'
    for _ in $(seq $(($1 * 10))); do eval "$2" && return 0; sleep 0.1; done
    return 1
}
openbox >/dev/null 2>&1 & wm=$!
poll 20 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
"$build/bin/pelorine" 2>/dev/null & app=$!
main_window() {
    for id in $(xdotool search --name '^Pelorine$' 2>/dev/null); do
        xwininfo -id "$id" | grep 'Width: 720' >/dev/null && { echo "$id"; return; }
    done
}
poll 20 'test -n "$(main_window)"'
window=$(main_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
ox=$X oy=$Y
shot() {  # shot NAME: the main window as it is on the screen
    sleep 1
    ffmpeg -loglevel error -y -f x11grab -video_size 720x540 -i "$DISPLAY+$ox,$oy" \
        -frames:v 1 "$out/$1.png"
    echo "wrote docs/screenshots/$1.png"
}
click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; }

shot start

# Add the three videos through the file dialog, one at a time.
for name in holiday-beach concert-2024 birthday; do
    click 57 74
    sleep 1.5
    xdotool type --delay 10 "$work/videos/$name.mp4"
    xdotool key Return
    sleep 2
done
# Select the second Job: its settings fill the grid.
click 100 160
shot list

# Open the drop-down list of "Video frame rate" (the tenth row) with the mouse:
# a click on the row shows its combo, a click on the combo's arrow opens it.
click 650 457
sleep 0.5
click 686 457
shot dropdown
