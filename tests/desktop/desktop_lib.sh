# Shared by the real-desktop tests: a virtual X server, a window manager or a compositor, the demo
# on them, and bounded waits. Every test skips (exit 77) with its reason when a part is missing.

SKIP=77
SERVERS=()
# The desktop's own libraries (Mesa, X11, Wayland) keep memory to the end: no leak report here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# No session bus here. Without an address libdbus forks a launcher to find one, and the fork of a
# sanitized program can stall for ever in the sanitizer's allocator, locked by a thread that the
# child does not have. An address that cannot exist fails at once instead.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null/no-session-bus

skip() {
  echo "SKIP: $*"
  exit "$SKIP"
}

fail() {
  echo "FAIL: $*"
  exit 1
}

# Skips unless every named program is on PATH; the Debian package that brings it is named.
need() {
  local program package
  for pair in "$@"; do
    program=${pair%%:*}
    package=${pair#*:}
    command -v "$program" >/dev/null 2>&1 || skip "$program is missing (Debian package $package)"
  done
}

stop_servers() {
  local pid
  for pid in "${SERVERS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${SERVERS[@]}"; do
    for _ in $(seq 1 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  SERVERS=()
}

# Polls `command...` every tenth of a second until it succeeds; false after `seconds`.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  for _ in $(seq 1 "$tries"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Starts Xvfb on a free display of the given size; sets DISPLAY.
start_xvfb() {
  local size=$1 fifo="$WORK/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >"$WORK/xvfb.log" 2>&1 &
  SERVERS+=($!)
  local number
  read -r -t 10 number <"$fifo" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$number"
}

# The id of the first top-level window whose name holds `text`, or nothing.
window_named() {
  xdotool search --name "$1" 2>/dev/null | head -n 1
}

# "X Y" of the window's top-left corner on the screen, as xwininfo reports it.
window_corner() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    END {print x, y}'
}

# Starts the demo with a script; its output folder is $WORK/out, its streams in $WORK/demo.*.
start_demo() {
  local script=$1
  shift
  mkdir -p "$WORK/out"
  "$DEMO" --out "$WORK/out" --script "$script" "$@" \
    >"$WORK/demo.stdout" 2>"$WORK/demo.stderr" &
  DEMO_PID=$!
  SERVERS+=("$DEMO_PID")
}

# What the demo did, for a failure's message: whether it still runs, its errors and its log's end.
demo_report() {
  local state="it has ended"
  kill -0 "$DEMO_PID" 2>/dev/null && state="it is still running"
  echo "$state; its errors: $(tail -5 "$WORK/demo.stderr"); its log ends:"
  tail -8 "$WORK/out/Corsaro270.log" 2>/dev/null
}

# Waits at most `seconds` for the demo to end; its exit status is then in DEMO_STATUS.
wait_demo() {
  local seconds=$1
  wait_for "$seconds" bash -c "! kill -0 $DEMO_PID" || fail "the demo did not end in ${seconds}s"
  wait "$DEMO_PID"
  DEMO_STATUS=$?
}

# The number of pixels in which two pictures differ (ImageMagick's compare).
pixels_differing() {
  compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}
