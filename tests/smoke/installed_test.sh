#!/usr/bin/env bash
# Installs Pelorine into a temporary prefix and uses it as a user would, on a
# virtual X server with a window manager: the installed program starts, adds a
# video (identified by the installed engine), converts it, and opens its
# installed help.
#   installed_test.sh BUILD_DIR   (run by with_x_server)
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'kill "${app:-}" "${wm:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run
export XDG_STATE_HOME=$work/home/state
mkdir -p "$XDG_CONFIG_HOME/pelorine" "$work/out" "$work/bin"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[GENERAL]\nOverWriteType=1\nOutputPath=%s\n' "$work/out" >"$XDG_CONFIG_HOME/pelorine/zelvic.ini"
# The desktop's opener, recording what the program asks it to open.
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH=$prefix/bin:$work/bin:$PATH

ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=3 \
    -f lavfi -i sine=frequency=440:duration=3 -c:v mpeg4 -c:a aac -shortest "$work/in.mp4"

poll() {  # poll SECONDS 'SHELL TEST': until the test succeeds, within SECONDS
    for _ in $(seq $(($1 * 10))); do eval "$2" && return 0; sleep 0.1; done
    return 1
}
openbox >"$work/openbox.log" 2>&1 & wm=$!
# A loaded machine can take long to start it.
poll 60 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' || {
    echo "the window manager did not start"
    kill -0 "$wm" 2>/dev/null || echo "openbox has ended"
    cat "$work/openbox.log"
    exit 1
}
command -v pelorine >/dev/null || { echo "pelorine is not on PATH"; exit 1; }
pelorine 2>"$work/pelorine.log" & app=$!
viewable() { xwininfo -id "$1" 2>/dev/null | grep 'IsViewable' >/dev/null; }
main_window() {  # the viewable 720 x 540 window of the program
    for id in $(xdotool search --name '^Pelorine$' 2>/dev/null); do
        viewable "$id" && xwininfo -id "$id" | grep 'Width: 720' >/dev/null && { echo "$id"; return; }
    done
}
poll 20 'test -n "$(main_window)"' || { echo "no main window"; cat "$work/pelorine.log"; exit 1; }
window=$(main_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
ox=$X oy=$Y
click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; }
other_window() {  # a viewable window named like $1, other than the main one
    for id in $(xdotool search --name "$1" 2>/dev/null); do
        [ "$id" != "$window" ] && viewable "$id" &&
            xwininfo -id "$id" | awk '/Width:/ { exit !($2 > 50) }' && { echo "$id"; return; }
    done
}

# Add: the file dialog takes the typed path.
click 57 74
poll 20 'test -n "$(other_window ".")"' || { echo "no file dialog"; exit 1; }
sleep 0.5
xdotool type --delay 20 "$work/in.mp4"
xdotool key Return
# The dialog closes; the installed engine identifies the file meanwhile (an
# output below proves it did: an empty list converts nothing).
poll 30 'test -z "$(other_window ".")"' || { echo "the file dialog stays open"; exit 1; }
sleep 1

# Convert, then wait for the output and the end message.
click 251 74
poll 120 'test -n "$(find "$work/out" -type f -size +1k)"' || { echo "nothing converted"; exit 1; }
poll 120 'test -n "$(other_window "Pelorine")"' || { echo "no end message"; exit 1; }
xdotool key Return
ls -l "$work/out"

# The website button opens the help installed with the program.
click 448 74
poll 10 'test -s "$work/opened"' || { echo "nothing was opened"; exit 1; }
page=$(head -n 1 "$work/opened")
[ "$page" = "$prefix/share/pelorine/help/index.html" ] || { echo "opened $page"; exit 1; }
[ -f "$page" ] || { echo "$page is missing"; exit 1; }
kill -0 "$app" || { echo "the program has gone"; exit 1; }
echo "installed program passed"
