# The command-line tool on the emulated receiver, through udev enumeration and hidraw
# (sourced by guest_checks.sh).

# Waits until the emulator has plugged the receiver in `count` times in all; bounded.
wait_plugged() {
  local count=$1 i
  for i in $(seq 100); do
    (($(grep -c "plugged in" "$work/emu.log") >= count)) && wait_node && return 0
    sleep 0.1
  done
  return 1
}
plug_count() { grep -c "plugged in" "$work/emu.log"; }

cli_checks() {
  local udev=$1 flash=$work/wheel-$1.bin out node
  log "cli checks, udevd $udev"
  rm -rf "$XDG_DATA_HOME"
  start_emu --flash "$flash" --firmware-version 1.80
  check "cli-$udev: the emulator makes a hidraw node" "no node appeared" receiver_node
  node=$(receiver_node)
  out=$(cli list 2>&1)
  check "cli-$udev: list names the node" "list printed: $out" \
    grep -q "^$node  vendor 0x2E7B  product 0x0262" <<<"$out"
  out=$(cli info 2>&1)
  check "cli-$udev: info reads firmware v1.80" "info printed: $out" \
    grep -q "Wheel Firmware v1.80" <<<"$out"
  cli read-profile 1 p1.cs270 && cli read-profile 2 p2.cs270 &&
    cli read-profile 3 p3.cs270
  check "cli-$udev: read-profile gives 116-byte profile files" "read-profile failed" \
    test "$(stat -c %s p1.cs270 p2.cs270 p3.cs270 2>/dev/null | sort -u)" = 116
  out=$(cli upgrade 2>&1)
  check "cli-$udev: upgrade stages the firmware" "upgrade printed: $out" \
    grep -q "is staged in the receiver" <<<"$out" || dmesg | tail -5
  local plugs
  plugs=$(plug_count)
  emu_say replug
  wait_plugged $((plugs + 1))
  out=$(cli info 2>&1)
  check "cli-$udev: after the replug the receiver runs v1.96" "info printed: $out" \
    grep -q "Wheel Firmware v1.96" <<<"$out"
  cli write-profiles p3.cs270 p1.cs270 p2.cs270 && cli read-profile 1 back1.cs270
  check "cli-$udev: write-profiles lands on the receiver" "profile 1 is not what was written" \
    cmp -s p3.cs270 back1.cs270
  cli backup set.bak && cli write-profiles p1.cs270 p1.cs270 p1.cs270 >/dev/null &&
    cli restore --latest >/dev/null && cli read-profile 1 restored1.cs270
  check "cli-$udev: backup, then restore --latest brings the profiles back" \
    "profile 1 after restore --latest differs" cmp -s p3.cs270 restored1.cs270
  check "cli-$udev: SIGTERM removes the receiver and ends well" "the emulator failed" stop_emu
  check "cli-$udev: the node is gone" "a node is left" wait_node gone
  cli --virtual "$flash" read-profile 1 saved1.cs270 >/dev/null 2>&1
  check "cli-$udev: the flash file holds what was written" "profile 1 in the file differs" \
    cmp -s p3.cs270 saved1.cs270
  start_emu --flash "$flash"
  out=$(cli info 2>&1)
  check "cli-$udev: the flash file is kept across runs" "info printed: $out" \
    grep -q "Wheel Firmware v1.96" <<<"$out"
  stop_emu
}

# As a user without access to the node: "permission denied" and the rule's hint; then a rule on
# the kernel's HID name (a uhid node has no USB attributes for the packaged rule) lets them in.
as_user() { HOME=/tmp XDG_DATA_HOME=/tmp/user setpriv --reuid=65534 --regid=65534 "$@"; }
# The build tree may lie in a folder only its owner may enter (a clone in mktemp -d): the user
# runs a copy of the tool.
user_cli=/run/corsaro270-cli
access_checks() {
  local udev=$1 node out
  install -m 0755 "$cli_program" "$user_cli"
  log "access checks, udevd $udev"
  start_emu --flash "$work/access.bin"
  node=$(receiver_node)
  chmod 0600 "$node"
  out=$(as_user --clear-groups timeout 60 "$user_cli" info 2>&1)
  check "access-$udev: a 0600 node is refused with the reason" "info printed: $out" \
    grep -q "permission denied" <<<"$out"
  check "access-$udev: the refusal names the rule to install" "info printed: $out" \
    grep -q "60-corsaro270.rules" <<<"$out"
  out=$(as_user --clear-groups timeout 60 "$user_cli" list 2>&1)
  check "access-$udev: list marks the node as denied" "list printed: $out" \
    grep -q "$node .*permission denied" <<<"$out"
  if [[ $udev == with ]]; then
    cp "$source/packaging/60-corsaro270.rules" /etc/udev/rules.d/
    echo 'KERNEL=="hidraw*", KERNELS=="0003:2E7B:0262.*", GROUP="100", MODE="0660"' \
      >/etc/udev/rules.d/61-corsaro270-uhid.rules
    udevadm control --reload
    local plugs
    plugs=$(plug_count)
    emu_say replug
    wait_plugged $((plugs + 1))
    udevadm settle --timeout=20
    out=$(as_user --groups 100 timeout 60 "$user_cli" info 2>&1)
    check "access-$udev: a rule on KERNELS gives the group access" "info printed: $out" \
      grep -q "Wheel Firmware" <<<"$out"
    rm -f /etc/udev/rules.d/61-corsaro270-uhid.rules /etc/udev/rules.d/60-corsaro270.rules
    udevadm control --reload
  fi
  stop_emu
}

# The real customiser, no option, on an X server with the emulator plugged in: its main screen,
# saved as /out/main.png for a reader to see.
shot_checks() {
  local app=${CS_DRAWING_BUILD:-$build}/bin/corsaro270 i
  [[ -x $app ]] && command -v Xvfb >/dev/null && command -v import >/dev/null || return 0
  log "the customiser's main screen"
  start_emu --flash "$work/shot.bin"
  Xvfb :5 -screen 0 1024x600x24 -nolisten tcp >>"$work/xvfb.log" 2>&1 &
  local xvfb=$!
  mkdir -p -m 0700 /tmp/xdg
  for i in $(seq 100); do [[ -e /tmp/.X11-unix/X5 ]] && break; sleep 0.1; done
  DISPLAY=:5 XDG_RUNTIME_DIR=/tmp/xdg SDL_VIDEODRIVER=x11 "$app" >>"$work/app.log" 2>&1 &
  local app_pid=$!
  # Under software emulation the start and the splash take well over a minute.
  sleep "${CS_SHOT_WAIT:-150}"
  DISPLAY=:5 import -window root /out/main.png
  check "shot: the customiser runs on the emulated receiver" "it ended early" kill -0 "$app_pid"
  kill -TERM "$app_pid"
  for i in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$app_pid" 2>/dev/null
  kill "$xvfb"
  wait "$app_pid" "$xvfb" 2>/dev/null
  stop_emu
}

# The worst faults through the kernel: each transfer fails in bounded time with a message, and
# the receiver keeps its data.
fault_checks() {
  local out status
  log "faults"
  # On the receiver and the profile files the cli group left.
  if ! cp "$work/wheel-without.bin" "$work/fault.bin" 2>/dev/null; then
    fail "faults" "no receiver from the cli group without udevd: ask for cli with faults"
    return 1
  fi
  start_emu --flash "$work/fault.bin" --fault remove-after 30
  out=$(cli write-profiles p1.cs270 p2.cs270 p3.cs270 2>&1)
  status=$?
  check "faults: a receiver removed mid-batch fails the write" "exit $status: $out" \
    test "$status" = 1
  check "faults: the emulator pulled the receiver out" "$(tail -2 "$work/emu.log")" \
    grep -q "pulled out (fault)" "$work/emu.log"
  local plugs
  plugs=$(plug_count)
  emu_say plug
  wait_plugged $((plugs + 1))
  emu_say "fault no-reply"
  sleep 0.5
  rm -f silent.cs270
  out=$(cli read-profile 1 silent.cs270 2>&1)
  status=$?
  check "faults: no reply fails the read within its deadline" "exit $status: $out" \
    test "$status" = 1 -a ! -e silent.cs270
  emu_say "fault none"
  # Before the version's reply only: its wait skips the report of no command.
  emu_say "fault only 0x03"
  emu_say "fault unrelated 1"
  sleep 0.5
  out=$(cli info 2>&1)
  check "faults: an unrelated report before the reply is skipped" "info printed: $out" \
    grep -q "Wheel Firmware v1\." <<<"$out"
  # Before every reply: a batch takes none for a reply.
  emu_say "fault none"
  emu_say "fault unrelated 1"
  sleep 0.5
  out=$(cli info 2>&1)
  check "faults: an unrelated report among a batch's replies fails it" "info printed: $out" \
    grep -q "did not answer while its profiles were read" <<<"$out"
  # More than hidraw's queue of 64 ahead of every reply: the kernel drops reports, and no
  # report of no command may pass for a reply.
  emu_say "fault unrelated 70"
  sleep 0.5
  out=$(cli info 2>&1)
  check "faults: 70 unrelated reports before the version fail its wait" "info printed: $out" \
    grep -q "did not report its firmware version" <<<"$out"
  rm -f flood.cs270
  out=$(cli read-profile 1 flood.cs270 2>&1)
  status=$?
  check "faults: 70 unrelated reports before each reply fail the read" "exit $status: $out" \
    test "$status" = 1 -a ! -e flood.cs270
  emu_say "fault none"
  sleep 0.5
  out=$(cli read-profile 1 after.cs270 2>&1)
  check "faults: the receiver answers again after the faults" "$out" test -s after.cs270
  stop_emu
}

# Figures, not checks: the firmware body and a profile write through the kernel at the USB pace,
# beside the in-process receiver, by the benchmark built with the programs that draw.
figures() {
  local bench=${CS_DRAWING_BUILD:-$build}/bin/kernel_path_bench
  log "figures"
  if [[ ! -x $bench ]]; then
    echo "no figures: $bench is not built (scripts/build-programs)" >>/out/figures
    return 0
  fi
  start_emu --flash "$work/figures.bin" --usb-pace
  timeout 300 "$bench" --benchmark_counters_tabular=true >>/out/figures 2>&1
  stop_emu
}
