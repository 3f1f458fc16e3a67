#!/usr/bin/env bash
# The main job: build the installer and the demo driver package, then install
# the printer with it in a Wine prefix under build/demo/ (kept, so a second
# run adds the next numbered printer). Without DISPLAY it runs on Xvfb with the
# default answers and No to the restart and saves three screenshots; with
# DISPLAY you answer the dialogs. Exits with the installer's exit status.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-build-tools.sh
scripts/quietly.sh cmake --preset win32
cmake --build --preset win32
ls -l build/win32/QLX957_Installer.exe

route_status=0
route="$(scripts/setup-wine.sh)" || route_status=$?
echo "$route"
if ((route_status == 3)); then
  echo "SKIPPED: this machine cannot run 32-bit programs (${route##*programs (}: the printer was not installed"
  exit 0
elif ((route_status)); then
  exit "$route_status"
fi
exec /usr/bin/python3 tests/e2e/demo_install.py build/win32 build/demo/prefix build/demo/screenshots
