#!/bin/sh
# PID 1 of the test VM (see run_vm.sh): mounts what the checks need, runs them, powers off.
# /tmp stays the host's, seen through the writable overlay: the build tree may lie under it.
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t tmpfs -o mode=0755 run /run
mkdir -p /dev/pts /dev/shm /out
mount -t devpts devpts /dev/pts
mount -t tmpfs -o mode=1777 shm /dev/shm
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 out /out
echo "booted $(cut -d' ' -f1 /proc/uptime) s" >>/out/timings
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
modprobe uhid
modprobe hid_generic
# The most memory in use while the checks run, sampled every second.
(
  most=0
  while sleep 1; do
    used=$(awk '/MemTotal/ {total = $2} /MemAvailable/ {print int((total - $2) / 1024)}' \
      /proc/meminfo)
    [ "$used" -gt "$most" ] && most=$used && echo "$most" >/run/most-used
  done
) &
bash "$CS_SOURCE/tests/kernel/guest_checks.sh" >>/out/log 2>&1
echo "checks ended $(cut -d' ' -f1 /proc/uptime) s" >>/out/timings
total=$(awk '/MemTotal/ {print int($2 / 1024)}' /proc/meminfo)
echo "memory: $total MiB, at most $(cat /run/most-used 2>/dev/null) MiB of it in use" >>/out/timings
sync
busybox poweroff -f
