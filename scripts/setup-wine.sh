#!/usr/bin/env bash
# Decides how this machine runs the Windows program and installs what that
# needs (as root). The probe runs a 32-bit static busybox, fetched from
# Debian and unpacked under build/, never installed system-wide.
#
# Prints one line saying which route is taken, and exits
#   0  32-bit Wine is ready (wine, wine32:i386, Xvfb, ImageMagick; wine64 beside
#      it for the 64-bit prefix of the rows that refuse 64-bit Windows)
#   3  this machine cannot run 32-bit programs; the reason is on the line
# QLX_FAKE_NO_IA32=1 makes the probe fail, to try the second route.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
probe_dir="$repo/build/probe"

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

add_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
}

# busybox-static:i386 puts it in bin/ on Debian 12 and in usr/bin/ on 13.
BUSYBOX_PLACES=(usr/bin/busybox bin/busybox)

unpacked_busybox() {
  local place
  for place in "${BUSYBOX_PLACES[@]}"; do
    [[ -x "$probe_dir/root/$place" ]] && { echo "$probe_dir/root/$place"; return; }
  done
  return 1
}

# Fetches busybox-static:i386 with apt's own download (no installation);
# apt's messages are kept for the failure line.
fetch_busybox() {
  add_i386
  mkdir -p "$probe_dir"
  (cd "$probe_dir" && rm -rf ./*.deb root &&
    { apt-get -o DPkg::Lock::Timeout=900 download -qq busybox-static:i386 ||
      { # One list that fails (a mirror in sync) need not be the one busybox is in.
        apt-get -o DPkg::Lock::Timeout=900 update -qq || true
        apt-get -o DPkg::Lock::Timeout=900 download -qq busybox-static:i386; }; } &&
    dpkg-deb -x busybox-static_*_i386.deb root) >"$probe_dir/fetch.log" 2>&1
}

# The reason 32-bit programs cannot run here, or nothing when they can.
probe_failure() {
  if [[ "${QLX_FAKE_NO_IA32:-}" == 1 ]]; then
    echo "probe failure faked by QLX_FAKE_NO_IA32=1"
    return
  fi
  local busybox
  if ! busybox="$(unpacked_busybox)"; then
    if ! fetch_busybox; then
      echo "busybox-static:i386 could not be fetched: $(grep -E '^(E|W):' "$probe_dir/fetch.log" |
        tail -n 1 || true)"
      return
    fi
    if ! busybox="$(unpacked_busybox)"; then
      echo "no busybox in the unpacked busybox-static:i386, looked for" \
           "${BUSYBOX_PLACES[*]} under $probe_dir/root"
      return
    fi
  fi
  local out
  if ! out="$("$busybox" echo ia32-ok 2>&1)" || [[ "$out" != ia32-ok ]]; then
    echo "the 32-bit ${busybox#"$repo/"} fails: ${out##*: }"
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
  add_i386
  # Progress to stderr: the callers read the route from stdout.
  "$repo/scripts/install-packages.sh" "32-bit Wine and Xvfb" "${missing[@]}" >&2
fi
echo "Wine route: Debian's 32-bit Wine $(wine --version 2>/dev/null) with Xvfb (this kernel runs 32-bit programs)"
