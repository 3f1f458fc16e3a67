#!/usr/bin/env bash
# Every test: the unit suite natively and under the sanitizers, the Windows
# program's build checks (one of which runs under Wine), the resource check,
# then the end-to-end scenarios under Wine. Wine is set up first; where this
# machine cannot run 32-bit programs, the tests that need it are skipped, each
# saying so. Ends with a summary counting the passed, failed and skipped tests
# and scenarios of each part. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
results=build/test-results
rm -rf "$results"
mkdir -p "$results"

scripts/setup-build-tools.sh

echo "== Wine"
route_status=0
route="$(scripts/setup-wine.sh)" || route_status=$?
echo "$route"
wine_ready=$((route_status == 0))

rows=()  # "part|passed|failed|skipped"
skips=() # what was skipped, and why
failed=0
row() {
  rows+=("$1|$2|$3|$4")
  if (($3)); then failed=1; fi
}
# count PART KIND REPORT: the counts of a report (scripts/count-results.py);
# one failure where there is none, as when the tests could not even start.
count() {
  local out passed failed_here skipped
  if out="$(/usr/bin/python3 scripts/count-results.py "$2" "$3")"; then
    read -r passed failed_here skipped <<<"${out%%$'\n'*}"
    row "$1" "$passed" "$failed_here" "$skipped"
    while IFS= read -r line; do
      skips+=("$1: $line")
    done < <(tail -n +2 <<<"$out")
  else
    row "$1 (no report)" 0 1 0
  fi
}
build() {
  echo "== build ($1)"
  scripts/quietly.sh cmake --preset "$1" && cmake --build --preset "$1"
}

if ((route_status != 0 && route_status != 3)); then
  row "Wine set-up" 0 1 0
fi

for preset in native sanitize; do
  if build "$preset"; then
    echo "== unit tests ($preset)"
    GTEST_OUTPUT="xml:$PWD/$results/unit-$preset.xml" ctest --preset "$preset" -j"$(nproc)" || true
    count "unit tests, $preset" gtest "$results/unit-$preset.xml"
  else
    row "build, $preset" 0 1 0
  fi
done

win32_built=0
if build win32; then
  win32_built=1
  echo "== Windows Installer package (scripts/build-msi.sh)"
  scripts/build-msi.sh || row "build, msi package" 0 1 0
  # Where Wine is ready, a test that finds it unusable fails instead of skipping.
  echo "== Windows program's checks (ctest --test-dir build/win32)"
  QLX_WINE_REQUIRED=$wine_ready ctest --test-dir build/win32 --output-on-failure \
    --output-junit "$PWD/$results/win32.xml" || true
  count "win32 build tests" junit "$results/win32.xml"
  echo "== resources (tests/resources/check_resources.py)"
  /usr/bin/python3 tests/resources/check_resources.py build/win32/QLX957_Installer.exe \
    | tee "$results/resources.log" || true
  count "resource check" log "$results/resources.log"
else
  row "build, win32" 0 1 0
fi

echo "== end-to-end under Wine"
scenarios="$(/usr/bin/python3 tests/e2e/run_e2e.py --count)" || scenarios=0
if ((route_status == 3)); then
  reason="this machine cannot run 32-bit programs (${route##*programs (}"
  echo "SKIPPED: $reason: $scenarios end-to-end scenarios not run"
  row "end-to-end scenarios" 0 0 "$scenarios"
  skips+=("end-to-end scenarios: all $scenarios: $reason")
elif ((!wine_ready || !win32_built)); then
  reason="$( ((wine_ready)) && echo "the Windows program did not build" || echo "Wine could not be set up")"
  echo "SKIPPED: $reason: $scenarios end-to-end scenarios not run"
  row "end-to-end scenarios" 0 0 "$scenarios"
  skips+=("end-to-end scenarios: all $scenarios: $reason")
else
  # The upgrade row's newer package: the program built once more, one version up.
  tests/msi/build_newer_package.sh || row "build, newer msi package" 0 1 0
  # Three at a time on two cores: an attended scenario spends most of its
  # time in the installer's paced pauses, not on a processor.
  /usr/bin/python3 tests/e2e/run_e2e.py build/win32 --jobs 3 | tee "$results/e2e.log" || true
  count "end-to-end scenarios" log "$results/e2e.log"
fi

echo
echo "== summary"
printf '%-30s %7s %7s %8s\n' part passed failed skipped
total_passed=0 total_failed=0 total_skipped=0
for entry in "${rows[@]}"; do
  IFS='|' read -r part passed failed_here skipped <<<"$entry"
  printf '%-30s %7d %7d %8d\n' "$part" "$passed" "$failed_here" "$skipped"
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed_here))
  total_skipped=$((total_skipped + skipped))
done
for skip in ${skips[@]+"${skips[@]}"}; do
  echo "skipped: $skip"
done
if ((failed)); then
  echo "Some tests failed."
else
  echo "All tests passed."
fi
echo "Total: $total_passed passed, $total_failed failed, $total_skipped skipped"
exit "$failed"
