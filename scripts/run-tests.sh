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
if [[ -f build/win32/QLX957_Installer.exe ]]; then
  for check in tests/win32/check_executable.py tests/resources/check_resources.py; do
    [[ -f $check ]] && run /usr/bin/python3 "$check" build/win32/QLX957_Installer.exe
  done
fi

if ((failed)); then
  echo "Some tests failed."
  exit 1
fi
echo "All tests passed."
