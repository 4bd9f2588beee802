# corsaro270-demo --hidraw: the customiser's screens on the kernel's receiver, found by udev
# enumeration and announced by the udev monitor, or without udevd by the /dev watch (sourced by
# guest_checks.sh).

# run_demo NAME SCRIPT: a scripted run on the system's receivers, in the background; its results
# go to $work/demo-NAME.
demo_pid=""
# Leak checks are off for the demo: Mesa here leaks at exit, also on the in-process receiver.
run_demo() {
  local name=$1
  printf '%b' "$2" >"$work/$name.script"
  rm -rf "$work/demo-$name"
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 timeout 200 "$demo" --hidraw --script "$work/$name.script" --out "$work/demo-$name" \
    >"$work/demo-$name.txt" 2>&1 &
  demo_pid=$!
}
# The run's AppState changes, one state a line.
demo_states() { awk '{print $NF}' "$work/demo-$1/states.txt" 2>/dev/null | tr '\n' ' '; }
wait_demo_state_file() {
  local i
  for i in $(seq 600); do [[ -s $work/demo-$1/states.txt ]] && return 0; sleep 0.1; done
  return 1
}

# Under software emulation every start of the demo costs half a minute: one session per udevd
# mode shows the no-receiver screen, the receiver's arrival and, with udevd, an edit written to it.
demo_checks() {
  local udev=$1 status script='wait-state 0\nwait-state 6 4000\n'
  local assign='drag 715 530 588 272\nclick 199 520\nframes 30\n'
  log "demo --hidraw checks, udevd $udev"
  [[ $udev == with ]] && script+=$assign
  run_demo "session-$udev" "$script"
  wait_demo_state_file "session-$udev"
  sleep 2
  start_emu --flash "$work/demo-$udev.bin"
  wait "$demo_pid"
  status=$?
  stop_emu
  local states
  states=$(demo_states "session-$udev")
  check "demo-$udev: no receiver, the no-receiver screen" "states $states" \
    grep -q "^0 " <<<"$states"
  check "demo-$udev: the receiver plugged in brings the main screen" \
    "exit $status, states $states: $(tail -3 "$work/demo-session-$udev.txt")" \
    grep -q "^0 .*6" <<<"$states"
  [[ $udev == with ]] || return 0

  # The same edit on the in-process receiver: the record the kernel's path must have written.
  printf '%b' "wait-state 6 2000\n$assign" >"$work/assign-ref.script"
  rm -f "$work/ref.bin"
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 timeout 200 "$demo" --flash "$work/ref.bin" \
    --script "$work/assign-ref.script" --out "$work/demo-ref" >/dev/null 2>&1
  cli --virtual "$work/ref.bin" read-profile 1 "$work/ref1.cs270" >/dev/null 2>&1
  cli --virtual "$work/demo-$udev.bin" read-profile 1 "$work/emu1.cs270" >/dev/null 2>&1
  check "demo-$udev: a drag and Assign Setting land in the emulator's flash" \
    "exit $status: $(tail -3 "$work/demo-session-$udev.txt")" \
    bash -c "test $status = 0 && test -s $work/ref1.cs270 && cmp -s $work/ref1.cs270 $work/emu1.cs270"
}
