#!/usr/bin/env bash
# Timings of the installer under Wine (not a test): start to first dialog
# against a bare program, the installations against their fixed pauses, the
# /quiet installation, the executable's size. Prints a Markdown table for the
# README. Usage: scripts/bench.sh [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-build-tools.sh
scripts/quietly.sh cmake --preset win32
scripts/quietly.sh cmake --build --preset win32
route="$(scripts/setup-wine.sh)" || { echo "$route"; exit 1; }
echo "$route" >&2
exec /usr/bin/python3 tests/e2e/bench.py build/win32 "$@"
