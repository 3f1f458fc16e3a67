#!/usr/bin/env bash
# Runs a command as root in the Debian 12 guest that tools/vm/prepare.sh made,
# under QEMU's software emulation (no KVM needed), so that 32-bit Wine runs on
# a host whose kernel refuses 32-bit programs.
#
# usage: tools/vm/run.sh [--timeout SECONDS] [--memory MiB] [--cpus N]
#                        [--local DIR] WORKTREE -- COMMAND...
# WORKTREE is shared with the guest at the same path and is the command's
# working folder. The command's output comes here as it is written; the exit
# status is the command's, or 124 when the timeout ended the guest, 125 when
# the guest failed to boot or stopped without the command's status.
# The guest's disk is thrown away after each run; only WORKTREE keeps changes.
# --local DIR (relative to WORKTREE): DIR is copied to the guest's own disk
# and back afterwards, replacing the shared one's content; files written
# there are three times faster (e.g. --local build/win32 for the Wine
# scenarios' prefixes).
# (--network and --persist are for prepare.sh: a network for apt, and the
# disk image changed in place.)
set -euo pipefail
cache="${QLX_VM_CACHE:-/var/cache/qlx957-vm}"
timeout=14400 boot_timeout=120 memory=8192 cpus=2 network=0 persist=0 local=

usage() {
  sed -n '/^# usage:/,/COMMAND/s/^# //p' "$0" >&2
  exit 2
}
while (($#)); do
  case "$1" in
    --timeout) timeout=$2; shift 2 ;;
    --boot-timeout) boot_timeout=$2; shift 2 ;;
    --memory) memory=$2; shift 2 ;;
    --cpus) cpus=$2; shift 2 ;;
    --local) local=$2; shift 2 ;;
    --network) network=1; shift ;;
    --persist) persist=1; shift ;;
    -h|--help) usage ;;
    -*) echo "run.sh: unknown option $1" >&2; usage ;;
    *) break ;;
  esac
done
(($# >= 3)) && [[ "$2" == -- ]] || usage
worktree="$(realpath -e "$1")"
shift 2

needed=(vmlinuz initrd.img root.img)
# prepare.sh itself runs the guest (--persist) before Wine is in it.
((persist)) || needed+=(.wine-ready)
for file in "${needed[@]}"; do
  if [[ ! -e "$cache/$file" ]]; then
    echo "run.sh: no guest in $cache (missing $file): run tools/vm/prepare.sh first" >&2
    exit 125
  fi
done

work="$(mktemp -d /tmp/qlx957-vm.XXXXXX)"
qemu_pid=
finish() {
  if [[ -n "$qemu_pid" ]] && kill -0 "$qemu_pid" 2>/dev/null; then
    kill "$qemu_pid" 2>/dev/null || true
    wait "$qemu_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

mkdir "$work/ctl"
cp "$(dirname "$0")/guest-init.sh" "$work/ctl/init.sh"
printf '%s\n' "$worktree" >"$work/ctl/path"
{ printf 'exec'; printf ' %q' "$@"; echo; } >"$work/ctl/job.sh"
((network)) && : >"$work/ctl/network"
[[ -z "$local" ]] || printf '%s\n' "$local" >"$work/ctl/local"
: >"$work/output"

disk="$cache/root.img" format=raw
if ((!persist)); then
  # A throwaway layer over the prepared image: runs never change it, and
  # several may run at once.
  qemu-img create -q -f qcow2 -b "$disk" -F raw "$work/layer.qcow2"
  disk="$work/layer.qcow2" format=qcow2
fi
nic=(-nic none)
((network)) && nic=(-nic user,model=virtio-net-pci)

# The kernel's console goes to a file (shown when the guest fails); the
# command's output to the virtio console, a file this script follows.
# SMAP off: QEMU 7.2's emulated iret back to 32-bit code faults with it on,
# which kills every 32-bit Wine process.
qemu-system-x86_64 \
  -machine q35 -accel tcg,thread=multi -cpu max,smap=off -smp "$cpus" -m "$memory" \
  -display none -monitor none -serial "file:$work/console.log" -no-reboot \
  -kernel "$cache/vmlinuz" -initrd "$cache/initrd.img" \
  -append "root=/dev/vda rw console=ttyS0 init=/sbin/qlx-vm-init panic=1 loglevel=4" \
  -drive "file=$disk,format=$format,if=virtio,cache=unsafe" \
  -virtfs "local,path=$work/ctl,mount_tag=ctl,security_model=none,id=ctl" \
  -virtfs "local,path=$worktree,mount_tag=wt,security_model=passthrough,id=wt" \
  -device virtio-serial-pci -chardev "file,id=out,path=$work/output" \
  -device virtconsole,chardev=out \
  "${nic[@]}" </dev/null >"$work/qemu.log" 2>&1 &
qemu_pid=$!
tail -n +1 -f --pid="$qemu_pid" "$work/output" &
tail_pid=$!

console_tail() {
  echo "--- the guest's console, last lines ($work/console.log):" >&2
  tail -n 25 "$work/console.log" >&2 || true
  if [[ -s "$work/qemu.log" ]]; then
    echo "--- QEMU said:" >&2
    cat "$work/qemu.log" >&2
  fi
}

started=$SECONDS
failure=
while kill -0 "$qemu_pid" 2>/dev/null; do
  if [[ ! -e "$work/ctl/booted" ]] && ((SECONDS - started > boot_timeout)); then
    failure="the guest did not boot within $boot_timeout s"
    break
  fi
  if ((SECONDS - started > timeout)); then
    failure="timed out after $timeout s: the guest was stopped"
    break
  fi
  sleep 1
done
if [[ -n "$failure" ]]; then
  kill "$qemu_pid" 2>/dev/null || true
fi
wait "$qemu_pid" 2>/dev/null || true
qemu_pid=
wait "$tail_pid" 2>/dev/null || true

if [[ -n "$failure" ]]; then
  echo "run.sh: $failure" >&2
  console_tail
  [[ -e "$work/ctl/booted" ]] && exit 124
  exit 125
fi
if [[ ! -s "$work/ctl/status" ]]; then
  if [[ -e "$work/ctl/booted" ]]; then
    echo "run.sh: the guest stopped without the command's exit status" >&2
  else
    echo "run.sh: the guest failed to boot" >&2
  fi
  console_tail
  exit 125
fi
echo "run.sh: the guest ran ${SECONDS}s" >&2
exit "$(cat "$work/ctl/status")"
