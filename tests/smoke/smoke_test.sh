#!/usr/bin/env bash
# Starts the real program on a virtual X server: the window must be 720 x 540
# with its controls at their places, and a second start must show the
# one-instance message and end while the first goes on.
#   smoke_test.sh PELORINE SMOKE_CHECK   (run by with_x_server)
set -euo pipefail
pelorine=$1
check=$2
home=$(mktemp -d)
trap 'kill "${first:-}" "${second:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Top-level windows named Pelorine: "id width height x y" per line.
windows() {
    xwininfo -root -children | awk '/"Pelorine": \(/ {
        split($NF, a, /[x+]/); split($(NF-1), b, /[x+]/); print $1, b[1], b[2], b[3], b[4] }'
}
wait_for() {  # wait_for CONDITION: a window whose w and h meet an awk CONDITION, within 15 s
    for _ in $(seq 150); do
        line=$(windows | awk "{ w = \$2; h = \$3 } $1 { print; exit }")
        [ -n "$line" ] && { echo "$line"; return 0; }
        sleep 0.1
    done
    echo "no window where $1" >&2; windows >&2; return 1
}

"$pelorine" & first=$!
main=$(wait_for 'w == 720 && h == 540')
read -r _ width height x y <<<"$main"
echo "main window ${width}x${height} at $x,$y"
sleep 1  # let it paint once
"$check" "$x" "$y" "$home/shot.png"

"$pelorine" & second=$!
box=$(wait_for 'w > 1 && !(w == 720 && h == 540)')
read -r _ width height x y <<<"$box"
echo "message box ${width}x${height} at $x,$y"
# Without a window manager the keyboard follows the pointer: point at the box
# and press Enter until the second start has ended.
for _ in $(seq 30); do
    kill -0 "$second" 2>/dev/null || break
    xdotool mousemove $((x + width / 2)) $((y + height / 2)) sleep 0.2 key Return || true
    sleep 0.3
done
if kill -0 "$second" 2>/dev/null; then
    echo "the second start did not end after its message"
    exit 1
fi
status=0
wait "$second" || status=$?
[ "$status" -eq 1 ] || { echo "the second start ended with $status"; exit 1; }
kill -0 "$first" || { echo "the first instance has gone"; exit 1; }
echo "smoke test passed"
