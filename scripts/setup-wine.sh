#!/usr/bin/env bash
# Decides how this machine runs the Windows program and installs what that
# needs (as root). The probe runs a 32-bit static busybox, fetched from
# Debian and unpacked under build/, never installed system-wide.
#
# Prints one line saying which route is taken, and exits
#   0  32-bit Wine is ready (wine, wine32:i386, Xvfb, ImageMagick)
#   3  this machine cannot run 32-bit programs; the reason is on the line
# QLX_FAKE_NO_IA32=1 makes the probe fail, to try the second route.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
probe_dir="$repo/build/probe"

apt_updated=0
apt_update() {
  ((apt_updated)) || { apt-get update -qq >/dev/null; apt_updated=1; }
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# The reason 32-bit programs cannot run here, or nothing when they can.
probe_failure() {
  if [[ "${QLX_FAKE_NO_IA32:-}" == 1 ]]; then
    echo "probe failure faked by QLX_FAKE_NO_IA32=1"
    return
  fi
  local busybox="$probe_dir/root/bin/busybox"
  if [[ ! -x "$busybox" ]]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    mkdir -p "$probe_dir"
    (cd "$probe_dir" && rm -f ./*.deb &&
      { apt-get download -qq busybox-static:i386 >/dev/null 2>&1 ||
        { apt_update && apt-get download -qq busybox-static:i386 >/dev/null 2>&1; }; } &&
      dpkg-deb -x busybox-static_*_i386.deb root) ||
      { echo "busybox-static:i386 could not be fetched"; return; }
  fi
  local out
  if ! out="$("$busybox" echo ia32-ok 2>&1)" || [[ "$out" != ia32-ok ]]; then
    echo "a 32-bit busybox fails: ${out##*: }"
  fi
}

reason="$(probe_failure)"
if [[ -n "$reason" ]]; then
  echo "Wine route: none, this machine cannot run 32-bit programs ($reason)"
  exit 3
fi

missing=()
for package in wine wine32:i386 wine64 xvfb imagemagick; do
  installed "$package" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt_updated=0
  apt_update
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
echo "Wine route: Debian's 32-bit Wine $(wine --version 2>/dev/null) with Xvfb (this kernel runs 32-bit programs)"
