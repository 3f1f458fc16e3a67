#!/usr/bin/env bash
# The new user's check on a fresh Debian root (a developer tool, run as root on
# a Debian host whose kernel runs 32-bit programs): debootstrap RELEASE, bring a
# clone of COMMIT the README's way (a git bundle, git installed with apt), run
# both README commands in it, and print what each step took with its exit
# status, the screenshots and the tests' closing lines.
#
# usage: tools/freshroot/check.sh bookworm|trixie [REPO] [COMMIT]
#   REPO defaults to this repository, COMMIT to its HEAD.
#   The root is QLX_FRESHROOT_DIR (default /work/roots)/RELEASE, made anew;
#   its logs are in RELEASE-logs/ beside it. Exits non-zero when a command fails.
set -euo pipefail

release="${1:-}"
case "$release" in
  bookworm | trixie) ;;
  *) echo "usage: $0 bookworm|trixie [REPO] [COMMIT]" >&2; exit 2 ;;
esac
repo="$(cd "${2:-$(dirname "$0")/../..}" && pwd)"
commit="$(git -C "$repo" rev-parse --verify "${3:-HEAD}^{commit}")"
base="${QLX_FRESHROOT_DIR:-/work/roots}"
root="$base/$release"
logs="$base/$release-logs"
mirror="${QLX_FRESHROOT_MIRROR:-http://deb.debian.org/debian}"

for tool in debootstrap git; do
  command -v "$tool" >/dev/null || { echo "$tool is needed on this host (apt-get install $tool)" >&2; exit 2; }
done

unmount_root() {
  local point
  # Deepest first; lazily, so a process still holding one cannot keep it.
  for point in $(findmnt -rn -o TARGET | grep -F "$root/" | sort -r); do
    umount -l "$point" 2>/dev/null || true
  done
}
trap unmount_root EXIT

elapsed() { local s=$1; printf '%d min %02d s' $((s / 60)) $((s % 60)); }
declare -a summary=()
step() { # step LABEL COMMAND...: runs it with its output in $logs/LABEL.log
  local label=$1 status=0 began=$SECONDS
  shift
  echo "== $label (log: $logs/$label.log)"
  "$@" >"$logs/$label.log" 2>&1 || status=$?
  local line
  line="$(printf '%-12s %s, exit %d' "$label" "$(elapsed $((SECONDS - began)))" "$status")"
  echo "   $line"
  summary+=("$line")
  return "$status"
}

in_root() { # runs a shell command in the root as a fresh login of root would
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$1"
}

make_root() {
  unmount_root
  if [[ -e "$root" ]]; then
    if findmnt -rn -o TARGET | grep -qF "$root/"; then
      echo "something is still mounted under $root; not removing it" >&2
      return 1
    fi
    rm -rf --one-file-system "$root"
  fi
  debootstrap "$release" "$root" "$mirror"
}

mount_root() {
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount --make-rslave "$root/dev"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# What the README tells a user whose machine cannot reach the repository's
# host: a bundle made where the repository is, cloned with the root's own git.
bring_code() {
  local scratch
  scratch="$(mktemp -d)"
  git clone -q --no-checkout "$repo" "$scratch/repo"
  git -C "$scratch/repo" branch -q -f freshroot "$commit"
  git -C "$scratch/repo" bundle create "$root/root/QLX957_Installer.bundle" freshroot
  rm -rf "$scratch"
  in_root 'apt-get -o DPkg::Lock::Timeout=900 update -qq &&
           DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -qq git &&
           cd /root && git clone -b freshroot QLX957_Installer.bundle QLX957_Installer &&
           git -C QLX957_Installer log -1 --format="%h %s"'
}

mkdir -p "$base"
rm -rf "$logs"
mkdir -p "$logs"
echo "Fresh $release root at $root from $repo $commit"
status=0
step debootstrap make_root || exit 1
mount_root
step clone bring_code || exit 1
step main.sh in_root 'cd /root/QLX957_Installer && scripts/main.sh' || status=1
step run-tests.sh in_root 'cd /root/QLX957_Installer && scripts/run-tests.sh' || status=1

echo
echo "Fresh $release root, commit ${commit:0:12}:"
printf '  %s\n' "${summary[@]}"
shots="$root/root/QLX957_Installer/build/demo/screenshots"
echo "  screenshots: $(find "$shots" -name '*.png' 2>/dev/null | wc -l) in $shots"
echo "  Wine: $(in_root 'wine --version 2>/dev/null || echo none')," \
     "mingw-w64: $(in_root 'i686-w64-mingw32-g++-win32 -dumpfullversion 2>/dev/null || echo none')"
echo "  main.sh: $(grep -E '^(The installer exited|SKIPPED)' "$logs/main.sh.log" || echo 'no result line')"
echo "  run-tests.sh:"
sed -n '/^== summary$/,$p' "$logs/run-tests.sh.log" | sed 's/^/    /'
exit "$status"
