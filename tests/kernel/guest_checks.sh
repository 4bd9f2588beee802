#!/usr/bin/env bash
# The checks run inside the test VM as root, on the kernel's uhid and hidraw: one verdict line per
# check in /out/verdicts ("PASS name" or "FAIL name: why"), then "DONE".
set -u
build=$CS_BUILD
source=$CS_SOURCE
IFS=, read -r -a groups <<<"${CS_CHECKS:-all}"
cli_program=$build/bin/corsaro270-cli
# Every run is bounded: a hang is a failure, not the end of the test.
cli() { timeout 120 "$cli_program" "$@"; }
emu=$build/bin/corsaro270-emu
demo=${CS_DRAWING_BUILD:-$build}/bin/corsaro270-demo
verdicts=/out/verdicts
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$source/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=offscreen
export GALLIUM_DRIVER=${CS_GALLIUM:-llvmpipe}
export GALLIVM_PERF=${CS_GALLIVM_PERF:-}
work=/tmp/checks
mkdir -p "$work" && cd "$work" || exit 1
export XDG_DATA_HOME=$work/data

uptime() { cut -d' ' -f1 /proc/uptime; }
pass() { echo "PASS $1" >>"$verdicts"; echo "$(uptime) PASS $1"; }
fail() { echo "FAIL $1: $2" >>"$verdicts"; echo "$(uptime) FAIL $1: $2"; }
# check NAME WHY COMMAND...: one verdict from the command's status.
check() {
  local name=$1 why=$2
  shift 2
  if "$@"; then pass "$name"; else fail "$name" "$why"; fi
}
wanted() {
  local group
  for group in "${groups[@]}"; do [[ $group == all || $group == "$1" ]] && return 0; done
  return 1
}
log() { echo "== $*"; }
# wait_for SECONDS COMMAND...: until the command succeeds, tried every 0.1 s; false past SECONDS
# by the clock (under software emulation a try alone may take half a second).
wait_for() {
  local seconds=$1 now start
  shift
  read -r start _ </proc/uptime
  while :; do
    "$@" && return 0
    read -r now _ </proc/uptime
    awk -v a="$start" -v b="$now" -v s="$seconds" 'BEGIN {exit !(b - a > s)}' && return 1
    sleep 0.1
  done
}
# timed_group LABEL COMMAND...: runs the command and adds how long it took to /out/timings.
timed_group() {
  local label=$1 start status
  shift
  start=$(uptime)
  "$@"
  status=$?
  echo "$label: $(awk -v a="$start" -v b="$(uptime)" 'BEGIN {printf "%.1f", b - a}') s" \
    >>/out/timings
  return $status
}

# Waits until a hidraw node of the receiver exists (or, with "gone", none does); bounded.
receiver_node() {
  local node
  for node in /sys/class/hidraw/hidraw*; do
    [[ -e $node ]] || continue
    if grep -q "HID_ID=0003:00002E7B:0000026" "$node/device/uevent" 2>/dev/null; then
      echo "/dev/${node##*/}"
      return 0
    fi
  done
  return 1
}
wait_node() {
  local i
  for i in $(seq 100); do
    if [[ ${1:-} == gone ]]; then
      receiver_node >/dev/null || return 0
    else
      local node
      node=$(receiver_node) && [[ -c $node ]] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# The emulator runs with a FIFO as its standard input, for control lines.
emu_pid=""
start_emu() {
  rm -f "$work/emu.in"
  mkfifo "$work/emu.in"
  "$emu" "$@" <"$work/emu.in" >>"$work/emu.log" 2>&1 &
  emu_pid=$!
  exec 7>"$work/emu.in"
  wait_node
}
emu_say() { echo "$1" >&7; }
stop_emu() {
  [[ -n $emu_pid ]] || return 0
  kill -TERM "$emu_pid"
  local status=0
  wait "$emu_pid" || status=$?
  exec 7>&-
  emu_pid=""
  wait_node gone
  return $status
}

udevd_pid=""
start_udevd() {
  /lib/systemd/systemd-udevd --resolve-names=never >>"$work/udevd.log" 2>&1 &
  udevd_pid=$!
  local i
  for i in $(seq 100); do [[ -e /run/udev/control ]] && break; sleep 0.1; done
}
stop_udevd() {
  [[ -n $udevd_pid ]] && kill -TERM "$udevd_pid" && wait "$udevd_pid"
  udevd_pid=""
  rm -rf /run/udev
}

source "$source/tests/kernel/guest_cli_checks.sh"
[[ -x $demo && -f $source/tests/kernel/guest_demo_checks.sh ]] &&
  source "$source/tests/kernel/guest_demo_checks.sh"

# Each udevd mode this guest runs (run_vm.sh may give the modes to two guests side by side).
IFS=, read -r -a udev_modes <<<"${CS_UDEV:-with,without}"
for udev in "${udev_modes[@]}"; do
  log "udevd: $udev"
  if [[ $udev == with ]]; then start_udevd; else stop_udevd; fi
  wanted cli && timed_group "cli, udevd $udev" cli_checks "$udev"
  wanted access && timed_group "access, udevd $udev" access_checks "$udev"
  declare -F demo_checks >/dev/null && { wanted demo || wanted "demo-$udev"; } &&
    timed_group "demo, udevd $udev" demo_checks "$udev"
done
wanted shot && timed_group "shot" shot_checks
declare -F fault_checks >/dev/null && wanted faults && timed_group "faults" fault_checks
[[ " ${groups[*]} " == *" figures "* ]] && timed_group "figures" figures
check "uhid lost no output report (udevd ${udev_modes[*]})" "$(dmesg | grep -m1 'queue is full')" \
  bash -c "! dmesg | grep -q 'queue is full'"
dmesg >/out/dmesg
cp "$work/emu.log" /out/ 2>/dev/null
# What the demo's runs wrote (states, message boxes, log), for a reader of a failure.
for run in "$work"/demo-*/; do
  name=$(basename "$run")
  [[ -d $run ]] && mkdir -p "/out/$name" && cp "$run"*.txt "$run"*.log "/out/$name/" 2>/dev/null
done
echo DONE >>"$verdicts"
