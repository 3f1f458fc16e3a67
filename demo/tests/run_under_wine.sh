#!/usr/bin/env bash
# run_under_wine.sh PREFIX_DIR PROGRAM.exe [UNIX_PATH_OR_ARGUMENT...]
# Runs a Win32 console program of the build in a 32-bit Wine prefix of its own
# and passes on its exit status; arguments that are existing paths are given
# to it as Windows paths (Z:\...). Exits 77 (skipped) when Wine cannot run
# 32-bit programs here, or 1 with QLX_WINE_REQUIRED=1 (the test command sets
# it where it has set Wine up). The program's output goes through a file,
# never a pipe: the prefix's service processes would keep a pipe open.
set -uo pipefail
prefix="$1"
program="$2"
shift 2

skip() {
  if [[ "${QLX_WINE_REQUIRED:-}" == 1 ]]; then
    echo "$1, though Wine was set up for the tests (QLX_WINE_REQUIRED=1): failed"
    exit 1
  fi
  echo "$1: skipped"
  exit 77
}

export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$prefix}" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
command -v wine >/dev/null || skip "wine is not installed"

work="$(mktemp -d)"
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
mkdir -p "$WINEPREFIX"
if ! timeout 300 wine cmd.exe /c echo wine-ready >"$work/ready" 2>&1 ||
   ! grep -q wine-ready "$work/ready"; then
  skip "Wine cannot run 32-bit programs here"
fi

arguments=()
for argument in "$@"; do
  if [[ -e "$argument" ]]; then
    absolute="$(cd "$(dirname "$argument")" && pwd)/$(basename "$argument")"
    arguments+=("Z:${absolute//\//\\}")
  else
    arguments+=("$argument")
  fi
done
timeout 300 wine "$program" "${arguments[@]}" >"$work/out" 2>&1
status=$?
cat "$work/out"
exit "$status"
