#!/usr/bin/env bash
# Boots Debian's kernel in qemu over the host's own root filesystem (read-only 9p, a tmpfs
# overlay on top) and runs guest_checks.sh inside, as root, with uhid loaded: two guests side by
# side, one with systemd-udevd and one without. Each guest writes one verdict line per check to a
# shared folder; this script judges those lines, never qemu's exit status. Exit 77 (skip) with the
# reason when a piece is missing.
# Usage: tests/kernel/run_vm.sh BUILD_DIR [CHECKS...]
#   CHECKS: cli access faults, demo, shot (the customiser's main screen as main.png), figures,
#   or all; the default is cli, access and faults, and demo where KVM runs or
#   CORSARO_VM_DRAWING_BUILD names an unsanitized build for the programs that draw;
#   CORSARO_VM_KEEP=DIR keeps each guest's verdicts, logs and files in DIR/with, DIR/without
#   (or DIR/both, where one processor runs one guest for both).
set -uo pipefail

build=$(realpath "${1:?usage: run_vm.sh BUILD_DIR [CHECKS...]}")
shift
here=$(realpath "$(dirname "$0")")
source=$(realpath "$here/../..")
checks=${*:-}
memory=${CORSARO_VM_MEMORY:-3072}
deadline=${CORSARO_VM_SECONDS:-420}

skip() {
  echo "SKIP: $*"
  exit 77
}

qemu=$(command -v qemu-system-x86_64) || skip "qemu-system-x86_64 is not installed (scripts/setup)"
busybox=$(command -v busybox) || skip "busybox is not installed (busybox-static, scripts/setup)"
file -L "$busybox" | grep -q 'statically linked' || skip "$busybox is not static (busybox-static)"
kernel=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -1)
[[ -n $kernel && -r $kernel ]] || skip "no readable /boot/vmlinuz-* (linux-image-amd64)"
version=${kernel#/boot/vmlinuz-}
modules=/lib/modules/$version
[[ -d $modules ]] || skip "no modules for kernel $version in $modules"
command -v modinfo >/dev/null || skip "modinfo (kmod) is missing"
[[ -x /lib/systemd/systemd-udevd || -x /usr/lib/systemd/systemd-udevd ]] ||
  skip "systemd-udevd is not installed (udev)"
for program in corsaro270-emu corsaro270-cli; do
  [[ -x $build/bin/$program ]] || skip "$build/bin/$program is not built"
done

# The programs that draw may come from an unsanitized build: under software emulation a
# sanitized frame takes minutes.
drawing=$(realpath "${CORSARO_VM_DRAWING_BUILD:-$build}")

prepared=$(date +%s%N)
work=$(mktemp -d /tmp/corsaro-vm.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/initramfs"/{bin,lib/modules,proc,sys,dev,lower,upper,root} "$work/reference"

# The modules the initramfs loads, each after the ones it depends on.
declare -A loaded=()
order=()
add_module() {
  local name=$1 dependency
  [[ -n ${loaded[$name]:-} ]] && return
  loaded[$name]=1
  local path
  path=$(modinfo -k "$version" -n "$name" 2>/dev/null) || return 0
  [[ $path == /* ]] || return 0  # built in
  for dependency in $(modinfo -k "$version" -F depends "$name" | tr ',' ' '); do
    add_module "$dependency"
  done
  cp "$path" "$work/initramfs/lib/modules/"
  order+=("$(basename "$path")")
}
for module in virtio_pci 9pnet_virtio 9p overlay; do add_module "$module"; done
for module in "${order[@]}"; do
  case $module in *.ko) ;; *) skip "module $module is compressed; busybox insmod needs .ko" ;; esac
done

cp "$busybox" "$work/initramfs/bin/busybox"
cat >"$work/initramfs/init" <<INIT
#!/bin/busybox sh
/bin/busybox mount -t proc proc /proc
/bin/busybox mount -t sysfs sys /sys
/bin/busybox mount -t devtmpfs dev /dev
for module in ${order[*]}; do /bin/busybox insmod /lib/modules/\$module; done
/bin/busybox mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000,cache=loose hostroot /lower
/bin/busybox mount -t tmpfs -o mode=0755 upper /upper
/bin/busybox mkdir -p /upper/data /upper/work
/bin/busybox mount -t overlay overlay -o lowerdir=/lower,upperdir=/upper/data,workdir=/upper/work /root
/bin/busybox mount --move /dev /root/dev
/bin/busybox umount /proc /sys
exec /bin/busybox switch_root /root /bin/sh $here/guest_boot.sh
INIT
chmod 755 "$work/initramfs/init"
(cd "$work/initramfs" && find . | "$busybox" cpio -o -H newc 2>/dev/null) >"$work/initramfs.cpio" ||
  skip "could not pack the initramfs"

# One processor: uhid keeps only 32 output reports, and on one processor the emulator's
# real-time reader takes each report as soon as it is written, as a receiver's bus would pace it.
# KVM only where a machine really runs on it: /dev/kvm may exist and still refuse the CPU, or
# (nested) take it and never get through a boot. The probe boots the kernel with no root
# filesystem: under KVM it panics and ends within seconds. A nested KVM may refuse the host CPU's
# ARCH_CAPABILITIES register and take the CPU without it.
accel=tcg
cpu=${CORSARO_VM_CPU:-max}
if [[ -w /dev/kvm ]]; then
  for model in host host,-arch-capabilities; do
    if (timeout 5 "$qemu" -accel kvm -cpu "$model" -nodefaults -display none -m 256 -no-reboot \
      -serial none -kernel "$kernel" -append "panic=-1 quiet" >/dev/null 2>&1; exit $?) 2>/dev/null
    then
      accel=kvm
      cpu=$model
      break
    fi
  done
fi
# The demo's checks need KVM or an unsanitized build of the programs that draw: under software
# emulation a sanitized demo takes minutes to its first frame. The screenshot is asked for by name.
if [[ -z $checks ]]; then
  checks="cli access faults"
  if [[ $accel == kvm || -n ${CORSARO_VM_DRAWING_BUILD:-} ]]; then
    checks+=" demo"
  else
    echo "NOTE: the demo's checks are left out: no usable KVM and no CORSARO_VM_DRAWING_BUILD"
  fi
fi

# The demo's edit with udevd, on the in-process receiver: the record the kernel's path must write
# too. Made here, where it takes seconds, not the half minute of a start under software emulation.
if [[ " $checks " == *" demo "* || " $checks " == *" all "* ]]; then
  mkdir -p "$work/host"
  (
    cd "$work/host" || exit 1
    export HOME=$work/host XDG_DATA_HOME=$work/host/data XDG_STATE_HOME=$work/host/state \
      XDG_CONFIG_HOME=$work/host/config XDG_CACHE_HOME=$work/host/cache SDL_VIDEODRIVER=offscreen
    timeout 120 "$drawing/bin/corsaro270-demo" --flash ref.bin --out demo-ref \
      --script "$here/assign_setting.script" &&
      timeout 60 "$build/bin/corsaro270-cli" --virtual ref.bin read-profile 1 ref1.cs270 &&
      cp ref1.cs270 "$work/reference/assign-ref.cs270"
  ) >"$work/reference/assign-ref.txt" 2>&1
fi
# Two guests side by side where the machine has two processors, each on its own: one with
# systemd-udevd, one without it (the /dev watch's way), each booting over its own overlay. On one
# processor, one guest runs both modes in turn.
guests=(with without)
(($(nproc) >= 2)) || guests=(both)
# The groups a guest runs: the udevd guest those that depend on udevd's mode; the other (or the
# only one) every group asked for.
guest_checks() {
  local group list=""
  for group in $checks; do
    case $1:$group in
      with:all) list+=" cli access demo" ;;
      with:cli | with:access | with:demo | with:demo-with) list+=" $group" ;;
      with:*) ;;
      *) list+=" $group" ;;
    esac
  done
  echo "${list# }"
}
declare -A guest_list=()
for guest in "${guests[@]}"; do guest_list[$guest]=$(guest_checks "$guest"); done
# A guest with no group to run is not booted (its checks would default to all).
[[ ${guests[0]} == with && -z ${guest_list[with]} ]] && guests=("${guests[@]:1}")
echo "kernel $version, accel $accel, ${memory} MiB each, guests: ${guests[*]} (udevd), checks: $checks"
started=$(date +%s%N)
echo "set-up before the boot (initramfs, KVM probe, reference edit): $(((started - prepared) / 1000000)) ms"
# boot GUEST: one VM, its verdicts and timings in $work/GUEST/.
boot() {
  local guest=$1 list=${guest_list[$1]} modes=$1 begun status
  [[ $guest == both ]] && modes=with,without
  mkdir -p "$work/$guest"
  chmod 1777 "$work/$guest"
  cp "$work/reference/"* "$work/$guest/" 2>/dev/null
  begun=$(date +%s%N)
  timeout --kill-after=10 "$deadline" "$qemu" -accel "$accel" -cpu "$cpu" -smp 1 -m "$memory" \
    -nographic -no-reboot -nodefaults -serial stdio \
    -kernel "$kernel" -initrd "$work/initramfs.cpio" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init CS_BUILD=$build CS_SOURCE=$source CS_CHECKS=${list// /,} CS_UDEV=$modes CS_GALLIUM=${CORSARO_VM_GALLIUM:-llvmpipe} CS_DRAWING_BUILD=$drawing CS_GALLIVM_PERF=${CORSARO_VM_GALLIVM_PERF:-}" \
    -virtfs "local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap" \
    -virtfs "local,path=$work/$guest,mount_tag=out,security_model=none" \
    >"$work/$guest/console.log" 2>&1
  status=$?
  echo "qemu ran $((($(date +%s%N) - begun) / 1000000)) ms (exit $status), checks: $list" \
    >"$work/$guest/qemu.txt"
}
for guest in "${guests[@]}"; do boot "$guest" & done
wait
finished=$(date +%s%N)
echo "the guests ran $(((finished - started) / 1000000)) ms in all"

# judge GUEST: its verdicts, timings and figures printed; false when a check failed or the
# guest did not finish.
judge() {
  local guest=$1 out=$work/$1 verdicts=$work/$1/verdicts
  echo "== guest: udevd $guest"
  cat "$out/qemu.txt"
  [[ -n ${CORSARO_VM_KEEP:-} ]] && mkdir -p "$CORSARO_VM_KEEP" && rm -rf "$CORSARO_VM_KEEP/$guest" &&
    cp -r "$out" "$CORSARO_VM_KEEP/$guest"
  if [[ ! -s $verdicts ]]; then
    echo "FAIL: the guest wrote no verdicts; its console:"
    tail -50 "$out/console.log"
    return 1
  fi
  echo "the VM's timings (seconds since its kernel started, then each group's own):"
  sed 's/^/  /' "$out/timings" 2>/dev/null
  if [[ -s $out/figures ]]; then
    local note=""
    [[ $accel == tcg ]] && note=": under software emulation, slow and noisy"
    echo "figures through the kernel beside the in-process receiver (accel $accel$note):"
    cat "$out/figures"
  fi
  cat "$verdicts"
  if ! grep -q '^DONE' "$verdicts"; then
    echo "FAIL: the guest did not finish its checks; its console:"
    tail -40 "$out/console.log"
    return 1
  fi
  if grep -q '^FAIL' "$verdicts"; then
    echo "$(grep -c '^FAIL' "$verdicts") check(s) failed; logs:"
    tail -80 "$out/log" 2>/dev/null
    return 1
  fi
}
failed=0
passed=0
for guest in "${guests[@]}"; do
  judge "$guest" || failed=1
  passed=$((passed + $(cat "$work/$guest/verdicts" 2>/dev/null | grep -c '^PASS')))
done
((failed == 0)) || exit 1
echo "all $passed checks passed"
