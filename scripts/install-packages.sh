#!/usr/bin/env bash
# Installs Debian packages (as root), saying first what and roughly how much:
# on a fresh machine the set-up pulls in some 600 packages and takes minutes.
# apt's errors and warnings are shown as they come; its progress goes to
# build/apt.log, whose end is shown when the installation fails. Waits for another apt or dpkg to finish.
# usage: scripts/install-packages.sh PURPOSE PACKAGE...
set -euo pipefail
purpose=$1
shift
repo="$(cd "$(dirname "$0")/.." && pwd)"
log="$repo/build/apt.log"
mkdir -p "$repo/build"
apt=(apt-get -o DPkg::Lock::Timeout=900)
export DEBIAN_FRONTEND=noninteractive

echo "Installing $purpose: $*"
echo "  updating the package lists"
# A list that fails to download (a mirror caught mid-sync) leaves apt the
# ones it had; whether the packages can still be installed is for the dry
# run below to say.
if ! "${apt[@]}" update -qq >"$log" 2>&1; then
  grep -E '^(E|W):' "$log" >&2 || cat "$log" >&2
  echo "  apt-get update reported the errors above; going on with the package lists apt has" >&2
fi

# apt's own estimate, from a dry run that answers no.
plan="$(LC_ALL=C "${apt[@]}" install --assume-no "$@" 2>&1 || true)"
count="$(sed -n 's/^.* \([0-9][0-9]*\) newly installed.*$/\1/p' <<<"$plan")"
# A suite whose list for one architecture is missing offers amd64 versions
# that its i386 packages cannot match (Multi-Arch: same needs both alike):
# then those suites are left out and the release's other lists decide.
failed_suites="$(sed -n 's|^E: Failed to fetch .*/dists/\([^/]*\)/.*$|\1|p' "$log" | sort -u)"
if [[ -z "$count" && -n "$failed_suites" ]]; then
  pins="$repo/build/apt-pins"
  : >"$pins"
  for suite in $failed_suites; do
    printf 'Package: *\nPin: release n=%s\nPin-Priority: -1\n\n' "$suite" >>"$pins"
  done
  apt+=(-o "Dir::Etc::Preferences=$pins")
  echo "  without the suites whose lists failed ($(tr '\n' ' ' <<<"$failed_suites"| sed 's/ $//'))" >&2
  plan="$(LC_ALL=C "${apt[@]}" install --assume-no "$@" 2>&1 || true)"
  count="$(sed -n 's/^.* \([0-9][0-9]*\) newly installed.*$/\1/p' <<<"$plan")"
fi
download="$(sed -n 's/^Need to get \(.*\) of archives.*$/\1/p' <<<"$plan")"
disk="$(sed -n 's/^After this operation, \(.*\) of additional.*$/\1/p' <<<"$plan")"
if [[ -z "$count" ]]; then
  grep -E '^(E|W):' <<<"$plan" >&2 || true
  echo "apt cannot install these packages (see above)" >&2
  exit 1
fi
echo "  $count packages with their dependencies, ${download:-nothing} to download," \
     "${disk:-no more} disk space; progress in $log"

started=$SECONDS
if ! "${apt[@]}" install -y -q "$@" >>"$log" \
     2> >(tee -a "$log" | grep --line-buffered -E '^(E|W):|[Ee]rror' >&2); then
  tail -n 40 "$log" >&2
  echo "Installing $purpose failed (the end of $log is above)" >&2
  exit 1
fi
echo "  installed in $((SECONDS - started)) s"
