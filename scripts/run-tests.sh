#!/usr/bin/env bash
# Every test: the unit suite natively and under the sanitizers, then the
# Windows program's build checks. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-build-tools.sh

failed=0
run() {
  echo "== $*"
  "$@" || failed=1
}

for preset in native sanitize; do
  run cmake --preset "$preset" >/dev/null
  run cmake --build --preset "$preset"
  run ctest --preset "$preset" -j"$(nproc)"
done

run cmake --preset win32 >/dev/null
run cmake --build --preset win32
# The executable's header and imports, the demo package, the UI driver's core.
run ctest --test-dir build/win32 --output-on-failure
run /usr/bin/python3 tests/resources/check_resources.py build/win32/QLX957_Installer.exe

if ((failed)); then
  echo "Some tests failed."
  exit 1
fi
echo "All tests passed."
