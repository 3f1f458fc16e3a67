#!/usr/bin/env bash
# The main job: build everything and run the unit suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-build-tools.sh
cmake --preset native >/dev/null && cmake --build --preset native && ctest --preset native
cmake --preset win32 >/dev/null && cmake --build --preset win32
ls -l build/win32/QLX957_Installer.exe
