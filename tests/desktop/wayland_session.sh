#!/usr/bin/env bash
# The demo on Wayland (Weston's X11 backend under Xvfb) shows the main screen, takes a tile
# drag and a profile switch, and draws the same pictures as on X11; a real pointer's press on the
# top band asks the compositor to move the window (one xdg_toplevel.move). On a compositor
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

# The session, the same on both displays: the main screen, the A tile dragged from the palette
# onto control 5, then profile 2 chosen, the pointer put aside before each picture. The script
# drives them through the desktop's event queue, so that both pictures of a step show the same
# moment; only the band press below is a real pointer's.
cat >"$WORK/script.txt" <<'SCRIPT'
wait-state 6
move 400 420
frames 10
screenshot main
drag 715 530 588 272
move 400 420
frames 10
screenshot dragged
click 870 35
wait-state 4
wait-state 6
move 400 420
frames 10
screenshot switched
SCRIPT
cp "$WORK/script.txt" "$WORK/x11.txt"
echo quit >>"$WORK/x11.txt"
# On Wayland the demo then waits for the band press, and is ended as a session ends it.
cp "$WORK/script.txt" "$WORK/wayland.txt"
echo "frames 100000" >>"$WORK/wayland.txt"

# Polls the demo's protocol log, from line `from` on, for a line matching `pattern`.
protocol_says() {
  tail -n +"$1" "$WORK/demo.stderr" | grep -q "$2"
}

# Weston's X11 backend can lose the X pointer (its own was seen held at the output's corner while
# the X one moved on); a crossing out of its output window and back in puts it where the X one is.
# So the real pointer comes to (x, y) from outside Weston, again while the demo's protocol log has
# no word of it there.
OUTSIDE_WESTON="1090 690"
pointer_reaches() {
  local x=$1 y=$2 from crossings
  for crossings in 1 2 3 4 5 6 7 8 9 10; do
    from=$(($(wc -l <"$WORK/demo.stderr") + 1))
    # shellcheck disable=SC2086
    xdotool mousemove $OUTSIDE_WESTON sleep 0.1 mousemove "$x" "$y"
    if wait_for 2 protocol_says "$from" "wl_pointer@[0-9]*\.\(motion([0-9]*\|enter([0-9]*, wl_surface@[0-9]*\), $x\.0*, $y\.0*)"; then
      echo "the pointer reached $x,$y on Wayland after $crossings crossing(s)"
      return 0
    fi
  done
  fail "the pointer's move to $x,$y never reached the demo on Wayland: $(tail -3 "$WORK/demo.stderr")"
}

# A real press on the top band, dragged 150 pixels on: the compositor's move, not the program's.
band_press() {
  local from
  pointer_reaches 300 30
  from=$(($(wc -l <"$WORK/demo.stderr") + 1))
  xdotool mousedown 1
  wait_for 10 protocol_says "$from" "xdg_toplevel@[0-9]*\.move(" ||
    fail "the band press did not ask the compositor to move the window: $(demo_report)"
  for _ in 1 2 3; do
    xdotool mousemove_relative -- 50 50
    sleep 0.1
  done
  xdotool mouseup 1
}

# One session on the display set up by the caller, its pictures in $WORK/$1.
session() {
  local name=$1
  rm -rf "$WORK/out"
  start_demo "$WORK/$name.txt"
  wait_for 90 test -s "$WORK/out/switched.png" || fail "$name: no pictures: $(demo_report)"
  if [ "$name" = wayland ]; then
    band_press
    kill -TERM "$DEMO_PID"
  fi
  wait_demo 60
  local expected=0
  [ "$name" = wayland ] && expected=$((128 + 15))
  [ "$DEMO_STATUS" -eq "$expected" ] ||
    fail "$name: the demo ended with $DEMO_STATUS: $(tail -5 "$WORK/demo.stderr")"
  mv "$WORK/out" "$WORK/$name"
  mv "$WORK/demo.stderr" "$WORK/$name/stderr.txt"
}

# Wider than Weston's output, so that the pointer can leave it.
start_xvfb 1100x700
begun=$(date +%s%N)
SDL_VIDEODRIVER=x11 session x11
echo "X11 session: $((($(date +%s%N) - begun) / 1000000)) ms"

# Weston's output lies at the X screen's top left; without a panel, so does its only window.
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
# shellcheck disable=SC2086
xdotool mousemove $OUTSIDE_WESTON sleep 0.1 mousemove 400 420
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
[ "$differing" != 0 ] || fail "the tile drag changed nothing"
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
