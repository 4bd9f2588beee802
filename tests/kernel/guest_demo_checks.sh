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

demo_checks() {
  local udev=$1 status
  log "demo --hidraw checks, udevd $udev"
  run_demo "none-$udev" 'frames 10\nwait-state 0\n'
  wait "$demo_pid"
  status=$?
  check "demo-$udev: no receiver, the no-receiver screen" \
    "exit $status, states $(demo_states "none-$udev"): $(tail -3 "$work/demo-none-$udev.txt")" \
    test "$status" = 0 -a "$(demo_states "none-$udev")" = "0 "

  run_demo "plug-$udev" 'wait-state 0\nwait-state 6 4000\n'
  wait_demo_state_file "plug-$udev"
  sleep 2
  start_emu --flash "$work/demo-$udev.bin"
  wait "$demo_pid"
  status=$?
  check "demo-$udev: the receiver plugged in brings the main screen" \
    "exit $status, states $(demo_states "plug-$udev"): $(tail -3 "$work/demo-plug-$udev.txt")" \
    grep -q "0 .*6" <<<"$(demo_states "plug-$udev")"

  local assign='wait-state 6 2000\ndrag 715 530 588 272\nclick 199 520\nframes 30\n'
  run_demo "assign-$udev" "$assign"
  wait "$demo_pid"
  status=$?
  stop_emu
  # The same on the in-process receiver, for the record the kernel's path must have written.
  printf '%b' "$assign" >"$work/assign-ref.script"
  rm -f "$work/ref.bin"
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 timeout 200 "$demo" --flash "$work/ref.bin" --script "$work/assign-ref.script" \
    --out "$work/demo-ref" >/dev/null 2>&1
  cli --virtual "$work/ref.bin" read-profile 1 "$work/ref1.cs270" >/dev/null 2>&1
  cli --virtual "$work/demo-$udev.bin" read-profile 1 "$work/emu1.cs270" >/dev/null 2>&1
  check "demo-$udev: a drag and Assign Setting land in the emulator's flash" \
    "exit $status: $(tail -3 "$work/demo-assign-$udev.txt")" \
    bash -c "test $status = 0 && test -s $work/ref1.cs270 && cmp -s $work/ref1.cs270 $work/emu1.cs270"
  run_demo "refused-$udev" 'plug\n'
  wait "$demo_pid"
  status=$?
  check "demo-$udev: plug is refused with --hidraw" "exit $status: $(cat "$work/demo-refused-$udev.txt")" \
    grep -q "^1: this command needs the virtual receiver" "$work/demo-refused-$udev.txt"
}
