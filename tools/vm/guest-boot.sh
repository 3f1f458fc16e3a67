#!/bin/sh
# The guest's init in the disk image: hands over to the guest-init.sh that
# run.sh puts in the job folder, so that the image need not be remade when
# that script changes.
PATH=/usr/sbin:/usr/bin:/sbin:/bin
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
modprobe 9pnet_virtio
modprobe 9p
mkdir -p /mnt/ctl
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 ctl /mnt/ctl; then
  exec /bin/sh /mnt/ctl/init.sh
fi
echo "qlx-vm: cannot mount the job folder" >/dev/ttyS0
echo o >/proc/sysrq-trigger
sleep 60
