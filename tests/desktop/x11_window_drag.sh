#!/usr/bin/env bash
# Under Xvfb with openbox, a press on the top band moved by xdotool in steps of 50 pixels (as
# remote desktops and automation move the pointer) moves the window by the pointer's way, and the
# screen is the same picture afterwards: the press crossed a slider handle and ended over the
# wheel without editing the profile.
# Usage: x11_window_drag.sh DEMO [SHOTS_FOLDER]; SHOTS_FOLDER gets the desktop before and after.
set -uo pipefail
DEMO=$1
SHOTS=${2:-}
source "$(dirname "$0")/desktop_lib.sh"
unset WAYLAND_DISPLAY
need Xvfb:xvfb openbox:openbox xdotool:xdotool xwininfo:x11-utils xprop:x11-utils \
  compare:imagemagick import:imagemagick

WORK=$(mktemp -d)
export SDL_VIDEODRIVER=x11
trap 'stop_servers; rm -rf "$WORK"' EXIT
start_xvfb 2000x1300
# Openbox names itself on the root window before it manages windows; a window mapped in between
# waits for a MapNotify that a loaded machine may deliver only much later. Its start-up command
# runs once it manages them.
openbox --sm-disable --startup "touch $WORK/openbox.ready" >"$WORK/openbox.log" 2>&1 &
SERVERS+=($!)
wait_for 30 test -e "$WORK/openbox.ready" || fail "openbox did not start: $(cat "$WORK/openbox.log")"
wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
  fail "openbox does not name itself on the root window: $(cat "$WORK/openbox.log")"

# The band press starts at (506, 11): above the slider's handles, and six steps of 50 pixels
# take it across the handle at 12 degrees (556, 61) onto the wheel (806, 311).
cat >"$WORK/script.txt" <<'SCRIPT'
wait-state 6
move 506 11
frames 10
screenshot before
frames 300
screenshot after
quit
SCRIPT
start_demo "$WORK/script.txt"
# A loaded machine starts a sanitized demo slowly; the wait only bounds a hang.
wait_for 90 test -s "$WORK/out/before.png" || fail "no first screenshot: $(demo_report)"
window=$(window_named "Corsaro 270")
[ -n "$window" ] || fail "the demo's window is not on the display"
read -r left top < <(window_corner "$window")
[ -n "$SHOTS" ] && mkdir -p "$SHOTS" && import -window root "$SHOTS/x11-before-drag.png"

start=$(date +%s%N)
xdotool mousemove $((left + 506)) $((top + 11))
sleep 0.4
xdotool mousedown 1
sleep 0.3
for _ in 1 2 3 4 5 6; do
  xdotool mousemove_relative -- 50 50
  sleep 0.1
done
sleep 0.2
xdotool mouseup 1
sleep 0.5
read -r movedLeft movedTop < <(window_corner "$window")
echo "the drag took $((($(date +%s%N) - start) / 1000000)) ms"
[ -n "$SHOTS" ] && import -window root "$SHOTS/x11-after-drag.png"

wait_demo 60
[ "$DEMO_STATUS" -eq 0 ] || fail "the demo ended with $DEMO_STATUS: $(cat "$WORK/demo.stderr")"
echo "window at $left,$top before the drag, at $movedLeft,$movedTop after"
[ "$movedLeft" -eq $((left + 300)) ] && [ "$movedTop" -eq $((top + 300)) ] ||
  fail "the window did not follow the drag of 300,300"
grep -q "Window drag: the window system moves the window (x11 video driver)" \
  "$WORK/out/Corsaro270.log" || fail "the log does not say who moves the window"
differing=$(pixels_differing "$WORK/out/before.png" "$WORK/out/after.png")
[ "$differing" = 0 ] || fail "the screen changed in $differing pixels: the press reached a widget"
echo "PASS: the window moved by 300,300 and the screen is unchanged"
