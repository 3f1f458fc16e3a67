#!/bin/sh
# PID 1 of the guest, started by guest-boot.sh from the job folder /mnt/ctl
# (no systemd: booting it under software emulation costs more than the job).
# Mounts what Wine and Xvfb need and the shared work tree (tag "wt", at the
# path written in ctl/path), runs ctl/job.sh with its output on the virtio console, writes its exit
# status to ctl/status and powers off. run.sh reads that status; a guest that
# dies before writing it leaves none, which run.sh reports as a failure.
PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export PATH HOME=/root LANG=C.UTF-8 TERM=dumb

# The initramfs hands over /proc, /sys and /dev mounted.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
chmod 1777 /tmp /dev/shm
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
mount -o remount,rw /
hostname qlx957-vm
ip link set lo up

# Without udev nothing loads the modules of the NIC and the console.
for module in virtio_net virtio_console; do
  modprobe "$module" 2>/dev/null
done

power_off() {
  sync
  echo o >/proc/sysrq-trigger
  sleep 60
}

# msize: larger messages make reading the prefixes' files over 9p much faster.
p9="trans=virtio,version=9p2000.L,msize=512000,cache=mmap"
worktree="$(cat /mnt/ctl/path)"
mkdir -p "$worktree"
if ! mount -t 9p -o "$p9" wt "$worktree"; then
  echo "qlx-vm: cannot mount the work tree at $worktree" >/dev/ttyS0
  power_off
fi

nic="$(ls /sys/class/net | grep -vx lo | head -n 1)"
if [ -e /mnt/ctl/network ] && [ -n "$nic" ]; then
  # QEMU's user-mode network: fixed addresses, its DNS at .3.
  ip addr add 10.0.2.15/24 dev "$nic"
  ip link set "$nic" up
  ip route add default via 10.0.2.2
  echo "nameserver 10.0.2.3" >/etc/resolv.conf
fi

out=/dev/hvc0
[ -c "$out" ] || out=/dev/ttyS0
stty -F "$out" -opost -echo 2>/dev/null # the output as written, no CR added
: >/mnt/ctl/booted
# run.sh --local DIR: DIR of the work tree lives on the guest's own disk
# while the command runs (Wine in a prefix over 9p is three times slower),
# and is copied back over the shared one afterwards.
local=
if [ -s /mnt/ctl/local ]; then
  shared="$worktree/$(cat /mnt/ctl/local)"
  local=/scratch/local
  mkdir -p "$shared" "$local"
  cp -a "$shared/." "$local/" && mount --bind "$local" "$shared" || local=
  [ -n "$local" ] || echo "qlx-vm: cannot put $shared on the guest's disk" >"$out"
fi
if [ -n "$local" ] || [ ! -s /mnt/ctl/local ]; then
  (cd "$worktree" && bash /mnt/ctl/job.sh) </dev/null >"$out" 2>&1
  status=$?
else
  status=125
fi
if [ -n "$local" ]; then
  umount "$shared"
  find "$shared" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
  if ! cp -a "$local/." "$shared/"; then
    echo "qlx-vm: copying $local back to $shared failed" >"$out"
    [ "$status" -ne 0 ] || status=125
  fi
fi
echo "$status" >/mnt/ctl/status.tmp && mv /mnt/ctl/status.tmp /mnt/ctl/status
sleep 1 # lets the console hand over the output's last bytes
power_off
