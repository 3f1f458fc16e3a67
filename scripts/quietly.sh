#!/usr/bin/env bash
# Runs a command without its output, unless it fails: then the output is
# shown, with the command and its exit status. For the set-up and build steps
# whose chatter hides what matters.
# usage: scripts/quietly.sh COMMAND [ARGUMENT...]
set -uo pipefail
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
"$@" >"$output" 2>&1
status=$?
if ((status)); then
  cat "$output" >&2
  echo "FAILED (exit $status): $*" >&2
fi
exit "$status"
