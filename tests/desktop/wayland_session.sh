#!/usr/bin/env bash
# The demo on Wayland (Weston's X11 backend under Xvfb) shows the main screen, takes a tile
# drag and a profile switch from a real pointer, and draws the same pictures as on X11; a press
# on the top band asks the compositor to move the window (one xdg_toplevel.move). On a compositor
# without an input seat (headless Weston) it says so and opens on X11.
# Usage: wayland_session.sh DEMO [SHOTS_FOLDER]
set -uo pipefail
DEMO=$1
SHOTS=${2:-}
source "$(dirname "$0")/desktop_lib.sh"
unset WAYLAND_DISPLAY
need Xvfb:xvfb weston:weston xdotool:xdotool xwininfo:x11-utils compare:imagemagick
backend() { find /usr/lib -name "$1-backend.so" 2>/dev/null | head -n 1; }
[ -n "$(backend x11)" ] && [ -n "$(backend headless)" ] ||
  skip "Weston's X11 or headless backend is missing (Debian package weston)"

WORK=$(mktemp -d)
trap 'stop_servers; rm -rf "$WORK"' EXIT
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The pointer's part of the session, in window pixels, the same on both displays: the A tile
# dragged from the palette onto the B button once the main screen is shown, then profile disc 2 clicked,
# then (on Wayland) a press on the band.
cat >"$WORK/script.txt" <<'SCRIPT'
wait-state 6
frames 10
screenshot main
frames 240
screenshot dragged
frames 240
screenshot switched
frames 240
quit
SCRIPT

# The pointer to (x, y), for a few frames.
pointer_at() {
  local seen
  seen=$(wc -l <"$WORK/demo.stderr")
  xdotool mousemove "$1" "$2"
  sleep 0.1
  [ "$SESSION" = wayland ] && reached_on_wayland "$1" "$2" "$seen"
  return 0
}

# On Weston the first moves after the window shows can be lost, and a press would then land where
# the compositor last saw the pointer. The client's protocol log says when the motion arrived:
# wait for it (a little way off and back again, if it does not come).
reached_on_wayland() {
  local x=$1 y=$2 seen=$3 tries
  for tries in 1 2 3 4 5 6 7 8 9 10; do
    tail -n +"$((seen + 1))" "$WORK/demo.stderr" |
      grep -q "wl_pointer@[0-9]*\.motion([0-9]*, $x\.0*, $y\.0*)" && return 0
    xdotool mousemove "$((x + 1))" "$y"
    sleep 0.05
    xdotool mousemove "$x" "$y"
    sleep 0.2
  done
  fail "the pointer's move to $x,$y never reached the demo on Wayland"
}

# The button, once the program has seen the pointer where it is (a busy machine runs late).
press() {
  sleep 0.4
  xdotool mousedown 1
  sleep 0.3
}
release() {
  xdotool mouseup 1
  sleep 0.3
}

tile_drag() {
  pointer_at 715 530
  press
  for step in 1 2 3 4 5 6 7; do
    pointer_at $((715 - step * 16)) $((530 - step * 32))
  done
  pointer_at 588 272
  sleep 0.3
  release
  pointer_at 400 420
}

# A click held for a few frames, as a hand holds it: the program reads the button once a frame.
disc_click() {
  pointer_at 860 25
  press
  release
  pointer_at 400 420
}

band_press() {
  pointer_at 300 30
  press
  for _ in 1 2 3; do
    xdotool mousemove_relative -- 50 50
    sleep 0.1
  done
  release
}

# One session on the display set up by the caller, its pictures in $WORK/$1.
session() {
  local name=$1
  SESSION=$name
  rm -rf "$WORK/out"
  start_demo "$WORK/script.txt"
  wait_for 40 test -s "$WORK/out/main.png" || fail "$name: no main screen: $(demo_report)"
  tile_drag
  wait_for 20 test -s "$WORK/out/dragged.png" || fail "$name: no picture after the drag"
  disc_click
  wait_for 20 test -s "$WORK/out/switched.png" || fail "$name: no picture after the switch"
  [ "$name" = wayland ] && band_press
  wait_demo 60
  [ "$DEMO_STATUS" -eq 0 ] || fail "$name: the demo ended with $DEMO_STATUS: $(tail -5 "$WORK/demo.stderr")"
  mv "$WORK/out" "$WORK/$name"
  mv "$WORK/demo.stderr" "$WORK/$name/stderr.txt"
}

start_xvfb 1024x600
begun=$(date +%s%N)
SDL_VIDEODRIVER=x11 session x11
echo "X11 session: $((($(date +%s%N) - begun) / 1000000)) ms"

# Weston's output fills the X screen; without a panel its only window lies at its top left.
cat >"$WORK/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
panel-position=none
INI
weston --backend=x11-backend.so --socket=corsaro-test --width=1024 --height=600 \
  --config="$WORK/weston.ini" >"$WORK/weston.log" 2>&1 &
SERVERS+=($!)
wait_for 15 test -S "$XDG_RUNTIME_DIR/corsaro-test" || fail "Weston did not start: $(tail -5 "$WORK/weston.log")"
begun=$(date +%s%N)
SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY=corsaro-test WAYLAND_DEBUG=1 session wayland
echo "Wayland session: $((($(date +%s%N) - begun) / 1000000)) ms"

grep -q "Video: the Wayland display cannot be used" "$WORK/wayland/Corsaro270.log" &&
  fail "the demo left Wayland: $(grep Video: "$WORK/wayland/Corsaro270.log")"
grep -q "xdg_toplevel@[0-9]*\.set_app_id(\"corsaro270-demo\")" "$WORK/wayland/stderr.txt" ||
  fail "no Wayland window with the demo's app id"
moves=$(grep -c "xdg_toplevel@[0-9]*\.move(" "$WORK/wayland/stderr.txt")
echo "xdg_toplevel.move requests for one band press: $moves"
[ "$moves" -eq 1 ] || fail "$moves xdg_toplevel.move requests for one band press"

for picture in main dragged switched; do
  if [ -n "$SHOTS" ]; then
    mkdir -p "$SHOTS"
    cp "$WORK/x11/$picture.png" "$SHOTS/x11-$picture.png"
    cp "$WORK/wayland/$picture.png" "$SHOTS/wayland-$picture.png"
  fi
  differing=$(pixels_differing "$WORK/x11/$picture.png" "$WORK/wayland/$picture.png")
  [ "$differing" = 0 ] || fail "$picture: Wayland's picture differs from X11's in $differing pixels"
done
differing=$(pixels_differing "$WORK/x11/main.png" "$WORK/x11/dragged.png")
[ "$differing" != 0 ] || fail "the tile drag changed nothing: the pointer did not reach the demo"
differing=$(pixels_differing "$WORK/x11/dragged.png" "$WORK/x11/switched.png")
[ "$differing" != 0 ] || fail "the profile switch changed nothing"

weston --backend=headless-backend.so --socket=corsaro-headless >"$WORK/headless.log" 2>&1 &
SERVERS+=($!)
wait_for 15 test -S "$XDG_RUNTIME_DIR/corsaro-headless" ||
  fail "headless Weston did not start: $(tail -5 "$WORK/headless.log")"
printf 'wait-state 6\nscreenshot main\nquit\n' >"$WORK/short.txt"
rm -rf "$WORK/out"
SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY=corsaro-headless start_demo "$WORK/short.txt"
wait_demo 60
[ "$DEMO_STATUS" -eq 0 ] || fail "without a seat the demo ended with $DEMO_STATUS: $(tail -5 "$WORK/demo.stderr")"
grep -q "the Wayland display cannot be used (the compositor has no input seat); trying X11" \
  "$WORK/demo.stderr" || fail "no word on standard error of leaving Wayland"
grep -q "Video: the Wayland display cannot be used (the compositor has no input seat)" \
  "$WORK/out/Corsaro270.log" || fail "no log line of leaving Wayland"
grep -q "(x11 video driver)" "$WORK/out/Corsaro270.log" || fail "the window did not open on X11"
test -s "$WORK/out/main.png" || fail "no main screen on X11 after leaving Wayland"
echo "PASS: the same three pictures on X11 and Wayland; one compositor move for the band press;"
echo "      without a seat the demo said so and ran on X11"
