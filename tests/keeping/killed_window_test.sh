#!/usr/bin/env bash
# The real window with the fake engine, killed (SIGKILL) in the middle of a
# batch of three Jobs, then started again: the restore question, the list
# kept as it was, the finished Job done, the unfinished ".part" gone, and
# Convert running only the two Jobs left. Then Discard, a damaged list, and
# a file given by a relative name.
#   killed_window_test.sh PELORINE FAKE_ENGINE PROBE   (run by with_x_server)
set -euo pipefail
work=$(mktemp -d)
# The fake engine a kill left running is found by its path, which is this test's own.
trap 'kill -9 "${app:-}" 2>/dev/null || true; kill "${wm:-}" 2>/dev/null || true
      pkill -9 -f "$work/app/zelvic" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/out"
cp "$1" "$work/app/pelorine"
cp "$2" "$work/app/zelvic"
probe=$3
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run
export XDG_STATE_HOME=$work/home/state FAKE_ZELVIC_LOG=$work/engine.log
mkdir -p "$XDG_CONFIG_HOME/pelorine"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# One Job at a time: the kill comes while the second of three converts.
printf '[GENERAL]\nOverWriteType=1\nOutputPath=%s\nJobsAtOnce=1\n' "$work/out" >"$XDG_CONFIG_HOME/pelorine/zelvic.ini"
kept=$XDG_STATE_HOME/pelorine
echo "length=5" >"$work/a.avi"
echo "length=100 hold" >"$work/b.avi"
echo "length=5" >"$work/c.avi"
"$probe" project "$work/batch.vpt" "$work/a.avi" "$work/out/a.MP4" \
    "$work/b.avi" "$work/out/b.MP4" "$work/c.avi" "$work/out/c.MP4"

poll() {  # poll SECONDS 'SHELL TEST': until the test succeeds, within SECONDS
    for _ in $(seq $(($1 * 10))); do eval "$2" && return 0; sleep 0.1; done
    return 1
}
fail() { echo "$1"; cat "$work/pelorine.log" 2>/dev/null; exit 1; }
start_wm() {  # openbox, until it has taken the screen
    openbox >>"$work/openbox.log" 2>&1 & wm=$!
    poll 30 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
}
# A second try when the first one ends or hangs, saying why.
start_wm || {
    echo "openbox did not take the screen ($(kill -0 "$wm" 2>/dev/null && echo running || echo ended)):"
    cat "$work/openbox.log"
    kill "$wm" 2>/dev/null || true
    start_wm
} || { xdpyinfo >/dev/null 2>&1 || echo "the X server is gone"; fail "the window manager did not start"; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep 'IsViewable' >/dev/null; }
main_window() {
    for id in $(xdotool search --name '^Pelorine$' 2>/dev/null); do
        viewable "$id" && xwininfo -id "$id" | grep 'Width: 720' >/dev/null && { echo "$id"; return; }
    done
}
box() {  # box [TITLE]: a viewable window of the program other than the main one
    for id in $(xdotool search --name "${1:-Pelorine}" 2>/dev/null); do
        [ "$id" != "${window:-}" ] && viewable "$id" &&
            xwininfo -id "$id" | awk '/Width:/ { exit !($2 > 50) }' && { echo "$id"; return; }
    done
}
start() {  # start [FILE]: the program, until its main window shows
    "$work/app/pelorine" "$@" 2>>"$work/pelorine.log" & app=$!
    poll 30 'test -n "$(main_window)"' || fail "no main window"
    window=$(main_window)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    ox=$X oy=$Y
}
click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; }
encodes() { grep -c $'\x1f-o\x1f' "$work/engine.log" 2>/dev/null || true; }

# First run: the project, Convert; killed while the second Job converts.
start "$work/batch.vpt"
sleep 1
click 251 74
poll 60 'test -f "$work/out/a.mp4" && test -f "$work/out/b.mp4.part"' || fail "the batch did not begin"
sleep 2  # the kept list is written a second after the change
kill -9 "$app"
wait "$app" 2>/dev/null || true
pkill -9 -f "$work/app/zelvic" 2>/dev/null || true  # the engine the kill left behind
[ "$(encodes)" = 2 ] || fail "expected two engine runs before the kill, saw $(encodes)"

# Second run: the question, Restore (the default, with Enter).
echo "length=5" >"$work/b.avi"
start
poll 20 'test -n "$(box)"' || fail "no restore question"
xdotool windowactivate --sync "$(box)" 2>/dev/null || true
xdotool key Return
poll 10 'test -z "$(box)"' || fail "the question stays"
[ ! -e "$work/out/b.mp4.part" ] || fail "the unfinished file is still there"
# The list kept again after the restore is the project, field by field.
poll 10 'cmp -s "$work/batch.vpt" "$kept/list.vpt"' || fail "the restored list differs"
grep -qx done "$kept/list.state" || fail "the converted Job is not done: $(cat "$kept/list.state")"
click 251 74
poll 60 'test -f "$work/out/c.mp4"' || fail "the rest was not converted"
poll 30 'test -n "$(box)"' || fail "no end message"
[ "$(encodes)" = 4 ] || fail "expected the second and third Job only, saw $(encodes) runs"
xdotool windowactivate --sync "$(box)" 2>/dev/null || true
xdotool key Return
poll 10 'test -z "$(box)"' || fail "the end message stays"

# A clean exit keeps the list too, and says it was clean.
click 704 10
poll 20 'test -n "$(box "Video Batch Converter")"' || fail "no question before the exit"
xdotool windowactivate --sync "$(box "Video Batch Converter")" 2>/dev/null || true
xdotool key Return  # "Exit anyway?" OK
poll 20 '! kill -0 "$app" 2>/dev/null' || fail "the program did not exit"
[ ! -e "$kept/list.open" ] || fail "a clean exit left the marker of an unclean one"
cmp -s "$work/batch.vpt" "$kept/list.vpt" || fail "the list kept at the exit differs"
# Without the setting the next start begins empty, asking nothing; with it
# the list comes back without a question, every Job done.
start
sleep 2
[ -z "$(box)" ] || fail "a start after a clean exit asked"
kill -9 "$app"
wait "$app" 2>/dev/null || true
printf '[LIST]\nKeepWhenClosing=1\n' >>"$XDG_CONFIG_HOME/pelorine/zelvic.ini"
rm -f "$kept/list.open"
cp "$work/batch.vpt" "$kept/list.vpt"
printf 'Pelorine list state 1\n3\ndone\ndone\ndone\n' >"$kept/list.state"
start
sleep 2
[ -z "$(box)" ] || fail "the setting's restore asked"
poll 10 'cmp -s "$work/batch.vpt" "$kept/list.vpt"' || fail "the setting did not restore the list"
[ "$(grep -cx done "$kept/list.state")" = 3 ] || fail "the states were not restored"
kill -9 "$app"
wait "$app" 2>/dev/null || true
sed -i 's/KeepWhenClosing=1/KeepWhenClosing=0/' "$XDG_CONFIG_HOME/pelorine/zelvic.ini"

# Then Discard (Tab to it, then Enter) after an unclean end starts empty, and keeps that.
start
poll 20 'test -n "$(box)"' || fail "no restore question the second time"
xdotool windowactivate --sync "$(box)" 2>/dev/null || true
xdotool key Tab Return
poll 10 'test -z "$(box)"' || fail "the question stays after Discard"
poll 10 '[ "$(head -c 4 "$kept/list.vpt" | od -An -tu4 | tr -d " ")" = 0 ]' ||
    fail "the discarded list was not replaced by an empty one"
kill -9 "$app"
wait "$app" 2>/dev/null || true

# A video named on the command line from its own folder (the discarded list
# was empty: nothing is asked) is kept by its whole path.
cd "$work"
start a.avi
cd - >/dev/null
poll 10 'grep -aqF "$work/a.avi" "$kept/list.vpt"' || fail "the named video is not kept by its whole path"
kill -9 "$app"
wait "$app" 2>/dev/null || true

# A damaged list: moved aside, told once where it is.
printf 'not a list' >"$kept/list.vpt"
start
poll 20 'test -n "$(box)"' || fail "no message about the damaged list"
[ -f "$kept/list.vpt.damaged" ] || fail "the damaged list was not moved aside"
kill -9 "$app"
wait "$app" 2>/dev/null || true

echo "killed window test passed"
