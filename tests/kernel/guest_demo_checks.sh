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
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 timeout 300 "$demo" --hidraw \
    --script "$work/$name.script" --out "$work/demo-$name" \
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

# Whether the run's states so far include `state`.
demo_in_state() { awk -v state="$2" '$2 == state {found = 1} END {exit !found}' \
  "$work/demo-$1/states.txt" 2>/dev/null; }
# How many lines of the emulator's log say `text` (it is kept across all the checks' runs).
emu_says() { cat "$work/emu.log" 2>/dev/null | grep -c -- "$1"; }
# Whether the emulator's log says `text` more than `count` times.
emu_said() { (($(emu_says "$1") > $2)); }
demo_logged() { grep -q -- "$2" "$work/demo-$1/Corsaro270.log" 2>/dev/null; }

# Under software emulation every start of the demo costs half a minute: one session per udevd
# mode shows the no-receiver screen and the receiver's arrival; with udevd an edit is written to
# the receiver, without it the receiver is out of date and gets its upgrade, interrupted first.
demo_checks() {
  local udev=$1 status script='wait-state 0\n'
  local assign
  assign=$(<"$source/tests/kernel/assign_setting.script")$'\n'
  # Both questions are answered yes: the first upgrade fails, so the second arrival asks again.
  local upgrade='answer yes\nanswer yes\nwait-state 9 4000\nwait-state 10 40000\n'
  upgrade+='wait-state 6 4000\nframes 20\n'
  local version=1.96
  log "demo --hidraw checks, udevd $udev"
  if [[ $udev == with ]]; then
    script+=$assign
  else
    script+=$upgrade
    version=1.80
  fi
  run_demo "session-$udev" "$script"
  timed_group "demo start to its first frame, udevd $udev" wait_demo_state_file "session-$udev"
  local fault=()
  # Under software emulation the demo's first frames take so long that the upgrade may be over
  # before the screen shows it: the fault is counted from the start. The receiver's arrival takes
  # well under 100 requests, then 16 erases, then the body's 3071 writes.
  [[ $udev == with ]] || fault=(--fault remove-after 300)
  local pulls
  pulls=$(emu_says "pulled out (fault)")
  start_emu --flash "$work/demo-$udev.bin" --firmware-version "$version" "${fault[@]}"
  [[ $udev == with ]] || interrupt_then_upgrade "session-$udev" "$pulls"
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
  if [[ $udev == with ]]; then
    assign_checks "$status"
  else
    upgrade_checks "$status" "$states"
  fi
}

# The emulator, in the part of an upgrade that writes the firmware body, pulls the receiver out;
# once the upgrade has failed it is plugged in again, and after the whole second upgrade replugged.
# Each step waits for what the one before it brings about, within a bound.
interrupt_then_upgrade() {
  local name=$1 pulls=$2 plugs
  wait_for 200 emu_said "pulled out (fault)" "$pulls" || return
  log "$(uptime): the receiver was pulled out"
  # Saved as it was pulled out.
  cp "$work/demo-without.bin" "$work/pulled.bin"
  wait_for 30 demo_logged "$name" "Firmware upgrade failed"
  log "$(uptime): the upgrade failed; the receiver is plugged in again"
  plugs=$(plug_count)
  emu_say plug
  wait_for 10 emu_said "plugged in" "$plugs"
  grep "plugged in" "$work/emu.log" | tail -1 >"$work/back-in.txt"
  wait_for 240 demo_logged "$name" "the new image is staged"
  log "$(uptime): the image is staged; the receiver is replugged"
  emu_say replug
}

upgrade_checks() {
  local status=$1 states=$2 name=session-without out messages
  messages=$work/demo-$name/messages.txt
  check "demo-without: the receiver pulled out during the body fails the upgrade" \
    "$(grep -m3 "Firmware upgrade" "$work/demo-$name/Corsaro270.log")" \
    demo_logged "$name" "Firmware upgrade failed: Reprogramming firmware failed"
  out=$(cli --virtual "$work/pulled.bin" --json info 2>&1)
  check "demo-without: the interrupted upgrade leaves no staged image" "info printed: $out" \
    grep -q '"wheelFirmware":"1.80".*"upgradeImageStaged":false' <<<"$out"
  check "demo-without: plugged in again, the receiver still runs v1.80" \
    "$(cat "$work/back-in.txt")" grep -q "firmware v1.80" "$work/back-in.txt"
  check "demo-without: the receiver back asks for the upgrade again" "$(cat "$messages")" \
    test "$(grep -c "^question.*firmware version on your controller is out of date" "$messages")" = 2
  check "demo-without: the whole upgrade, replugged, is confirmed once" \
    "exit $status, $(tail -2 "$work/demo-$name.txt"), messages: $(cat "$messages")" \
    test "$status:$(grep -c "^info.*had been updated to the latest version" "$messages")" = 0:1
  check "demo-without: the return state only after the whole upgrade, then the main screen" \
    "states $states" grep -qx "0 \(6 \)\?9 10 6 " <<<"$states"
  out=$(grep "plugged in" "$work/emu.log" | tail -1)
  check "demo-without: after the replug the receiver runs v1.96" "$out" \
    grep -q "firmware v1.96" <<<"$out"
}

# The same edit on the in-process receiver, made on the host before the boot (run_vm.sh): the
# record the kernel's path must have written.
assign_checks() {
  local status=$1 reference=/out/assign-ref.cs270
  cli --virtual "$work/demo-with.bin" read-profile 1 "$work/emu1.cs270" >/dev/null 2>&1
  check "demo-with: a drag and Assign Setting land in the emulator's flash" \
    "exit $status: $(tail -3 "$work/demo-session-with.txt"); $(cat /out/assign-ref.txt 2>/dev/null)" \
    bash -c "test $status = 0 && test -s $reference && cmp -s $reference $work/emu1.cs270"
}
