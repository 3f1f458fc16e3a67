#!/usr/bin/env bash
# Makes, once, the Debian 12 guest that tools/vm/run.sh boots (as root):
#   root/        a debootstrap root with Debian's kernel and python3
#   vmlinuz, initrd.img   that kernel and an initramfs that mounts the disk
#   root.img     the root as an ext4 disk image, then with 32-bit Wine and
#                Xvfb installed by scripts/setup-wine.sh run inside the guest
#                (its kernel runs 32-bit programs, so the script's own probe
#                passes there and it installs what it always does)
# in /var/cache/qlx957-vm (QLX_VM_CACHE). Each step is skipped once done;
# --rebuild starts over.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cache="${QLX_VM_CACHE:-/var/cache/qlx957-vm}"
root="$cache/root"
mirror=http://deb.debian.org/debian
image_size=16G

if [[ "${1:-}" == --rebuild ]]; then
  rm -rf "$cache"
fi
mkdir -p "$cache"

step() { echo "== $* ($(date +%T))"; }

missing=()
for package in qemu-system-x86 qemu-utils debootstrap e2fsprogs; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  "$repo/scripts/install-packages.sh" "the virtual machine's tools" "${missing[@]}"
fi

if [[ ! -e "$root/.qlx-debootstrap" ]]; then
  step "debootstrap of Debian 12 into $root"
  rm -rf "$root" "$root.partial"
  debootstrap --variant=minbase \
    --include=linux-image-amd64,initramfs-tools,kmod,iproute2,procps,python3,ca-certificates \
    bookworm "$root.partial" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 30 "$cache/debootstrap.log" >&2; exit 1; }
  mv "$root.partial" "$root"
  : >"$root/.qlx-debootstrap"
  rm -f "$cache/.image-ready" "$cache/.wine-ready"
fi

if [[ ! -e "$cache/.image-ready" ]]; then
  step "guest configuration, kernel and initramfs"
  cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
  echo qlx957-vm >"$root/etc/hostname"
  echo "127.0.0.1 localhost qlx957-vm" >"$root/etc/hosts"
  echo "/dev/vda / ext4 rw 0 1" >"$root/etc/fstab"
  # dpkg's fsyncs are slow under emulation, and a half-installed guest is redone anyway.
  echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"
  install -m 755 "$here/guest-boot.sh" "$root/sbin/qlx-vm-init"
  printf '%s\n' virtio_pci virtio_blk ext4 >"$root/etc/initramfs-tools/modules"
  mount -t proc proc "$root/proc"
  trap 'umount "$root/proc" 2>/dev/null || true' EXIT
  chroot "$root" update-initramfs -u -k all >"$cache/initramfs.log" 2>&1 ||
    { cat "$cache/initramfs.log" >&2; exit 1; }
  umount "$root/proc"
  trap - EXIT
  cp -L "$root/vmlinuz" "$cache/vmlinuz"
  cp -L "$root/initrd.img" "$cache/initrd.img"
  # The guest boots the copy above; remaking its own one takes minutes under emulation.
  sed -i 's/^update_initramfs=.*/update_initramfs=no/' "$root/etc/initramfs-tools/update-initramfs.conf"

  step "disk image $cache/root.img ($image_size, sparse)"
  rm -f "$cache/root.img" "$cache/.wine-ready"
  mkfs.ext4 -q -F -L qlx957-root -d "$root" "$cache/root.img" "$image_size"
  : >"$cache/.image-ready"
fi

if [[ ! -e "$cache/.wine-ready" ]]; then
  step "32-bit Wine and Xvfb in the guest (scripts/setup-wine.sh)"
  # The script and its helper only, in a folder of their own: it keeps its
  # probe and apt's log under build/ beside them.
  setup="$cache/setup"
  rm -rf "$setup" && mkdir -p "$setup/scripts"
  cp "$repo/scripts/setup-wine.sh" "$repo/scripts/install-packages.sh" "$setup/scripts/"
  if ! "$here/run.sh" --network --persist --timeout 7200 "$setup" -- \
       bash -c 'scripts/setup-wine.sh && wine --version && python3 --version && command -v Xvfb'; then
    echo "prepare.sh: setting up Wine in the guest failed (apt's log: $setup/build/apt.log)" >&2
    exit 1
  fi
  : >"$cache/.wine-ready"
fi
step "ready: tools/vm/run.sh WORKTREE -- COMMAND..."
