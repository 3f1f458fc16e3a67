#!/usr/bin/env bash
# Every test: the unit suite natively and under the sanitizers, the Windows
# program's build checks, then the end-to-end scenarios under Wine (skipped,
# with one line saying so, where this machine cannot run 32-bit programs).
# Exits non-zero when any test fails.
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
run scripts/build-msi.sh
# The executable's header and imports, the demo package, the UI driver's core.
run ctest --test-dir build/win32 --output-on-failure
run /usr/bin/python3 tests/resources/check_resources.py build/win32/QLX957_Installer.exe

echo "== end-to-end under Wine"
route_status=0
route="$(scripts/setup-wine.sh)" || route_status=$?
echo "$route"
if ((route_status == 3)); then
  echo "SKIPPED: this machine cannot run 32-bit programs (${route##*programs (}:" \
       "$(/usr/bin/python3 tests/e2e/run_e2e.py --count) end-to-end scenarios not run"
elif ((route_status)); then
  failed=1
else
  # The upgrade row's newer package: the program built once more, one version up.
  run tests/msi/build_newer_package.sh
  run /usr/bin/python3 tests/e2e/run_e2e.py build/win32 --jobs 2
fi

if ((failed)); then
  echo "Some tests failed."
  exit 1
fi
echo "All tests passed."
